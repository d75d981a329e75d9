// SPDX-License-Identifier: MIT
// The Win32 dialog's wiring, under wine: the control table becomes real
// controls at their places, clicks reach the presenter and its calls the
// controls. The rules themselves are the presenter's tests.
#include "frontends/win32/SettingsDialog.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "frontends/win32/WideText.h"
#include "platform/core/Twips.h"
#include "support/MemoryStore.h"

namespace kuvell {
namespace {

using testsupport::MemoryStore;

constexpr std::wstring_view kTestRunKey = L"Software\\kuvell-tests\\run";
constexpr wchar_t kProgram[] = L"C:\\Program Files\\Kuvell\\kuvell.exe";

struct FakeMain : MainWindowControl
{
    void setOpacity(int16_t alpha) override { calls.push_back("opacity " + std::to_string(alpha)); }
    void setGraphBackground(int32_t) override { calls.push_back("background"); }
    void nudgeSize() override { calls.push_back("nudge"); }
    void setTopMost(bool onTop) override { calls.push_back(onTop ? "on top" : "not on top"); }
    void showMessage(std::string_view text) override { calls.push_back(std::string(text)); }
    std::vector<std::string> calls;
};

std::wstring textOf(HWND window)
{
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return text;
}

// Lets the dialog's own messages (its timer, its painting) run for a while.
template <typename Done>
bool pumpUntil(Done done)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!done() && std::chrono::steady_clock::now() < deadline) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(1);
    }
    return done();
}

std::optional<std::wstring> runValue()
{
    wchar_t data[512] = {};
    DWORD size = sizeof(data);
    if (RegGetValueW(HKEY_CURRENT_USER, std::wstring(kTestRunKey).c_str(), L"Kuvell", RRF_RT_REG_SZ,
                     nullptr, data, &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return data;
}

class Win32Dialog : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        static_cast<void>(deleteRunValue(RegistryRoot::CurrentUser, kTestRunKey, L"Kuvell"));
    }

    // The command a control sends its parent, as a user's pick does.
    void notify(std::string_view name, int code)
    {
        HWND control = dialog.control(name);
        SendMessageW(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code),
                     reinterpret_cast<LPARAM>(control));
    }

    ProgramVariables vars;
    MemoryStore store;
    FakeMain main;
    SettingsDialog dialog{
        vars, store, main, nullptr, {std::wstring(kTestRunKey), L"Kuvell", kProgram}};
};

TEST_F(Win32Dialog, EveryControlOfTheTableSitsAtItsPlaceWithItsCaption)
{
    store.texts[{"options", "visibility"}] = "12";  // no level of the list
    ASSERT_TRUE(dialog.open());
    EXPECT_EQ(textOf(dialog.window()), L"设置");
    RECT client{};
    GetClientRect(dialog.window(), &client);
    EXPECT_EQ(client.right, twipsToPixels(kDialogClientTwips.width));
    EXPECT_EQ(client.bottom, twipsToPixels(kDialogClientTwips.height));
    for (const DialogControl& control : dialogControls()) {
        HWND window = dialog.control(control.name);
        ASSERT_NE(window, nullptr) << control.name;
        RECT at{};
        GetWindowRect(window, &at);
        MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&at), 2);
        EXPECT_EQ(at.left, twipsToPixels(control.rect.left)) << control.name;
        EXPECT_EQ(at.top, twipsToPixels(control.rect.top)) << control.name;
        EXPECT_EQ(at.right - at.left, twipsToPixels(control.rect.width)) << control.name;
        if (control.kind == ControlKind::Button || control.kind == ControlKind::CheckBox ||
            control.kind == ControlKind::Frame ||
            (control.kind == ControlKind::Label && !control.caption.empty())) {
            EXPECT_EQ(textOf(window), wideText(control.caption)) << control.name;
        }
    }
    const std::wstring help = textOf(dialog.control("Text2"));
    EXPECT_EQ(help.find(L"\n"), help.find(L"\r\n") + 1);  // lines end as edit boxes break them
    EXPECT_TRUE(GetWindowLongPtrW(dialog.control("Text1"), GWL_STYLE) & ES_NUMBER);
    HWND transparency = dialog.control("Combo1");
    EXPECT_EQ(SendMessageW(transparency, CB_GETCOUNT, 0, 0), 10);
    EXPECT_EQ(SendMessageW(transparency, CB_GETCURSEL, 0, 0), CB_ERR);
    EXPECT_EQ(textOf(transparency), L"Transparency");
    EXPECT_TRUE(IsWindowVisible(dialog.control("Picture1")));
    EXPECT_FALSE(IsWindowVisible(dialog.control("Picture2")));
}

TEST_F(Win32Dialog, ClicksReachThePresenterAndItsCallsReachTheControls)
{
    vars.downloadTotal = 3 * 1024 * 1024;
    vars.connectionSpeed = 56000;
    ASSERT_TRUE(dialog.open());
    EXPECT_EQ(textOf(dialog.control("Label5")), L"3 Megabytes");
    EXPECT_EQ(textOf(dialog.control("Text1")), L"56000");

    SendMessageW(dialog.control("Command2_1"), BM_CLICK, 0, 0);
    EXPECT_TRUE(IsWindowVisible(dialog.control("Picture2")));
    EXPECT_FALSE(IsWindowVisible(dialog.control("Picture1")));

    SendMessageW(dialog.control("Combo1"), CB_SETCURSEL, 4, 0);
    notify("Combo1", CBN_SELCHANGE);
    EXPECT_EQ(main.calls.back(), "opacity 128");
    EXPECT_EQ(store.at("options", "visibility"), "4");

    // Start at login: the per-user Run value, quoted; the box follows what happened.
    SendMessageW(dialog.control("Check2"), BM_CLICK, 0, 0);
    EXPECT_EQ(runValue(), std::wstring(L"\"") + kProgram + L"\"");
    SendMessageW(dialog.control("Check2"), BM_CLICK, 0, 0);
    EXPECT_EQ(runValue(), std::nullopt);
    EXPECT_EQ(SendMessageW(dialog.control("Check2"), BM_GETCHECK, 0, 0), BST_UNCHECKED);

    // OK refuses an empty speed and stays open; with a speed it stores and closes.
    SetWindowTextW(dialog.control("Text1"), L"");
    SendMessageW(dialog.control("Command1"), BM_CLICK, 0, 0);
    ASSERT_NE(dialog.window(), nullptr);
    SetWindowTextW(dialog.control("Text1"), L"1000");
    SendMessageW(dialog.control("Command1"), BM_CLICK, 0, 0);
    EXPECT_EQ(dialog.window(), nullptr);
    EXPECT_EQ(store.at("setting", "connectionspeed"), "1000");
}

TEST_F(Win32Dialog, TheSweepRevealsTheBannerWhileMessagesFlowAndTheModalLoopEnds)
{
    ASSERT_TRUE(dialog.open());
    const COLORREF white = RGB(255, 255, 255);
    EXPECT_EQ(dialog.bannerPixel(0, 0), white);
    SendMessageW(dialog.control("Command2_2"), BM_CLICK, 0, 0);
    ASSERT_TRUE(pumpUntil([&] { return dialog.bannerPixel(0, 0) != white; }));
    EXPECT_EQ(dialog.bannerPixel(0, 0), RGB(16, 36, 60));  // the whole picture at the end
    EXPECT_EQ(dialog.bannerPixel(kBannerDrawableWidth, 0), white);

    HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    SettingsDialog modal(vars, store, main, owner,
                         {std::wstring(kTestRunKey), L"Kuvell", kProgram});
    ASSERT_TRUE(modal.open());
    PostMessageW(modal.window(), WM_CLOSE, 0, 0);
    modal.runModal();
    EXPECT_EQ(modal.window(), nullptr);
    EXPECT_TRUE(IsWindowEnabled(owner));
    DestroyWindow(owner);
}

}  // namespace
}  // namespace kuvell

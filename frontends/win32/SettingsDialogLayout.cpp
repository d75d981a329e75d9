// SPDX-License-Identifier: MIT
// The dialog's window and its controls, built from the control table.
// Positions stay in twips, as the layout was drawn; they become pixels only here.
#include <string>

#include "frontends/win32/BannerCanvas.h"
#include "frontends/win32/SettingsDialog.h"
#include "frontends/win32/SettingsDialogWindows.h"
#include "frontends/win32/WideText.h"
#include "settings/core/DialogControls.h"

namespace kuvell {

namespace {

// The sweep reveals two columns of the banner each time the timer fires: about
// two seconds for the whole picture, while the dialog goes on answering.
constexpr int kSweepStepsPerTimer = 2 * kBannerDrawableHeight;
constexpr int kComboListHeight = 200;  // the open list below the box, in pixels at 96 dpi

SettingsDialog* dialogOf(HWND window)
{
    return reinterpret_cast<SettingsDialog*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

struct ControlClass
{
    const wchar_t* className;
    DWORD style;
    DWORD extendedStyle;
};

ControlClass classOf(ControlKind kind)
{
    constexpr DWORD tab = WS_TABSTOP;
    switch (kind) {
        case ControlKind::Button:
            return {L"BUTTON", BS_PUSHBUTTON | tab, 0};
        case ControlKind::Page:
        case ControlKind::Frame:
            return {kContainerClass, WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT};
        case ControlKind::TextBox:
            return {L"EDIT", ES_AUTOHSCROLL | tab, WS_EX_CLIENTEDGE};
        case ControlKind::Label:
            // Captions and stored texts are shown as written: no "&" shortcuts.
            return {L"STATIC", SS_LEFT | SS_NOPREFIX, 0};
        case ControlKind::CheckBox:
            return {L"BUTTON", BS_AUTOCHECKBOX | tab, 0};
        case ControlKind::ComboBox:
            return {L"COMBOBOX", CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | tab, 0};
        case ControlKind::ColourSwatch:
            return {L"STATIC", SS_NOTIFY, WS_EX_CLIENTEDGE};
        case ControlKind::Banner:
            return {kBannerClass, 0, WS_EX_CLIENTEDGE};
        case ControlKind::HelpText:
            break;
    }
    return {L"EDIT", ES_MULTILINE | ES_READONLY | WS_VSCROLL | tab, WS_EX_CLIENTEDGE};
}

// Multi-line edit boxes break lines at "\r\n" only.
std::wstring withWindowsLineEnds(std::wstring_view text)
{
    std::wstring result;
    for (const wchar_t c : text) {
        if (c == L'\n') result += L'\r';
        result += c;
    }
    return result;
}

}  // namespace

bool SettingsDialogWindows::registerClasses()
{
    static const bool registered = [] {
        const HINSTANCE instance = GetModuleHandleW(nullptr);
        WNDCLASSEXW dialog{};
        dialog.cbSize = sizeof(dialog);
        dialog.lpfnWndProc = dialogProc;
        dialog.hInstance = instance;
        dialog.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        dialog.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        dialog.lpszClassName = kDialogClass;
        WNDCLASSEXW container = dialog;
        container.lpfnWndProc = containerProc;
        container.lpszClassName = kContainerClass;
        return RegisterClassExW(&dialog) != 0 && RegisterClassExW(&container) != 0 &&
               BannerCanvas::registerClass();
    }();
    return registered;
}

bool SettingsDialog::buildWindow()
{
    if (!SettingsDialogWindows::registerClasses()) {
        return false;
    }
    if (owner_ != nullptr) {
        dpi_ = std::max(GetDpiForWindow(owner_), 96u);
    }
    constexpr DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    constexpr DWORD extendedStyle = WS_EX_TOOLWINDOW | WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
    RECT outer{0, 0, px(kDialogClientTwips.width), px(kDialogClientTwips.height)};
    AdjustWindowRectExForDpi(&outer, style, FALSE, extendedStyle, dpi_);
    window_ = CreateWindowExW(extendedStyle, kDialogClass, wideText(kDialogCaption).c_str(), style,
                              CW_USEDEFAULT, CW_USEDEFAULT, outer.right - outer.left,
                              outer.bottom - outer.top, owner_, nullptr, GetModuleHandleW(nullptr),
                              nullptr);
    if (window_ == nullptr) {
        return false;
    }
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    // Tahoma 8.25 pt; Windows substitutes where it is missing.
    font_ = CreateFontW(-MulDiv(825, static_cast<int>(dpi_), 7200), 0, 0, 0, FW_NORMAL, FALSE,
                        FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                        DEFAULT_QUALITY, DEFAULT_PITCH, L"Tahoma");
    SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    buildControls();
    return true;
}

void SettingsDialog::buildControls()
{
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    for (const DialogControl& control : dialogControls()) {
        HWND parent = control.container.empty() ? window_ : this->control(control.container);
        const ControlClass kind = classOf(control.kind);
        const std::wstring caption = control.kind == ControlKind::HelpText
                                         ? withWindowsLineEnds(wideText(control.caption))
                                         : wideText(control.caption);
        const int id = kFirstControlId + static_cast<int>(names_.size());
        const bool shown = control.kind != ControlKind::Page || control.name == kPageNames[0];
        int height = px(control.rect.height);
        if (control.kind == ControlKind::ComboBox) height += px(kComboListHeight * kTwipsPerPixel);
        HWND created =
            CreateWindowExW(kind.extendedStyle, kind.className, caption.c_str(),
                            WS_CHILD | (shown ? WS_VISIBLE : 0) | kind.style, px(control.rect.left),
                            px(control.rect.top), px(control.rect.width), height, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
        SendMessageW(created, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
        if (control.kind == ControlKind::Frame) {
            // The frame's border and caption, under the controls it holds.
            HWND border =
                CreateWindowExW(0, L"BUTTON", caption.c_str(), WS_CHILD | WS_VISIBLE | BS_GROUPBOX,
                                0, 0, px(control.rect.width), px(control.rect.height), created,
                                nullptr, instance, nullptr);
            SendMessageW(border, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
            SetWindowPos(border, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
        if (control.borderColour && control.kind == ControlKind::Page) {
            SetWindowLongPtrW(created, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(GetSysColorBrush(COLOR_ACTIVEBORDER)));
        }
        names_.emplace_back(control.name);
        controls_.emplace(std::string(control.name), created);
    }
    banner_->attach(control("Picture8"));
    HWND transparency = control("Combo1");
    for (const std::string_view item : kTransparencyItems) {
        SendMessageW(transparency, CB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(wideText(item).c_str()));
    }
    SendMessageW(transparency, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    SetWindowTextW(transparency, wideText(kTransparencyPrompt).c_str());
}

LRESULT SettingsDialog::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
        case WM_COMMAND: {
            const auto index = static_cast<std::size_t>(LOWORD(wParam) - kFirstControlId);
            if (LOWORD(wParam) >= kFirstControlId && index < names_.size()) {
                command(names_[index], HIWORD(wParam));
            }
            return 0;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORBTN:
            if (const LRESULT brush =
                    colourFor(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam))) {
                return brush;
            }
            break;
        case WM_TIMER:
            if (wParam == kSweepTimer) {
                for (int step = 0; step < kSweepStepsPerTimer; ++step) {
                    if (window_ == nullptr || !presenter_.sweepStep()) {
                        if (window_ != nullptr) KillTimer(window_, kSweepTimer);
                        break;
                    }
                }
                return 0;
            }
            break;
        case WM_CLOSE:
            close();
            return 0;
        default:
            break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT CALLBACK SettingsDialogWindows::dialogProc(HWND window, UINT message, WPARAM wParam,
                                                   LPARAM lParam)
{
    SettingsDialog* dialog = dialogOf(window);
    if (dialog == nullptr || dialog->window_ != window) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return dialog->handle(message, wParam, lParam);
}

LRESULT CALLBACK SettingsDialogWindows::containerProc(HWND window, UINT message, WPARAM wParam,
                                                      LPARAM lParam)
{
    switch (message) {
        case WM_COMMAND:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORBTN:
            // A control tells its parent; the dialog decides.
            return SendMessageW(GetAncestor(window, GA_ROOT), message, wParam, lParam);
        case WM_ERASEBKGND: {
            auto brush = reinterpret_cast<HBRUSH>(GetWindowLongPtrW(window, GWLP_USERDATA));
            RECT area{};
            GetClientRect(window, &area);
            FillRect(reinterpret_cast<HDC>(wParam), &area,
                     brush != nullptr ? brush : GetSysColorBrush(COLOR_BTNFACE));
            return 1;
        }
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace kuvell

// SPDX-License-Identifier: MIT
#include "frontends/win32/SettingsDialog.h"

#include <commdlg.h>

#include <cmath>
#include <utility>

#include "frontends/win32/BannerCanvas.h"
#include "frontends/win32/SettingsDialogWindows.h"
#include "frontends/win32/WideText.h"
#include "platform/core/Twips.h"
#include "settings/core/BannerBackdrop.h"

namespace kuvell {

namespace {

std::wstring windowText(HWND window)
{
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

void setText(HWND window, std::string_view utf8) { SetWindowTextW(window, wideText(utf8).c_str()); }

bool ticked(HWND box) { return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void setTicked(HWND box, bool on)
{
    SendMessageW(box, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

}  // namespace

SettingsDialog::SettingsDialog(ProgramVariables& vars, KeyValueStore& store,
                               MainWindowControl& mainWindow, HWND owner,
                               RunValueTarget startAtLogin)
    : owner_(owner),
      runValue_(std::move(startAtLogin)),
      banner_(std::make_unique<BannerCanvas>()),
      presenter_(vars, store, mainWindow, *this, *this)
{
}

SettingsDialog::~SettingsDialog()
{
    if (window_ != nullptr) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
    for (HBRUSH brush : swatchBrushes_) {
        if (brush != nullptr) DeleteObject(brush);
    }
    if (font_ != nullptr) DeleteObject(font_);
}

int SettingsDialog::px(int32_t twips) const { return twipsToPixels(twips, static_cast<int>(dpi_)); }

HWND SettingsDialog::control(std::string_view name) const
{
    const auto found = controls_.find(name);
    return found == controls_.end() ? nullptr : found->second;
}

COLORREF SettingsDialog::bannerPixel(int x, int y) const { return banner_->shownPixel(x, y); }

bool SettingsDialog::open()
{
    if (!buildWindow()) {
        return false;
    }
    presenter_.load();
    if (window_ == nullptr) {  // closed while loading
        return false;
    }
    ShowWindow(window_, SW_SHOW);
    return true;
}

void SettingsDialog::runModal()
{
    if (window_ == nullptr) {
        return;
    }
    EnableWindow(owner_, FALSE);
    MSG message;
    while (window_ != nullptr) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got <= 0) {
            // The program is ending: the main loop must still see it.
            if (got == 0) PostQuitMessage(static_cast<int>(message.wParam));
            close();
            break;
        }
        if (!IsDialogMessageW(window_, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    EnableWindow(owner_, TRUE);
}

void SettingsDialog::close()
{
    if (window_ == nullptr) {
        return;
    }
    KillTimer(window_, kSweepTimer);
    // Enabled before the dialog goes, so the main window, not another
    // program's, becomes the active one.
    EnableWindow(owner_, TRUE);
    HWND closing = std::exchange(window_, nullptr);
    SetWindowLongPtrW(closing, GWLP_USERDATA, 0);
    DestroyWindow(closing);
}

void SettingsDialog::command(std::string_view name, int code)
{
    for (std::size_t index = 0; index < kPageButtonNames.size(); ++index) {
        if (name == kPageButtonNames[index]) presenter_.pageChosen(static_cast<int>(index));
    }
    for (std::size_t index = 0; index < kSwatchNames.size(); ++index) {
        if (name == kSwatchNames[index] && code == STN_CLICKED) {
            presenter_.swatchClicked(static_cast<Swatch>(index));
        }
    }
    if (name == "Command1") {
        presenter_.okClicked();
    } else if (name == "Command3") {
        presenter_.megabytesClicked();
    } else if (name == "Check2" && code == BN_CLICKED) {
        presenter_.startAtLoginClicked();
    } else if (name == "Combo1" && code == CBN_SELCHANGE) {
        presenter_.transparencyChosen(true);
    } else if (name == "Text1" && code == EN_CHANGE && !settingSpeed_) {
        presenter_.speedEdited();
    }
}

LRESULT SettingsDialog::colourFor(HWND control, HDC dc)
{
    for (std::size_t index = 0; index < kSwatchNames.size(); ++index) {
        if (control == this->control(kSwatchNames[index]) && swatchBrushes_[index] != nullptr) {
            return reinterpret_cast<LRESULT>(swatchBrushes_[index]);
        }
    }
    if (control == this->control("Text1") && speedInvalid_) {
        SetTextColor(dc, RGB(0xC0, 0, 0));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
    }
    if (control == this->control("Check1") || control == this->control("Check2")) {
        SetBkColor(dc, GetSysColor(COLOR_ACTIVEBORDER));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_ACTIVEBORDER));
    }
    return 0;  // Windows' own colours
}

void SettingsDialog::setGraphOnlyTicked(bool on) { setTicked(control("Check3"), on); }
bool SettingsDialog::graphOnlyTicked() const { return ticked(control("Check3")); }
void SettingsDialog::setOnTopTicked(bool on) { setTicked(control("Check1"), on); }
bool SettingsDialog::onTopTicked() const { return ticked(control("Check1")); }
void SettingsDialog::setStartAtLoginTicked(bool on) { setTicked(control("Check2"), on); }
bool SettingsDialog::startAtLoginTicked() const { return ticked(control("Check2")); }

void SettingsDialog::selectTransparency(int index)
{
    SendMessageW(control("Combo1"), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int SettingsDialog::selectedTransparency() const
{
    return static_cast<int>(SendMessageW(control("Combo1"), CB_GETCURSEL, 0, 0));
}

void SettingsDialog::setInstallDateText(std::string_view text) { setText(control("Label9"), text); }

void SettingsDialog::setTotalsTexts(std::string_view download, std::string_view upload)
{
    setText(control("Label5"), download);
    setText(control("Label6"), upload);
}

void SettingsDialog::setSwatchColour(Swatch swatch, int32_t bgr)
{
    HBRUSH& brush = swatchBrushes_[static_cast<std::size_t>(swatch)];
    if (brush != nullptr) DeleteObject(brush);
    // A stored colour is a COLORREF already; its high byte carries nothing.
    brush = CreateSolidBrush(static_cast<COLORREF>(bgr) & 0x00FFFFFFu);
    InvalidateRect(control(kSwatchNames[static_cast<std::size_t>(swatch)]), nullptr, TRUE);
}

void SettingsDialog::setSpeedText(std::string_view text)
{
    settingSpeed_ = true;
    setText(control("Text1"), text);
    settingSpeed_ = false;
}

std::string SettingsDialog::speedText() const { return utf8Text(windowText(control("Text1"))); }

void SettingsDialog::setMegabytesText(std::string_view text) { setText(control("Text3"), text); }

void SettingsDialog::markSpeedInvalid(bool invalid)
{
    speedInvalid_ = invalid;
    HWND box = control("Text1");
    InvalidateRect(box, nullptr, TRUE);
    if (invalid) {
        SetFocus(box);
        SendMessageW(box, EM_SETSEL, 0, -1);
    }
}

void SettingsDialog::restrictSpeedToDigits()
{
    HWND box = control("Text1");
    SetWindowLongPtrW(box, GWL_STYLE, GetWindowLongPtrW(box, GWL_STYLE) | ES_NUMBER);
}

std::string SettingsDialog::decimalSeparator() const
{
    wchar_t separator[8] = {};
    if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8) <= 0) {
        return ".";
    }
    return utf8Text(separator);
}

// Centred on the monitor the main window is on, in the topmost band.
void SettingsDialog::placeCentredOnTop()
{
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    RECT outer{};
    if (!GetMonitorInfoW(MonitorFromWindow(owner_, MONITOR_DEFAULTTOPRIMARY), &monitor) ||
        !GetWindowRect(window_, &outer)) {
        return;
    }
    const RECT& screen = monitor.rcMonitor;
    const long width = outer.right - outer.left;
    const long height = outer.bottom - outer.top;
    SetWindowPos(window_, HWND_TOPMOST, screen.left + (screen.right - screen.left - width) / 2,
                 screen.top + (screen.bottom - screen.top - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOACTIVATE);
}

void SettingsDialog::showPage(int index)
{
    for (std::size_t page = 0; page < kPageNames.size(); ++page) {
        ShowWindow(control(kPageNames[page]), static_cast<int>(page) == index ? SW_SHOW : SW_HIDE);
    }
}

void SettingsDialog::startSweep() { SetTimer(window_, kSweepTimer, USER_TIMER_MINIMUM, nullptr); }

bool SettingsDialog::isShown() const { return window_ != nullptr && IsWindowVisible(window_); }

void SettingsDialog::drawBannerRowFrom(int x, int y) { banner_->revealRowFrom(x, y); }

void SettingsDialog::showWholeBanner() { banner_->revealAll(); }

std::optional<int32_t> SettingsDialog::chooseColour(int32_t current)
{
    CHOOSECOLORW choice{};
    choice.lStructSize = sizeof(choice);
    choice.hwndOwner = window_;
    choice.rgbResult = static_cast<COLORREF>(current) & 0x00FFFFFFu;
    choice.lpCustColors = customColours_.data();
    choice.Flags = CC_RGBINIT | CC_FULLOPEN;
    const HWND before = window_;
    if (!ChooseColorW(&choice) || window_ != before || window_ == nullptr) {
        return std::nullopt;
    }
    return static_cast<int32_t>(choice.rgbResult);
}

Result SettingsDialog::enable()
{
    std::wstring path =
        runValue_.executablePath.empty() ? executablePath() : runValue_.executablePath;
    if (path.empty()) {
        return Result::failure("Windows did not tell where Kuvell's program file is");
    }
    // Quoted, so a path with spaces cannot name another program.
    return writeRunValue(RegistryRoot::CurrentUser, runValue_.subKey, runValue_.valueName,
                         L"\"" + path + L"\"");
}

Result SettingsDialog::disable()
{
    return deleteRunValue(RegistryRoot::CurrentUser, runValue_.subKey, runValue_.valueName);
}

}  // namespace kuvell

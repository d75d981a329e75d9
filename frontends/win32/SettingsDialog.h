// SPDX-License-Identifier: MIT
#pragma once
// The settings dialog "设置" on Win32: the core's control table as real
// controls, each forwarding to the dialog's presenter. Modal over the main
// window, whose timer keeps ticking while it is open.
#include <windows.h>

#include <array>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/RunValue.h"
#include "settings/core/DialogControls.h"
#include "settings/core/SettingsDialogPresenter.h"

namespace kuvell {

// Where start at login is written: the per-user Run key, and what it starts.
struct RunValueTarget
{
    std::wstring subKey{kRunSubKey};
    std::wstring valueName{kRunValueName};
    std::wstring executablePath;  // empty: the running executable, at each click
};

class BannerCanvas;

class SettingsDialog : private SettingsDialogView, private StartAtLogin
{
  public:
    SettingsDialog(ProgramVariables& vars, KeyValueStore& store, MainWindowControl& mainWindow,
                   HWND owner, RunValueTarget startAtLogin);
    ~SettingsDialog() override;
    SettingsDialog(const SettingsDialog&) = delete;
    SettingsDialog& operator=(const SettingsDialog&) = delete;

    // Builds the controls, loads the values and shows the dialog; false when
    // Windows made no window.
    bool open();
    // Until the dialog closes: the owner is disabled meanwhile, and every other
    // window's messages (the main window's ticks) go on.
    void runModal();

    HWND window() const { return window_; }
    // A control by its name in the control table; null when there is none.
    HWND control(std::string_view name) const;
    // The banner's shown pixel (0x00BBGGRR) at a point of its drawable area.
    COLORREF bannerPixel(int x, int y) const;

  private:
    friend struct SettingsDialogWindows;  // the window procedures

    bool buildWindow();
    void buildControls();
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void command(std::string_view name, int code);
    LRESULT colourFor(HWND control, HDC dc);
    void close();
    int px(int32_t twips) const;

    // SettingsDialogView
    void setGraphOnlyTicked(bool ticked) override;
    bool graphOnlyTicked() const override;
    void setOnTopTicked(bool ticked) override;
    bool onTopTicked() const override;
    void setStartAtLoginTicked(bool ticked) override;
    bool startAtLoginTicked() const override;
    void selectTransparency(int index) override;
    int selectedTransparency() const override;
    void setInstallDateText(std::string_view text) override;
    void setTotalsTexts(std::string_view download, std::string_view upload) override;
    void setSwatchColour(Swatch swatch, int32_t bgr) override;
    void setSpeedText(std::string_view text) override;
    std::string speedText() const override;
    void setMegabytesText(std::string_view text) override;
    void markSpeedInvalid(bool invalid) override;
    void restrictSpeedToDigits() override;
    std::string decimalSeparator() const override;
    void placeCentredOnTop() override;
    void showPage(int index) override;
    void startSweep() override;
    bool isShown() const override;
    void drawBannerRowFrom(int x, int y) override;
    void showWholeBanner() override;
    std::optional<int32_t> chooseColour(int32_t current) override;
    void closeAccepted() override { close(); }

    // StartAtLogin
    Result enable() override;
    Result disable() override;

    HWND owner_;
    RunValueTarget runValue_;
    UINT dpi_ = 96;
    HWND window_ = nullptr;
    HFONT font_ = nullptr;
    std::map<std::string, HWND, std::less<>> controls_;
    std::vector<std::string> names_;  // by control id - kFirstControlId
    std::array<HBRUSH, 3> swatchBrushes_{};
    std::array<COLORREF, 16> customColours_{};
    bool settingSpeed_ = false;  // the speed box's text set from code, not edited
    bool speedInvalid_ = false;
    std::unique_ptr<BannerCanvas> banner_;
    SettingsDialogPresenter presenter_;
};

}  // namespace kuvell

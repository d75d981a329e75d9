// SPDX-License-Identifier: MIT
#pragma once
// Kuvell's main window on Win32: the graph, the rate line under it, the tray
// icon and the popup menu. The presenter decides; this window does what it is
// told and passes on what the user does.
#include <windows.h>

#include <memory>
#include <optional>

#include "frontends/win32/GraphSurface.h"
#include "frontends/win32/TrayIcon.h"
#include "monitor/core/MonitorPresenter.h"
#include "settings/core/MainWindowControl.h"

namespace kuvell {

class MainWindow final : private MonitorView, private MainWindowControl
{
  public:
    MainWindow(HINSTANCE instance, ProgramVariables& vars, KeyValueStore& store,
               MonitorSetup setup);
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    void startUp() { presenter_.startUp(); }
    // The message loop, until the presenter ends Kuvell; its exit status.
    int run();

  private:
    // MonitorView and MainWindowControl
    void setOpacity(int16_t alpha) override;
    void showMessage(std::string_view text) override;
    // MainWindowControl
    void setGraphBackground(int32_t bgr) override { presenter_.setGraphBackground(bgr); }
    void nudgeSize() override;
    void setTopMost(bool onTop) override;
    // MonitorView
    void applySizeBounds() override { sizeBounded_ = true; }
    std::vector<PixelRect> screenAreas() const override;
    int displayDpi() const override { return dpi_; }
    void placeWindow(const WindowPlacement& twips, bool onTop) override;
    PixelSize windowSize() const override;
    void resizeWindow(PixelSize size) override;
    void placeControls(const MainControls& controls, const PixelImage& graph) override;
    void addTrayIcon(int picture, std::string_view tip) override { tray_->add(picture, tip); }
    void showRates(std::string_view line) override;
    void updateTrayIcon(std::optional<int> picture, std::optional<std::string_view> tip) override;
    void showGraphChange(const PixelRect& changed) override { graphView_->showChanged(changed); }
    bool isWindowVisible() const override { return IsWindowVisible(window_) != FALSE; }
    void showWindow(bool activate) override;
    void hideWindow() override { ShowWindow(window_, SW_HIDE); }
    PixelRect outerRect() const override;
    void stopTicks() override { KillTimer(window_, kTickTimer); }
    void removeTrayIcon() override { tray_->remove(); }
    void exitProgram(int status) override;
    void logNote(std::string_view text) override;

    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void createControls(HINSTANCE instance);
    void setLabelFont(double points);
    void beginMove();
    // fromTray: the tray icon's menu, with the interface list; else the graph's.
    void showPopupMenu(bool fromTray);
    void openSettings();
    void onGraphPressed(UINT message);
    void onTrayMessage(LPARAM mouseMessage);
    void onDpiChanged(int dpi, const RECT& suggested);

    static constexpr UINT_PTR kTickTimer = 1;
    static constexpr UINT kTrayMessage = WM_APP + 1;

    ProgramVariables& vars_;
    KeyValueStore& store_;
    HWND window_ = nullptr;
    HWND settingsWindow_ = nullptr;  // while the dialog is open
    HWND graphPanel_ = nullptr;
    HWND rateLabel_ = nullptr;
    HFONT labelFont_ = nullptr;
    double labelPoints_ = 0;
    int labelDpi_ = 0;    // the scale labelFont_ was made for
    int dpi_ = kBaseDpi;  // of the monitor the window stands on
    UINT taskbarCreated_ = 0;
    bool sizeBounded_ = false;
    std::unique_ptr<GraphSurface> graphView_;
    std::unique_ptr<TrayIcon> tray_;
    MonitorPresenter presenter_;
};

}  // namespace kuvell

// SPDX-License-Identifier: MIT
#pragma once
// Kuvell's main window: the graph, the rate line under it, the tray icon, the
// popup popupMenu_, start-up and the two ways of ending.
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "frontends/qt/GraphBoxes.h"
#include "frontends/qt/MainWindowAccess.h"
#include "frontends/qt/SettingsDialog.h"
#include "frontends/qt/TrayIcon.h"
#include "frontends/qt/WindowGrip.h"
#include "frontends/qt/WindowRoutines.h"
#include "monitor/core/MonitorPresenter.h"

class QAction;
class QFrame;

namespace kuvell {

class IfTableSource;
class KeyValueStore;
struct ProgramVariables;

// What the window needs from outside; main fills it, tests fake it.
struct MonitorWindowServices
{
    std::shared_ptr<IfTableSource> tableSource;
    AutostartTarget autostart;
    // Ends the program with this exit status.
    std::function<void(int status)> exitProgram;
    // Shows a modal message; empty: a QMessageBox over the main window.
    std::function<void(const QString& text)> showMessage;
    // The notification area reports single activations only (no double-click).
    bool singleActivationToggles = false;
    // Today's date in the user's long format; empty: asked from the system locale.
    QString todayLongDate;
    // A termination request came while start-up ran, before the event loop could
    // deliver it: start-up stops, writes nothing more and ends as any other close.
    std::function<bool()> terminationRequested;
};

class MonitorWindow : public QWidget, public MainWindowAccess, private MonitorView
{
    Q_OBJECT
  public:
    MonitorWindow(ProgramVariables& vars, KeyValueStore& store, MonitorWindowServices services,
                  QWidget* parent = nullptr);
    ~MonitorWindow() override;

    // Loads the settings, places and lays out the window, creates the statistics
    // object and the tray icon, then shows the window. Every step is guarded.
    // A termination requested while the store is read ends Kuvell instead.
    void startUp();

    // false: advance the histories by one tick, then paint; true: paint only.
    // Nothing is painted while the user has hidden the window.
    void draw(bool refresh);

    // MainWindowAccess
    QWidget* mainWindow() override { return this; }
    void setOpacity(int16_t alpha) override;
    void setGraphBackground(int32_t bgr) override { presenter_.setGraphBackground(bgr); }
    void nudgeSize() override;
    void setTopMost(bool onTop) override { setTopMostWhereItIs(this, onTop); }
    void showMessage(std::string_view text) override;
    void showMessage(const QString& text);

    bool hiddenByUser() const { return presenter_.hiddenByUser(); }
    const QImage& graphImage() const { return graphView_->image(); }
    const RateHistories& histories() const { return presenter_.histories(); }
    const TrayIcon& trayIcon() const { return tray_; }
    QWidget* graphWidget() const { return graphView_; }
    QLabel* label() const { return rateLabel_; }
    QMenu* popupMenu() const { return popupMenu_; }
    QMenu* trayMenu() const { return trayMenu_; }
    QMenu* interfaceMenu() const { return interfaceMenu_; }
    QTimer* timer() const { return sampleTimer_; }

  public slots:
    // sampleTimer_'s tick. A tick that arrives while an earlier one is still running
    // (its message box open) is skipped.
    void sampleTraffic();
    // The tray icon's activations: a double-click hides or shows the window (where
    // the notification area has no double-click, the first of two activations
    // within the double-click interval, or a single one).
    void onTrayActivated(QSystemTrayIcon::ActivationReason reason);
    // The tray menu opens: its interface list is made anew.
    void fillInterfaceMenu();
    // The popupMenu_ items.
    void onOptions();
    void onQuit();
    // Any end other than quitAction_: the tray icon goes, nothing is saved.
    void endWithoutSaving();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    // MonitorView
    void applySizeBounds() override;
    std::vector<PixelRect> screenAreas() const override;
    void placeWindow(const WindowPlacement& twips, bool onTop) override;
    PixelSize windowSize() const override { return {width(), height()}; }
    void resizeWindow(PixelSize size) override { resize(size.width, size.height); }
    void placeControls(const MainControls& controls, const PixelImage& graph) override;
    void addTrayIcon(int picture, std::string_view tip) override;
    void showRates(std::string_view line) override;
    void updateTrayIcon(std::optional<int> picture, std::optional<std::string_view> tip) override;
    void showGraphChange(const PixelRect& changed) override;
    bool isWindowVisible() const override { return isVisible(); }
    void showWindow(bool activate) override;
    void hideWindow() override { hide(); }
    PixelRect outerRect() const override;
    void stopTicks() override;
    void removeTrayIcon() override { tray_.removeIcon(); }
    void exitProgram(int status) override;
    void logNote(std::string_view text) override;

    ProgramVariables& vars_;
    KeyValueStore& store_;
    MonitorWindowServices services_;

    QFrame* graphPanel_;
    GraphDisplay* graphView_;
    QLabel* rateLabel_;
    QTimer* sampleTimer_;
    QMenu* popupMenu_;
    QAction* optionsAction_;
    QAction* quitAction_;
    QMenu* trayMenu_;
    QMenu* interfaceMenu_;
    TrayIcon tray_;
    QPointer<SettingsDialog> settingsDialog_;
    WindowGrip grip_;
    MonitorPresenter presenter_;
};

}  // namespace kuvell

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

#include "monitor/GraphBoxes.h"
#include "monitor/TrayIcon.h"
#include "monitor/WindowGrip.h"
#include "monitor/core/RateHistories.h"
#include "monitor/core/TrafficTick.h"
#include "monitor/core/TrayActivations.h"
#include "settings/MainWindowAccess.h"
#include "settings/SettingsDialog.h"

class QAction;
class QFrame;

namespace kuvell {

class InterfaceTable;
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
};

class MonitorWindow : public QWidget, public MainWindowAccess
{
    Q_OBJECT
  public:
    MonitorWindow(ProgramVariables& vars, KeyValueStore& store, MonitorWindowServices services,
                  QWidget* parent = nullptr);
    ~MonitorWindow() override;

    // Loads the settings, places and lays out the window, creates the statistics
    // object and the tray icon, then shows the window. Every step is guarded.
    void startUp();

    // false: advance the histories by one tick, then paint; true: paint only.
    // Nothing is painted while the user has hidden the window.
    void draw(bool refresh);

    // MainWindowAccess
    QWidget* mainWindow() override { return this; }
    void setBufferBackground(int32_t colour) override;
    void nudgeSize() override;
    void showMessage(const QString& text) override;

    bool hiddenByUser() const { return hiddenByUser_; }
    const QImage& graphImage() const { return graphView_->image(); }
    const RateHistories& histories() const { return histories_; }
    const TrayIcon& trayIcon() const { return tray_; }
    QWidget* graphWidget() const { return graphView_; }
    QLabel* label() const { return rateLabel_; }
    QMenu* popupMenu() const { return popupMenu_; }
    QMenu* trayMenu() const { return trayMenu_; }
    QTimer* timer() const { return sampleTimer_; }

  public slots:
    // sampleTimer_'s tick. A tick that arrives while an earlier one is still running
    // (its message box open) is skipped.
    void sampleTraffic();
    // The tray icon's activations: a double-click hides or shows the window (where
    // the notification area has no double-click, the first of two activations
    // within the double-click interval, or a single one).
    void onTrayActivated(QSystemTrayIcon::ActivationReason reason);
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
    void place(int32_t left, int32_t top, int32_t width, int32_t height);
    void layOut();
    void end(int status);

    ProgramVariables& vars_;
    KeyValueStore& store_;
    MonitorWindowServices services_;
    std::string decimalSeparator_;

    QFrame* graphPanel_;
    GraphDisplay* graphView_;
    GraphBuffer graphBuffer_;
    QLabel* rateLabel_;
    QTimer* sampleTimer_;
    QMenu* popupMenu_;
    QAction* optionsAction_;
    QAction* quitAction_;
    QMenu* trayMenu_;
    TrayIcon tray_;
    TrayActivations trayClicks_;
    QPointer<SettingsDialog> settingsDialog_;
    WindowGrip grip_;

    std::unique_ptr<InterfaceTable> interfaceTable_;
    TrafficTick tick_;
    RateHistories histories_;
    bool hiddenByUser_ = false;
    bool sampling_ = false;
    bool quitting_ = false;
    bool ended_ = false;
};

}  // namespace kuvell

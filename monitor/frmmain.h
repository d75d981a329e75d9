#pragma once
// Kuvell's main window: the graph, the rate line under it, the tray icon, the
// popup menu, start-up and the two ways of ending.
#include <QLabel>
#include <QMenu>
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
#include "settings/MainWindowAccess.h"
#include "settings/frmoptions.h"

class QAction;
class QFrame;

namespace kuvell {

class CIpHelper;
class IfTableSource;
class SettingsStore;
struct ProgramVariables;

// What the window needs from outside; main fills it, tests fake it.
struct frmmainServices
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

class frmmain : public QWidget, public MainWindowAccess
{
    Q_OBJECT
  public:
    frmmain(ProgramVariables& vars, SettingsStore& store, frmmainServices services,
            QWidget* parent = nullptr);
    ~frmmain() override;

    // Loads the settings, places and lays out the window, creates the statistics
    // object and the tray icon, then shows the window. Every step is guarded.
    void StartUp();

    // false: advance the histories by one tick, then paint; true: paint only.
    // Nothing is painted while the user has hidden the window.
    void draw(bool refresh);

    // MainWindowAccess
    QWidget* mainWindow() override { return this; }
    void setBufferBackground(int32_t colour) override;
    void nudgeSize() override;

    bool HiddenByUser() const { return HiddenByUser_; }
    const QImage& picdisplayImage() const { return picdisplay->image(); }
    const RateHistories& histories() const { return histories_; }
    const TrayIcon& trayIcon() const { return tray_; }
    QWidget* picdisplayWidget() const { return picdisplay; }
    QLabel* label() const { return Label8; }
    QMenu* popupMenu() const { return menu; }
    QTimer* timer() const { return Timer2; }

  public slots:
    // Timer2's tick. A tick that arrives while an earlier one is still running
    // (its message box open) is skipped.
    void SampleTraffic();
    // The tray icon's activations: a double-click (or, where the notification
    // area has no double-click, any activation) hides or shows the window.
    void OnTrayActivated(QSystemTrayIcon::ActivationReason reason);
    // The menu items.
    void OnOptions();
    void OnQuit();
    // Any end other than quit: the tray icon goes, nothing is saved.
    void EndWithoutSaving();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    void Place(int32_t left, int32_t top, int32_t width, int32_t height);
    void LayOut();
    void ShowMessage(std::string_view text);
    void End(int status);

    ProgramVariables& vars_;
    SettingsStore& store_;
    frmmainServices services_;
    std::string decimalSeparator_;

    QFrame* Picture1;
    GraphDisplay* picdisplay;
    GraphBuffer picbuffer;
    QLabel* Label8;
    QTimer* Timer2;
    QMenu* menu;
    QAction* options;
    QAction* quit;
    TrayIcon tray_;
    WindowGrip grip_;

    std::unique_ptr<CIpHelper> IpHelper;
    TrafficTick tick_;
    RateHistories histories_;
    bool HiddenByUser_ = false;
    bool sampling_ = false;
    bool ended_ = false;
};

}  // namespace kuvell

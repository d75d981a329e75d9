// SPDX-License-Identifier: MIT
#include "monitor/MonitorWindow.h"

#include <qdrawutil.h>

#include <QAction>
#include <QCloseEvent>
#include <QDate>
#include <QElapsedTimer>
#include <QFrame>
#include <QGuiApplication>
#include <QLocale>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScopedValueRollback>
#include <QStyleHints>
#include <cstdio>
#include <exception>

#include "monitor/Logging.h"
#include "monitor/core/GraphGeometry.h"
#include "monitor/core/MainLayout.h"
#include "platform/TaskbarHints.h"
#include "platform/WindowOpacity.h"
#include "platform/WindowRoutines.h"
#include "platform/core/Twips.h"
#include "platform/core/WindowBounds.h"
#include "settings/SettingsStore.h"
#include "settings/StartupSettings.h"
#include "settings/core/ProgramVariables.h"
#include "settings/core/TextConversions.h"
#include "stats/core/InterfaceTable.h"

namespace kuvell {

namespace {

const QString kProgramName = QStringLiteral("Kuvell");
constexpr int kStartupTrayImage = 4;
constexpr int kTickMilliseconds = 1000;
constexpr int kPanelBorder = 2;

// A thin frame around the client area that only resizes the window.
constexpr QMargins kSizingBorder(3, 4, 3, 4);

// Design geometry in twips (left, top, width, height).
constexpr int kDesignClientWidth = 6120;
constexpr int kDesignClientHeight = 4485;
constexpr int kDesignGraphPanelHeight = 2040;
constexpr int kDesignGraphViewHeight = 1980;
constexpr int kDesignGraphBufferWidth = 4560;
constexpr int kDesignGraphBufferHeight = 2040;
constexpr int kDesignRateLabelTop = 2100;
constexpr int kDesignRateLabelWidth = 5610;
constexpr double kDesignRateLabelPoints = 9.75;

int px(double twips) { return twipsToPixels(twips); }

// start-up skips a step that fails and goes on with the next one, silently.
template <typename Step>
void guarded(Step&& step) noexcept
{
    try {
        step();
    } catch (const std::exception& error) {
        // The window still starts: a step that fails leaves its defaults.
        qCWarning(lcMonitor, "a start-up step failed: %s", error.what());
    }
}

QPoint globalPosition(const QMouseEvent* event) { return event->globalPosition().toPoint(); }

// Shows only the part of a child inside `area` (its parent's coordinates), so
// presses elsewhere reach what lies below it; a child wholly outside is hidden.
void showOnlyWithin(QWidget* child, const QRect& area)
{
    const QRect inside = child->geometry().intersected(area);
    child->setVisible(!inside.isEmpty());
    if (inside == child->geometry()) {
        child->clearMask();
    } else if (!inside.isEmpty()) {
        child->setMask(QRegion(inside.translated(-child->pos())));
    }
}

TrayClick trayClick(QSystemTrayIcon::ActivationReason reason)
{
    switch (reason) {
        case QSystemTrayIcon::Trigger:
            return TrayClick::Single;
        case QSystemTrayIcon::DoubleClick:
            return TrayClick::Double;
        default:
            return TrayClick::Other;
    }
}

int64_t monotonicMilliseconds()
{
    static QElapsedTimer clock;
    if (!clock.isValid()) {
        clock.start();
    }
    return clock.elapsed();
}

}  // namespace

MonitorWindow::MonitorWindow(ProgramVariables& vars, SettingsStore& store,
                             MonitorWindowServices services, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint),
      vars_(vars),
      store_(store),
      services_(std::move(services)),
      decimalSeparator_(QLocale::system().decimalPoint().toStdString()),
      graphBuffer_(px(kDesignGraphBufferWidth), px(kDesignGraphBufferHeight)),
      tray_(this),
      trayClicks_(services_.singleActivationToggles,
                  QGuiApplication::styleHints()->mouseDoubleClickInterval()),
      grip_(*this)
{
    setWindowTitle(kProgramName);
    setMouseTracking(true);  // the sizing border shows where it resizes
    keepOffTaskbar(this);
    resize(px(kDesignClientWidth) + kSizingBorder.left() + kSizingBorder.right(),
           px(kDesignClientHeight) + kSizingBorder.top() + kSizingBorder.bottom());

    graphPanel_ = new QFrame(this);
    graphPanel_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    graphPanel_->setLineWidth(kPanelBorder);
    graphPanel_->setGeometry(kSizingBorder.left(), kSizingBorder.top(), px(kDesignClientWidth),
                             px(kDesignGraphPanelHeight));

    graphView_ = new GraphDisplay(graphPanel_);
    graphView_->place(QRect(kPanelBorder, kPanelBorder + px(kGraphViewTop), px(kGraphViewWidth),
                            px(kDesignGraphViewHeight)));
    graphView_->installEventFilter(this);

    rateLabel_ = new QLabel(this);
    rateLabel_->setAlignment(Qt::AlignCenter);
    rateLabel_->setAutoFillBackground(true);
    rateLabel_->setBackgroundRole(QPalette::Base);  // the system window colour
    rateLabel_->setForegroundRole(QPalette::Text);  // and window-text colour
    QFont labelFont(QStringLiteral("Tahoma"));
    labelFont.setPointSizeF(kDesignRateLabelPoints);
    rateLabel_->setFont(labelFont);
    rateLabel_->setGeometry(kSizingBorder.left(), kSizingBorder.top() + px(kDesignRateLabelTop),
                            px(kDesignRateLabelWidth), px(kRateLabelHeight));
    rateLabel_->installEventFilter(this);

    popupMenu_ = new QMenu(this);
    optionsAction_ = popupMenu_->addAction(QStringLiteral("Inställningar"));
    quitAction_ = popupMenu_->addAction(QStringLiteral("Avsluta"));
    connect(optionsAction_, &QAction::triggered, this, &MonitorWindow::onOptions);
    connect(quitAction_, &QAction::triggered, this, &MonitorWindow::onQuit);
    // The same two actions, so the tray's menu does exactly what the graph's does.
    trayMenu_ = new QMenu(this);
    trayMenu_->addActions({optionsAction_, quitAction_});
    tray_.setContextMenu(trayMenu_);

    connect(&tray_, &TrayIcon::activated, this, &MonitorWindow::onTrayActivated);

    sampleTimer_ = new QTimer(this);
    sampleTimer_->setInterval(kTickMilliseconds);
    connect(sampleTimer_, &QTimer::timeout, this, &MonitorWindow::sampleTraffic);
    sampleTimer_->start();
}

MonitorWindow::~MonitorWindow() = default;

void MonitorWindow::startUp()
{
    StartupSettings startup;
    guarded([&] {
        const QString today =
            services_.todayLongDate.isEmpty()
                ? QLocale::system().toString(QDate::currentDate(), QLocale::LongFormat)
                : services_.todayLongDate;
        startup = loadStartupSettings(store_, vars_, today);
    });
    guarded([&] {
        if (startup.transparencyLevel) {
            if (const auto alpha = transparencyAlpha(*startup.transparencyLevel)) {
                setTransparency(this, *alpha);
            }
        }
    });
    guarded([&] { setBufferBackground(vars_.backgroundColour); });
    guarded([&] {
        setMinimumSize(kMinWindowWidth, kMinWindowHeight);
        setMaximumSize(kMaxWindowWidth, kMaxWindowHeight);
    });
    guarded([&] {
        const WindowPlacement& at = startup.placement;
        if (vars_.onTop) {
            makeTopMost(this, at.left, at.top, at.width, at.height);
        } else {
            place(at.left, at.top, at.width, at.height);
        }
    });
    guarded([&] { layOut(); });
    guarded([&] {
        if (services_.tableSource) {
            interfaceTable_ = std::make_unique<InterfaceTable>(
                services_.tableSource, [this](std::string_view text) {
                    showMessage(
                        QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
                });
            interfaceTable_->chooseInterface(startup.interfaceChoice);
        }
    });
    guarded([&] {
        tick_ = TrafficTick(jumpLimitFromText(startup.jumpLimitText).value_or(kDefaultJumpLimit));
    });
    guarded([&] { tray_.add(kStartupTrayImage, kProgramName); });
    show();
}

void MonitorWindow::place(int32_t left, int32_t top, int32_t width, int32_t height)
{
    move(px(left), px(top));
    const WindowSize bounded = clampWindowSize({px(width), px(height)});
    resize(bounded.cx, bounded.cy);
}

void MonitorWindow::sampleTraffic()
{
    if (sampling_ || quitting_ || ended_ || !interfaceTable_) {
        return;
    }
    const QScopedValueRollback<bool> running(sampling_, true);
    interfaceTable_->interfaces();  // only for the snapshot it takes
    const TickTexts texts =
        tick_.sample(interfaceTable_->bytesReceived(), interfaceTable_->bytesSent(),
                     vars_.downloadTotal, vars_.uploadTotal, decimalSeparator_);
    rateLabel_->setText(QString::fromStdString(texts.label));
    tray_.modify(texts.trayImage, QString::fromStdString(tipText(texts.tip)));
    draw(false);
}

void MonitorWindow::draw(bool refresh)
{
    if (!refresh) {
        histories_.advance(tick_.downloadDelta(), tick_.uploadDelta());
    }
    if (hiddenByUser_) {
        return;
    }
    graphView_->showChanged(graphBuffer_.paintFrame(histories_, graphScale(vars_.connectionSpeed),
                                                    vars_.downloadColour, vars_.uploadColour,
                                                    graphView_->pixels()));
}

void MonitorWindow::setBufferBackground(int32_t colour) { graphBuffer_.setBackground(colour); }

void MonitorWindow::nudgeSize()
{
    // Height first, then width, one pixel (15 twips) each; both from the size
    // before the nudge, as a resize of a shown window may land later.
    const QSize before = size();
    resize(before.width(), before.height() + 1);
    resize(before.width() + 1, before.height() + 1);
}

void MonitorWindow::layOut()
{
    const MainLayout layout =
        layoutForSize(static_cast<int32_t>(pixelsToTwips(width())),
                      static_cast<int32_t>(pixelsToTwips(height())), vars_.extraGraphHeight);
    const int clientWidth = std::max(0, width() - kSizingBorder.left() - kSizingBorder.right());

    // graphPanel_ is docked to the top, always as wide as the client area.
    QRect panel = graphPanel_->geometry();
    panel.setWidth(clientWidth);
    if (layout.graphPanelHeight) {
        panel.setHeight(px(static_cast<double>(*layout.graphPanelHeight)));
    }
    // Every control keeps clear of the sizing border, which resizes on all four sides.
    const QRect client = rect().marginsRemoved(kSizingBorder);
    panel.setBottom(std::min(panel.bottom(), client.bottom()));
    graphPanel_->setGeometry(panel);

    QRect graph = graphView_->geometry();
    graph.moveLeft(kPanelBorder + px(static_cast<double>(layout.graphViewLeft)));
    if (layout.graphViewHeight) {
        graph.setHeight(px(static_cast<double>(*layout.graphViewHeight)));
    }
    graphView_->place(graph);

    if (layout.graphBufferHeight) {
        graphBuffer_.setOuterSize(graphBuffer_.outerSize().width,
                                  px(static_cast<double>(*layout.graphBufferHeight)));
    }

    QRect line = rateLabel_->geometry();
    line.moveTop(kSizingBorder.top() + px(static_cast<double>(layout.rateLabelTop)));
    if (layout.rateLabelWidth) {
        line.setWidth(px(static_cast<double>(*layout.rateLabelWidth)));
    }
    rateLabel_->setGeometry(line);
    if (layout.rateLabelFontPoints &&
        rateLabel_->font().pointSizeF() != *layout.rateLabelFontPoints) {
        QFont font = rateLabel_->font();
        font.setPointSize(*layout.rateLabelFontPoints);
        rateLabel_->setFont(font);
    }
    // The controls keep their laid-out places (the graph's picture its size), as in a
    // container that clips its children: the graph to the panel's inside, within its
    // sunken border, and everything to the area inside the sizing border.
    showOnlyWithin(graphView_, graphPanel_->contentsRect());
    showOnlyWithin(rateLabel_, client);

    draw(true);
}

void MonitorWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const WindowSize bounded = clampWindowSize({width(), height()});
    if (bounded.cx != width() || bounded.cy != height()) {
        resize(bounded.cx, bounded.cy);
    }
    layOut();
}

void MonitorWindow::onTrayActivated(QSystemTrayIcon::ActivationReason reason)
{
    if (!trayClicks_.toggles(trayClick(reason), monotonicMilliseconds()) || ended_) {
        return;
    }
    if (isVisible()) {
        hiddenByUser_ = true;
        hide();
    } else {
        show();
        hiddenByUser_ = false;
        raise();
        activateWindow();
    }
}

void MonitorWindow::onOptions()
{
    // The tray's menu still answers while the dialog is open: one dialog at a time.
    if (settingsDialog_) {
        settingsDialog_->raise();
        settingsDialog_->activateWindow();
        return;
    }
    // Deleted only after exec() returns, whatever the dialog does on close.
    settingsDialog_ = new SettingsDialog(vars_, store_, *this, services_.autostart, this);
    settingsDialog_->exec();
    delete settingsDialog_.data();
}

void MonitorWindow::onQuit()
{
    if (ended_ || quitting_) {
        return;
    }
    // No tick changes the totals, and no second quit starts, while a message is open.
    quitting_ = true;
    sampleTimer_->stop();
    const QString setting = QStringLiteral("setting");
    const auto text = [](int64_t value) { return QString::fromStdString(integerToText(value)); };
    // The placement as it is now, also while the window is hidden.
    const QRect outer = frameGeometry();
    // One replacement of the file: whenever Kuvell dies, all six values or none have landed.
    const SaveResult saved = store_.writeSettings({
        {setting, QStringLiteral("DLtot"), text(vars_.downloadTotal)},
        {setting, QStringLiteral("ULtot"), text(vars_.uploadTotal)},
        {setting, QStringLiteral("windowsposx"), text(pixelsToTwips(outer.x()))},
        {setting, QStringLiteral("windowsposy"), text(pixelsToTwips(outer.y()))},
        {setting, QStringLiteral("windowswidth"), text(pixelsToTwips(outer.width()))},
        {setting, QStringLiteral("windowsheight"), text(pixelsToTwips(outer.height()))},
    });
    tray_.removeIcon();
    if (!saved) {
        qCWarning(storeLog, "the totals and the window placement were not saved to %s",
                  qUtf8Printable(store_.filePath()));
        showMessage(QStringLiteral("The totals and the window placement could not be saved to "
                                   "%1:\n%2.")
                        .arg(store_.filePath(), saved.reason));
    }
    if (!ended_) {  // a termination signal may have ended Kuvell while the message was open
        end(saved ? 0 : 1);
    }
}

void MonitorWindow::endWithoutSaving()
{
    if (ended_) {
        return;
    }
    tray_.removeIcon();
    end(0);
}

void MonitorWindow::end(int status)
{
    ended_ = true;
    sampleTimer_->stop();
    hide();
    if (services_.exitProgram) {
        services_.exitProgram(status);
    }
}

void MonitorWindow::showMessage(const QString& text)
{
    if (services_.showMessage) {
        services_.showMessage(text);
    } else {
        QMessageBox::warning(this, kProgramName, text);
    }
}

void MonitorWindow::closeEvent(QCloseEvent* event)
{
    event->accept();
    endWithoutSaving();
}

bool MonitorWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != graphView_ && watched != rateLabel_) {
        return QWidget::eventFilter(watched, event);
    }
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (watched == rateLabel_ || mouse->button() == Qt::LeftButton) {
                grip_.beginMove(globalPosition(mouse));
            } else if (mouse->button() == Qt::RightButton) {
                popupMenu_->popup(globalPosition(mouse));
            }
            return true;
        }
        case QEvent::MouseMove:
            return grip_.follow(globalPosition(static_cast<QMouseEvent*>(event)));
        case QEvent::MouseButtonRelease:
            grip_.end();
            return true;
        default:
            return false;
    }
}

void MonitorWindow::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        grip_.beginResize(sizingEdgesAt(size(), kSizingBorder, event->position().toPoint()),
                          globalPosition(event));
    }
}

void MonitorWindow::mouseMoveEvent(QMouseEvent* event)
{
    if (!grip_.follow(globalPosition(event))) {
        setCursor(sizingCursor(sizingEdgesAt(size(), kSizingBorder, event->position().toPoint())));
    }
}

void MonitorWindow::mouseReleaseEvent(QMouseEvent*) { grip_.end(); }

void MonitorWindow::paintEvent(QPaintEvent*)
{
    // The sizing border looks like the raised frame of a window.
    QPainter painter(this);
    qDrawWinPanel(&painter, rect(), palette(), false);
}

}  // namespace kuvell

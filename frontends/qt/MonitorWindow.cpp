// SPDX-License-Identifier: MIT
#include "frontends/qt/MonitorWindow.h"

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
#include <QScreen>
#include <QStyleHints>
#include <cstdio>
#include <vector>

#include "frontends/qt/Logging.h"
#include "frontends/qt/QtText.h"
#include "frontends/qt/SettingsStore.h"
#include "frontends/qt/TaskbarHints.h"
#include "frontends/qt/WindowOpacity.h"
#include "frontends/qt/WindowRoutines.h"
#include "monitor/core/GraphGeometry.h"
#include "monitor/core/MainLayout.h"
#include "platform/core/Twips.h"
#include "platform/core/WindowBounds.h"
#include "settings/core/ProgramVariables.h"
#include "settings/core/StartupSettings.h"
#include "settings/core/TextConversions.h"
#include "stats/core/InterfaceTable.h"

namespace kuvell {

namespace {

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

MonitorSetup monitorSetup(const MonitorWindowServices& services)
{
    MonitorSetup setup;
    setup.tableSource = services.tableSource;
    const QString today =
        services.todayLongDate.isEmpty()
            ? QLocale::system().toString(QDate::currentDate(), QLocale::LongFormat)
            : services.todayLongDate;
    setup.todayLongDate = today.toStdString();
    setup.decimalSeparator = QLocale::system().decimalPoint().toStdString();
    setup.singleActivationToggles = services.singleActivationToggles;
    setup.doubleClickMilliseconds = QGuiApplication::styleHints()->mouseDoubleClickInterval();
    setup.terminationRequested = services.terminationRequested;
    return setup;
}

}  // namespace

MonitorWindow::MonitorWindow(ProgramVariables& vars, KeyValueStore& store,
                             MonitorWindowServices services, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint),
      vars_(vars),
      store_(store),
      services_(std::move(services)),
      graphBuffer_(px(kDesignGraphBufferWidth), px(kDesignGraphBufferHeight)),
      tray_(this),
      grip_(*this),
      presenter_(vars, store, *this, monitorSetup(services_))
{
    setWindowTitle(qText(kProgramName));
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

void MonitorWindow::startUp() { presenter_.startUp(); }

void MonitorWindow::setOpacity(int16_t alpha) { static_cast<void>(setTransparency(this, alpha)); }

void MonitorWindow::applySizeBounds()
{
    setMinimumSize(kMinWindowWidth, kMinWindowHeight);
    setMaximumSize(kMaxWindowWidth, kMaxWindowHeight);
}

std::vector<PixelRect> MonitorWindow::screenAreas() const
{
    std::vector<PixelRect> screens;
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect area = screen->availableGeometry();
        screens.push_back({area.x(), area.y(), area.width(), area.height()});
    }
    return screens;
}

void MonitorWindow::placeWindow(const WindowPlacement& at, bool onTop)
{
    if (onTop) {
        makeTopMost(this, at.left, at.top, at.width, at.height);
        return;
    }
    move(px(at.left), px(at.top));
    const WindowSize bounded = clampWindowSize({px(at.width), px(at.height)});
    resize(bounded.cx, bounded.cy);
}

void MonitorWindow::addTrayIcon(int picture, std::string_view tip)
{
    tray_.add(picture, qText(tip));
}

void MonitorWindow::sampleTraffic() { presenter_.tick(); }

void MonitorWindow::showRates(std::string_view line, std::optional<int> trayPicture,
                              std::string_view tip)
{
    rateLabel_->setText(qText(line));
    tray_.modify(trayPicture, qText(tip));
}

void MonitorWindow::draw(bool refresh) { presenter_.drawGraph(!refresh); }

void MonitorWindow::paintGraph()
{
    graphView_->showChanged(
        graphBuffer_.paintFrame(presenter_.histories(), graphScale(vars_.connectionSpeed),
                                vars_.downloadColour, vars_.uploadColour, graphView_->pixels()));
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

    presenter_.drawGraph(false);
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
    presenter_.trayClicked(trayClick(reason), monotonicMilliseconds());
}

void MonitorWindow::showWindow(bool activate)
{
    show();
    if (activate) {
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

void MonitorWindow::onQuit() { presenter_.quit(); }

void MonitorWindow::endWithoutSaving() { presenter_.endWithoutSaving(); }

PixelRect MonitorWindow::outerRect() const
{
    const QRect outer = frameGeometry();
    return {outer.x(), outer.y(), outer.width(), outer.height()};
}

void MonitorWindow::stopTicks() { sampleTimer_->stop(); }

void MonitorWindow::exitProgram(int status)
{
    if (services_.exitProgram) {
        services_.exitProgram(status);
    }
}

void MonitorWindow::logNote(std::string_view text)
{
    qCWarning(lcMonitor, "%s", qText(text).toUtf8().constData());
}

void MonitorWindow::showMessage(std::string_view text) { showMessage(qText(text)); }

void MonitorWindow::showMessage(const QString& text)
{
    if (services_.showMessage) {
        services_.showMessage(text);
    } else {
        QMessageBox::warning(this, qText(kProgramName), text);
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

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
#include <vector>

#include "frontends/qt/Logging.h"
#include "frontends/qt/QtText.h"
#include "frontends/qt/TaskbarHints.h"
#include "frontends/qt/WindowOpacity.h"
#include "frontends/qt/WindowRoutines.h"
#include "monitor/core/MainLayout.h"
#include "platform/core/Twips.h"
#include "platform/core/WindowBounds.h"
#include "settings/core/ProgramVariables.h"

namespace kuvell {

namespace {

constexpr int kTickMilliseconds = 1000;

QRect qRect(const PixelRect& rect) { return {rect.x, rect.y, rect.width, rect.height}; }

QMargins qMargins(const PixelMargins& margins)
{
    return {margins.left, margins.top, margins.right, margins.bottom};
}

QPoint globalPosition(const QMouseEvent* event) { return event->globalPosition().toPoint(); }

// Shows only `shown` (the child's own coordinates) of a child, so presses
// elsewhere reach what lies below it; an empty part hides it.
void place(QWidget* child, const PixelRect& geometry, const PixelRect& shown)
{
    child->setVisible(!shown.empty());
    if (shown == PixelRect{0, 0, geometry.width, geometry.height}) {
        child->clearMask();
    } else if (!shown.empty()) {
        child->setMask(QRegion(qRect(shown)));
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
      tray_(this),
      grip_(*this),
      presenter_(vars, store, *this, monitorSetup(services_))
{
    setWindowTitle(qText(kProgramName));
    setMouseTracking(true);  // the sizing border shows where it resizes
    keepOffTaskbar(this);
    resize(initialWindowSize().width, initialWindowSize().height);

    graphPanel_ = new QFrame(this);
    graphPanel_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    graphPanel_->setLineWidth(kPanelBorder);
    graphView_ = new GraphDisplay(graphPanel_);
    graphView_->installEventFilter(this);

    rateLabel_ = new QLabel(this);
    rateLabel_->setAlignment(Qt::AlignCenter);
    rateLabel_->setAutoFillBackground(true);
    rateLabel_->setBackgroundRole(QPalette::Base);  // the system window colour
    rateLabel_->setForegroundRole(QPalette::Text);  // and window-text colour
    rateLabel_->setFont(QFont(QStringLiteral("Tahoma")));
    rateLabel_->installEventFilter(this);
    placeControls(presenter_.controls(), PixelImage());

    popupMenu_ = new QMenu(this);
    optionsAction_ = popupMenu_->addAction(QStringLiteral("Inställningar"));
    quitAction_ = popupMenu_->addAction(QStringLiteral("Avsluta"));
    connect(optionsAction_, &QAction::triggered, this, &MonitorWindow::onOptions);
    connect(quitAction_, &QAction::triggered, this, &MonitorWindow::onQuit);
    // The interface to measure, then the same two actions, so the tray's menu
    // does exactly what the graph's does.
    trayMenu_ = new QMenu(this);
    interfaceMenu_ = trayMenu_->addMenu(qText(kInterfaceMenuTitle));
    trayMenu_->addSeparator();
    trayMenu_->addActions({optionsAction_, quitAction_});
    // Built as the menu opens, from the interfaces of that moment.
    connect(trayMenu_, &QMenu::aboutToShow, this, &MonitorWindow::fillInterfaceMenu);
    fillInterfaceMenu();
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
        placeInBand(this, true, at.left, at.top, at.width, at.height);
        return;
    }
    move(twipsToPixels(at.left), twipsToPixels(at.top));
    const WindowSize bounded = clampWindowSize({twipsToPixels(at.width), twipsToPixels(at.height)});
    resize(bounded.cx, bounded.cy);
}

void MonitorWindow::addTrayIcon(int picture, std::string_view tip)
{
    tray_.add(picture, qText(tip));
}

void MonitorWindow::sampleTraffic() { presenter_.tick(); }

void MonitorWindow::showRates(std::string_view line) { rateLabel_->setText(qText(line)); }

void MonitorWindow::updateTrayIcon(std::optional<int> picture, std::optional<std::string_view> tip)
{
    tray_.modify(picture, tip ? std::optional<QString>(qText(*tip)) : std::nullopt);
}

void MonitorWindow::draw(bool refresh) { presenter_.drawGraph(!refresh); }

void MonitorWindow::showGraphChange(const PixelRect& changed) { graphView_->showChanged(changed); }

void MonitorWindow::nudgeSize()
{
    // Height first, then width, one pixel (15 twips) each; both from the size
    // before the nudge, as a resize of a shown window may land later.
    const QSize before = size();
    resize(before.width(), before.height() + 1);
    resize(before.width() + 1, before.height() + 1);
}

void MonitorWindow::placeControls(const MainControls& controls, const PixelImage& graph)
{
    graphPanel_->setGeometry(qRect(controls.panel));
    graphView_->place(qRect(controls.graph), graph);
    place(graphView_, controls.graph, controls.graphShown);
    rateLabel_->setGeometry(qRect(controls.rateLabel));
    place(rateLabel_, controls.rateLabel, controls.rateLabelShown);
    if (rateLabel_->font().pointSizeF() != controls.rateLabelFontPoints) {
        QFont font = rateLabel_->font();
        font.setPointSizeF(controls.rateLabelFontPoints);
        rateLabel_->setFont(font);
    }
}

void MonitorWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    presenter_.resized({width(), height()});
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

void MonitorWindow::fillInterfaceMenu()
{
    interfaceMenu_->clear();
    const std::vector<InterfaceMenuEntry>& entries = presenter_.openInterfaceMenu();
    for (std::size_t entry = 0; entry < entries.size(); ++entry) {
        // An "&" in a name is shown, not taken for a shortcut mark.
        QString caption = qText(entries[entry].caption);
        QAction* action =
            interfaceMenu_->addAction(caption.replace(QLatin1Char('&'), QStringLiteral("&&")));
        action->setCheckable(true);
        action->setChecked(entries[entry].ticked);
        action->setEnabled(entries[entry].choice.has_value());
        connect(action, &QAction::triggered, this,
                [this, entry] { presenter_.interfaceMenuChosen(entry); });
    }
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
        grip_.beginResize(
            sizingEdgesAt(size(), qMargins(kSizingBorder), event->position().toPoint()),
            globalPosition(event));
    }
}

void MonitorWindow::mouseMoveEvent(QMouseEvent* event)
{
    if (!grip_.follow(globalPosition(event))) {
        setCursor(sizingCursor(
            sizingEdgesAt(size(), qMargins(kSizingBorder), event->position().toPoint())));
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

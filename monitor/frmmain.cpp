#include "monitor/frmmain.h"

#include <qdrawutil.h>

#include <QAction>
#include <QCloseEvent>
#include <QDate>
#include <QFrame>
#include <QLocale>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScopedValueRollback>
#include <cstdio>
#include <exception>

#include "monitor/core/GraphGeometry.h"
#include "monitor/core/MainLayout.h"
#include "platform/Module1.h"
#include "platform/core/Twips.h"
#include "platform/core/WindowBounds.h"
#include "platform/modMisc.h"
#include "settings/SettingsStore.h"
#include "settings/StartupSettings.h"
#include "settings/core/ProgramVariables.h"
#include "settings/core/TextConversions.h"
#include "stats/core/CIpHelper.h"

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
constexpr int kDesignPicture1Height = 2040;
constexpr int kDesignpicdisplayHeight = 1980;
constexpr int kDesignpicbufferWidth = 4560;
constexpr int kDesignpicbufferHeight = 2040;
constexpr int kDesignLabel8Top = 2100;
constexpr int kDesignLabel8Width = 5610;
constexpr double kDesignLabel8Points = 9.75;

int Px(double twips) { return TwipsToPixels(twips); }

// Start-up skips a step that fails and goes on with the next one, silently.
template <typename Step>
void Guarded(Step&& step) noexcept
{
    try {
        step();
    } catch (const std::exception&) {
    }
}

QPoint GlobalPosition(const QMouseEvent* event) { return event->globalPosition().toPoint(); }

}  // namespace

frmmain::frmmain(ProgramVariables& vars, SettingsStore& store, frmmainServices services,
                 QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint),
      vars_(vars),
      store_(store),
      services_(std::move(services)),
      decimalSeparator_(QLocale::system().decimalPoint().toStdString()),
      picbuffer(QSize(Px(kDesignpicbufferWidth), Px(kDesignpicbufferHeight))),
      tray_(this),
      grip_(*this)
{
    setWindowTitle(kProgramName);
    setMouseTracking(true);  // the sizing border shows where it resizes
    resize(Px(kDesignClientWidth) + kSizingBorder.left() + kSizingBorder.right(),
           Px(kDesignClientHeight) + kSizingBorder.top() + kSizingBorder.bottom());

    Picture1 = new QFrame(this);
    Picture1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Picture1->setLineWidth(kPanelBorder);
    Picture1->setGeometry(kSizingBorder.left(), kSizingBorder.top(), Px(kDesignClientWidth),
                          Px(kDesignPicture1Height));

    picdisplay = new GraphDisplay(Picture1);
    picdisplay->Place(QRect(kPanelBorder, kPanelBorder + Px(kpicdisplayTop), Px(kpicdisplayWidth),
                            Px(kDesignpicdisplayHeight)));
    picdisplay->installEventFilter(this);

    Label8 = new QLabel(this);
    Label8->setAlignment(Qt::AlignCenter);
    Label8->setAutoFillBackground(true);
    Label8->setBackgroundRole(QPalette::Base);  // the system window colour
    Label8->setForegroundRole(QPalette::Text);  // and window-text colour
    QFont labelFont(QStringLiteral("Tahoma"));
    labelFont.setPointSizeF(kDesignLabel8Points);
    Label8->setFont(labelFont);
    Label8->setGeometry(kSizingBorder.left(), kSizingBorder.top() + Px(kDesignLabel8Top),
                        Px(kDesignLabel8Width), Px(kLabel8Height));
    Label8->installEventFilter(this);

    menu = new QMenu(this);
    options = menu->addAction(QStringLiteral("Inställningar"));
    quit = menu->addAction(QStringLiteral("Avsluta"));
    connect(options, &QAction::triggered, this, &frmmain::OnOptions);
    connect(quit, &QAction::triggered, this, &frmmain::OnQuit);

    connect(&tray_, &TrayIcon::activated, this, &frmmain::OnTrayActivated);

    Timer2 = new QTimer(this);
    Timer2->setInterval(kTickMilliseconds);
    connect(Timer2, &QTimer::timeout, this, &frmmain::SampleTraffic);
    Timer2->start();
}

frmmain::~frmmain() = default;

void frmmain::StartUp()
{
    StartupSettings startup;
    Guarded([&] {
        const QString today =
            services_.todayLongDate.isEmpty()
                ? QLocale::system().toString(QDate::currentDate(), QLocale::LongFormat)
                : services_.todayLongDate;
        startup = LoadStartupSettings(store_, vars_, today);
    });
    Guarded([&] {
        if (startup.TransparencyLevel) {
            if (const auto alpha = TransparencyAlpha(*startup.TransparencyLevel)) {
                SetTransparency(this, *alpha);
            }
        }
    });
    Guarded([&] { setBufferBackground(vars_.BGColor); });
    Guarded([&] {
        setMinimumSize(kMinWindowWidth, kMinWindowHeight);
        setMaximumSize(kMaxWindowWidth, kMaxWindowHeight);
    });
    Guarded([&] {
        const WindowPlacement& at = startup.placement;
        if (vars_.OnTop) {
            MakeTopMost(this, at.left, at.top, at.width, at.height);
        } else {
            Place(at.left, at.top, at.width, at.height);
        }
    });
    Guarded([&] { LayOut(); });
    Guarded([&] {
        if (services_.tableSource) {
            IpHelper = std::make_unique<CIpHelper>(
                services_.tableSource, [this](std::string_view text) { ShowMessage(text); });
        }
    });
    Guarded([&] { tray_.Add(kStartupTrayImage, kProgramName); });
    show();
}

void frmmain::Place(int32_t left, int32_t top, int32_t width, int32_t height)
{
    move(Px(left), Px(top));
    const WindowSize bounded = ClampWindowSize({Px(width), Px(height)});
    resize(bounded.cx, bounded.cy);
}

void frmmain::SampleTraffic()
{
    if (sampling_ || ended_ || !IpHelper) {
        return;
    }
    const QScopedValueRollback<bool> running(sampling_, true);
    IpHelper->Interfaces();  // only for the snapshot it takes
    const TickTexts texts = tick_.Sample(IpHelper->BytesReceived(), IpHelper->BytesSent(),
                                         vars_.DLtot, vars_.ULtot, decimalSeparator_);
    Label8->setText(QString::fromStdString(texts.label));
    tray_.Modify(texts.trayImage, QString::fromStdString(TipText(texts.tip)));
    draw(false);
}

void frmmain::draw(bool refresh)
{
    if (!refresh) {
        histories_.Advance(tick_.DLdelta(), tick_.ULdelta());
    }
    if (HiddenByUser_) {
        return;
    }
    const QRect changed = picbuffer.PaintFrame(histories_, GraphScale(vars_.ConnectionSpeed),
                                               vars_.DLColor, vars_.ULColor, picdisplay->image());
    if (!changed.isEmpty()) {
        picdisplay->update(changed);
    }
}

void frmmain::setBufferBackground(int32_t colour) { picbuffer.SetBackground(colour); }

void frmmain::nudgeSize()
{
    // Height first, then width, one pixel (15 twips) each; both from the size
    // before the nudge, as a resize of a shown window may land later.
    const QSize before = size();
    resize(before.width(), before.height() + 1);
    resize(before.width() + 1, before.height() + 1);
}

void frmmain::LayOut()
{
    const MainLayout layout =
        LayoutForSize(static_cast<int32_t>(PixelsToTwips(width())),
                      static_cast<int32_t>(PixelsToTwips(height())), vars_.ExtraGraphHeight);
    const int clientWidth = std::max(0, width() - kSizingBorder.left() - kSizingBorder.right());

    // Picture1 is docked to the top, always as wide as the client area.
    QRect panel = Picture1->geometry();
    panel.setWidth(clientWidth);
    if (layout.Picture1Height) {
        panel.setHeight(Px(static_cast<double>(*layout.Picture1Height)));
    }
    Picture1->setGeometry(panel);

    QRect graph = picdisplay->geometry();
    graph.moveLeft(kPanelBorder + Px(static_cast<double>(layout.picdisplayLeft)));
    if (layout.picdisplayHeight) {
        graph.setHeight(Px(static_cast<double>(*layout.picdisplayHeight)));
    }
    picdisplay->Place(graph);

    if (layout.picbufferHeight) {
        picbuffer.SetOuterSize(
            QSize(picbuffer.outerSize().width(), Px(static_cast<double>(*layout.picbufferHeight))));
    }

    QRect line = Label8->geometry();
    line.moveTop(kSizingBorder.top() + Px(static_cast<double>(layout.Label8Top)));
    if (layout.Label8Width) {
        line.setWidth(Px(static_cast<double>(*layout.Label8Width)));
    }
    Label8->setGeometry(line);
    if (layout.Label8FontPoints && Label8->font().pointSizeF() != *layout.Label8FontPoints) {
        QFont font = Label8->font();
        font.setPointSize(*layout.Label8FontPoints);
        Label8->setFont(font);
    }

    draw(true);
}

void frmmain::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const WindowSize bounded = ClampWindowSize({width(), height()});
    if (bounded.cx != width() || bounded.cy != height()) {
        resize(bounded.cx, bounded.cy);
    }
    LayOut();
}

void frmmain::OnTrayActivated(QSystemTrayIcon::ActivationReason reason)
{
    const bool toggles = reason == QSystemTrayIcon::DoubleClick ||
                         (services_.singleActivationToggles && reason == QSystemTrayIcon::Trigger);
    if (!toggles || ended_) {
        return;
    }
    if (isVisible()) {
        HiddenByUser_ = true;
        hide();
    } else {
        show();
        HiddenByUser_ = false;
        raise();
        activateWindow();
    }
}

void frmmain::OnOptions()
{
    // Deleted only after exec() returns, whatever the dialog does on close.
    QPointer<frmoptions> dialog = new frmoptions(vars_, store_, *this, services_.autostart, this);
    dialog->exec();
    delete dialog.data();
}

void frmmain::OnQuit()
{
    if (ended_) {
        return;
    }
    // Every value is tried even after a failure, so as much as possible is kept.
    bool saved = true;
    const auto save = [&](const QString& key, int64_t value) {
        saved = store_.WriteSetting(QStringLiteral("setting"), key,
                                    QString::fromStdString(IntegerToText(value))) &&
                saved;
    };
    save(QStringLiteral("DLtot"), vars_.DLtot);
    save(QStringLiteral("ULtot"), vars_.ULtot);
    // The placement as it is now, also while the window is hidden.
    const QRect outer = frameGeometry();
    save(QStringLiteral("windowsposx"), PixelsToTwips(outer.x()));
    save(QStringLiteral("windowsposy"), PixelsToTwips(outer.y()));
    save(QStringLiteral("windowswidth"), PixelsToTwips(outer.width()));
    save(QStringLiteral("windowsheight"), PixelsToTwips(outer.height()));
    tray_.Delete();
    if (!saved) {
        std::fprintf(stderr, "kuvell: the totals and the window placement were not saved to %s\n",
                     qPrintable(store_.filePath()));
    }
    End(saved ? 0 : 1);
}

void frmmain::EndWithoutSaving()
{
    if (ended_) {
        return;
    }
    tray_.Delete();
    End(0);
}

void frmmain::End(int status)
{
    ended_ = true;
    Timer2->stop();
    hide();
    if (services_.exitProgram) {
        services_.exitProgram(status);
    }
}

void frmmain::ShowMessage(std::string_view text)
{
    const QString message = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    if (services_.showMessage) {
        services_.showMessage(message);
    } else {
        QMessageBox::warning(this, kProgramName, message);
    }
}

void frmmain::closeEvent(QCloseEvent* event)
{
    event->accept();
    EndWithoutSaving();
}

bool frmmain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != picdisplay && watched != Label8) {
        return QWidget::eventFilter(watched, event);
    }
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (watched == Label8 || mouse->button() == Qt::LeftButton) {
                grip_.BeginMove(GlobalPosition(mouse));
            } else if (mouse->button() == Qt::RightButton) {
                menu->popup(GlobalPosition(mouse));
            }
            return true;
        }
        case QEvent::MouseMove:
            return grip_.Follow(GlobalPosition(static_cast<QMouseEvent*>(event)));
        case QEvent::MouseButtonRelease:
            grip_.End();
            return true;
        default:
            return false;
    }
}

void frmmain::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        grip_.BeginResize(SizingEdgesAt(size(), kSizingBorder, event->position().toPoint()),
                          GlobalPosition(event));
    }
}

void frmmain::mouseMoveEvent(QMouseEvent* event)
{
    if (!grip_.Follow(GlobalPosition(event))) {
        setCursor(SizingCursor(SizingEdgesAt(size(), kSizingBorder, event->position().toPoint())));
    }
}

void frmmain::mouseReleaseEvent(QMouseEvent*) { grip_.End(); }

void frmmain::paintEvent(QPaintEvent*)
{
    // The sizing border looks like the raised frame of a window.
    QPainter painter(this);
    qDrawWinPanel(&painter, rect(), palette(), false);
}

}  // namespace kuvell

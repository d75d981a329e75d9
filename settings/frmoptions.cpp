#include "settings/frmoptions.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QCoreApplication>
#include <QFont>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QStyle>
#include <cmath>
#include <utility>

#include "platform/Autostart.h"
#include "platform/Colours.h"
#include "platform/Module1.h"
#include "platform/core/Twips.h"
#include "platform/modMisc.h"
#include "settings/BannerPicture.h"
#include "settings/BannerView.h"
#include "settings/ColourSwatch.h"
#include "settings/MainWindowAccess.h"
#include "settings/SettingsStore.h"
#include "settings/core/ProgramVariables.h"
#include "settings/core/TextConversions.h"
#include "settings/core/modMath.h"

namespace kuvell {

namespace {

constexpr int kClientWidthTwips = 4545;
constexpr int kClientHeightTwips = 3555;

constexpr Qt::WindowFlags kToolWindow = Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                        Qt::WindowCloseButtonHint |
                                        Qt::MSWindowsFixedSizeDialogHint;

const QString kOptions = QStringLiteral("options");
const QString kSetting = QStringLiteral("setting");

QString IntegerText(int64_t value) { return QString::fromStdString(IntegerToText(value)); }
QString FlagText(bool ticked) { return ticked ? QStringLiteral("1") : QStringLiteral("0"); }

void SetCheckedQuietly(QCheckBox* box, bool ticked)
{
    const QSignalBlocker blocker(box);
    box->setChecked(ticked);
}

int32_t Twips(int pixels) { return static_cast<int32_t>(PixelsToTwips(pixels)); }

}  // namespace

frmoptions::frmoptions(ProgramVariables& vars, SettingsStore& store, MainWindowAccess& mainWindow,
                       AutostartTarget autostart, QWidget* parent)
    : QDialog(parent != nullptr ? parent : mainWindow.mainWindow(), kToolWindow),
      vars_(vars),
      store_(store),
      mainWindow_(mainWindow),
      autostart_(std::move(autostart)),
      bannerPicture_(DrawBanner())
{
    setWindowTitle(QStringLiteral("设置"));
    setModal(true);
    QFont tahoma(QStringLiteral("Tahoma"));  // fontconfig substitutes where it is missing
    tahoma.setPointSizeF(8.25);
    setFont(tahoma);
    setFixedSize(TwipsToPixels(kClientWidthTwips), TwipsToPixels(kClientHeightTwips));
    BuildControls();
    Load();
}

frmoptions::~frmoptions() = default;

// Each step stands alone: a stored text that does not convert leaves its
// control as it was built, and the next step runs.
void frmoptions::Load()
{
    const auto graphics =
        TextToInt16(store_.ReadSetting(kOptions, QStringLiteral("graphics"), QStringLiteral("0"))
                        .toStdString());
    if (graphics && (*graphics == 0 || *graphics == 1)) {
        Check3->setChecked(*graphics == 1);
    }

    Label9->setText(QStringLiteral("信息统计于 ") + QString::fromStdString(vars_.InstallDate));

    // The colour picker reports a cancel as an invalid colour: Swatch_Click
    // takes that as a failure and changes nothing.

    const auto level =
        TextToInt16(store_.ReadSetting(kOptions, QStringLiteral("visibility"), QStringLiteral("9"))
                        .toStdString());
    if (level && *level >= 0 && *level < Combo1->count()) {
        {
            const QSignalBlocker blocker(Combo1);
            Combo1->setCurrentIndex(*level);
        }
        Combo1_Click();
    }

    if (store_.ReadSetting(kSetting, QStringLiteral("autostart"), QStringLiteral("0")) ==
        QStringLiteral("1")) {
        SetCheckedQuietly(Check2, true);
        Check2_Click();
    }

    PlaceCentredOnTop();

    Text1->setText(IntegerText(vars_.ConnectionSpeed));

    const std::string separator = DecimalSeparator().toStdString();
    Label5->setText(QString::fromStdString(ByteCountLine(vars_.DLtot, separator)));
    Label6->setText(QString::fromStdString(ByteCountLine(vars_.ULtot, separator)));

    swatches_[0].swatch->SetColour(ColourFromBgr(vars_.DLColor));
    swatches_[1].swatch->SetColour(ColourFromBgr(vars_.ULColor));
    swatches_[2].swatch->SetColour(ColourFromBgr(vars_.BGColor));

    if (vars_.OnTop) {
        Check1->setChecked(true);
    }

    SetNumbersOnly(Text1, 1);
}

// Centred on the screen the main window is on, in the topmost band.
void frmoptions::PlaceCentredOnTop()
{
    const QWidget* owner = parentWidget();
    QScreen* screen = owner != nullptr ? owner->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    const QRect centred =
        QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), screen->geometry());
    MakeTopMost(this, Twips(centred.left()), Twips(centred.top()), Twips(centred.width()),
                Twips(centred.height()));
}

QString frmoptions::DecimalSeparator() const { return QLocale().decimalPoint(); }

void frmoptions::Command2_Click(int index)
{
    for (int page = 0; page < static_cast<int>(pages_.size()); ++page) {
        pages_[page]->setVisible(page == index);
    }
    const QPointer<frmoptions> self(this);
    QCoreApplication::processEvents();  // the new page paints before the sweep starts
    if (self) {
        RevealBanner();
    }
}

// Builds the banner up from left to right: every step paints the rest of its
// row in the colour of the column reached, then lets the event loop run, so the
// timer keeps ticking and clicks still arrive. A page switch meanwhile runs a
// whole sweep of its own, after which this one carries on. Once the dialog is
// hidden or gone nothing more is drawn: after each yield only locals are used
// until the guard says the dialog still exists.
// The positions run from 1 to the width and height, so column 0 and row 0 stay
// white until the finished picture arrives, and the last column and row lie
// just outside the picture: they read as white and draw nothing.
void frmoptions::RevealBanner()
{
    const QPointer<frmoptions> self(this);
    BannerView* const view = Picture8;
    const QImage picture = bannerPicture_;
    for (int x = 1; x <= BannerView::kDrawableWidth; ++x) {
        for (int y = 1; y <= BannerView::kDrawableHeight; ++y) {
            QCoreApplication::processEvents();
            if (!self || !self->isVisible()) {
                return;
            }
            const QRgb colour = picture.valid(x, y) ? picture.pixel(x, y) : qRgb(255, 255, 255);
            view->DrawRowFrom(x, y, colour);
        }
    }
    view->SetPicture(picture);
}

void frmoptions::Check2_Click()
{
    const bool wanted = Check2->isChecked();
    const QString executable =
        autostart_.executablePath.isEmpty() ? RunningExecutablePath() : autostart_.executablePath;
    const bool done = wanted ? WriteRunValue(autostart_.entryPath, executable)
                             : DeleteRunValue(autostart_.entryPath);
    if (!done) {
        // The box shows what is really there, so OK never stores a choice that
        // did not take effect.
        SetCheckedQuietly(Check2, !wanted);
    }
}

void frmoptions::Combo1_Click()
{
    const int index = Combo1->currentIndex();
    QWidget* const window = mainWindow_.mainWindow();
    if (const auto alpha = TransparencyAlpha(index); alpha && window != nullptr) {
        SetTransparency(window, *alpha);
    }
    store_.WriteSetting(kOptions, QStringLiteral("visibility"), IntegerText(index));
}

void frmoptions::Swatch_Click(const SwatchBinding& binding)
{
    const QPointer<frmoptions> self(this);
    const QColor picked = QColorDialog::getColor(binding.swatch->Colour(), this);
    if (!self || !picked.isValid()) {
        return;
    }
    binding.swatch->SetColour(picked);
    int32_t& colour = vars_.*binding.colour;
    colour = BgrFromColour(binding.swatch->Colour());
    // Like a cancel, a failed store ends the handler: nothing further changes.
    if (!store_.WriteSetting(kSetting, QLatin1String(binding.key), IntegerText(colour))) {
        return;
    }
    if (binding.isBackground) {
        mainWindow_.setBufferBackground(vars_.BGColor);
    }
}

void frmoptions::Command3_Click()
{
    const QString typed = Text1->text();
    if (typed.isEmpty()) {
        return;
    }
    const auto value = TextToNumber(typed.toStdString());
    if (!value || !std::isfinite(*value)) {
        return;  // more digits than a double holds: nothing sensible to show
    }
    Text3->setText(
        QString::fromStdString(NumberToText(*value / 1000000.0, DecimalSeparator().toStdString())));
}

void frmoptions::MarkSpeedField(bool invalid)
{
    Text1->setProperty("invalidInput", invalid);
    Text1->style()->unpolish(Text1);  // re-evaluates the style sheet's property selector
    Text1->style()->polish(Text1);
    if (invalid) {
        Text1->setFocus(Qt::OtherFocusReason);
        Text1->selectAll();
    }
}

void frmoptions::Command1_Click()
{
    // An empty box or digits beyond 32 bits would store a speed that start-up
    // cannot read back: nothing is applied, and the box says why.
    const auto speed = TextToInt32(Text1->text().toStdString());
    if (!speed) {
        MarkSpeedField(true);
        return;
    }
    vars_.ConnectionSpeed = *speed;
    store_.WriteSetting(kSetting, QStringLiteral("autostart"), FlagText(Check2->isChecked()));
    store_.WriteSetting(kOptions, QStringLiteral("graphics"), FlagText(Check3->isChecked()));
    vars_.ExtraGraphHeight = Check3->isChecked() ? kGraphOnlyExtraHeight : int16_t{0};
    mainWindow_.nudgeSize();
    store_.WriteSetting(kSetting, QStringLiteral("connectionspeed"), Text1->text());
    ApplyOnTop();
    accept();
}

void frmoptions::ApplyOnTop()
{
    QWidget* const window = mainWindow_.mainWindow();
    // The routines take the outer rectangle, so the window stays where it is.
    const QRect rect = window != nullptr ? window->frameGeometry() : QRect();
    const int32_t left = Twips(rect.left());
    const int32_t top = Twips(rect.top());
    const int32_t width = Twips(rect.width());
    const int32_t height = Twips(rect.height());
    if (Check1->isChecked()) {
        if (vars_.OnTop) {
            return;
        }
        vars_.OnTop = true;
        if (window != nullptr) {
            MakeTopMost(window, left, top, width, height);
        }
        store_.WriteSetting(kSetting, QStringLiteral("ontop"), QStringLiteral("true"));
        return;
    }
    if (window != nullptr) {
        MakeNotTopMost(window, left, top, width, height);
    }
    if (vars_.OnTop) {
        vars_.OnTop = false;
        store_.WriteSetting(kSetting, QStringLiteral("ontop"), QStringLiteral("false"));
    }
}

}  // namespace kuvell

// SPDX-License-Identifier: MIT
#include "settings/SettingsDialog.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
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
#include <QTimer>
#include <cmath>
#include <utility>

#include "platform/Autostart.h"
#include "platform/WindowOpacity.h"
#include "platform/WindowRoutines.h"
#include "platform/core/Twips.h"
#include "settings/BannerPicture.h"
#include "settings/BannerView.h"
#include "settings/ColourSwatch.h"
#include "settings/Colours.h"
#include "settings/MainWindowAccess.h"
#include "settings/core/ByteCountFormat.h"
#include "settings/core/ProgramVariables.h"
#include "settings/core/TextConversions.h"

namespace kuvell {

namespace {

constexpr int kClientWidthTwips = 4545;
constexpr int kClientHeightTwips = 3555;

constexpr Qt::WindowFlags kToolWindow = Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                        Qt::WindowCloseButtonHint |
                                        Qt::MSWindowsFixedSizeDialogHint;

QString integerText(int64_t value) { return QString::fromStdString(integerToText(value)); }

void setCheckedQuietly(QCheckBox* box, bool ticked)
{
    const QSignalBlocker blocker(box);
    box->setChecked(ticked);
}

int32_t twips(int pixels) { return static_cast<int32_t>(pixelsToTwips(pixels)); }

}  // namespace

SettingsDialog::SettingsDialog(ProgramVariables& vars, KeyValueStore& store,
                               MainWindowAccess& mainWindow, AutostartTarget autostart,
                               QWidget* parent)
    : QDialog(parent != nullptr ? parent : mainWindow.mainWindow(), kToolWindow),
      vars_(vars),
      store_(store),
      mainWindow_(mainWindow),
      autostart_(std::move(autostart)),
      bannerPicture_(drawBanner())
{
    setWindowTitle(QStringLiteral("设置"));
    setModal(true);
    QFont tahoma(QStringLiteral("Tahoma"));  // fontconfig substitutes where it is missing
    tahoma.setPointSizeF(8.25);
    setFont(tahoma);
    setFixedSize(twipsToPixels(kClientWidthTwips), twipsToPixels(kClientHeightTwips));
    buildControls();
    sweepTimer_ = new QTimer(this);
    sweepTimer_->setInterval(0);
    connect(sweepTimer_, &QTimer::timeout, this, [this] { sweepBanner(); });
    load();
}

SettingsDialog::~SettingsDialog() = default;

// Each step stands alone: a stored text that does not convert leaves its
// control as it was built, and the next step runs.
void SettingsDialog::load()
{
    namespace keys = settingkeys;
    if (const auto graphOnly = readValue(store_, keys::graphOnly)) {
        graphOnlyBox_->setChecked(*graphOnly);
    }

    installDateLabel_->setText(QStringLiteral("信息统计于 ") +
                               QString::fromStdString(vars_.installDate));

    // The colour picker reports a cancel as an invalid colour: pickColour
    // takes that as a failure and changes nothing.

    const auto level = readValue(store_, keys::transparencyLevel);
    if (level && *level >= 0 && *level < opacityBox_->count()) {
        {
            const QSignalBlocker blocker(opacityBox_);
            opacityBox_->setCurrentIndex(*level);
        }
        applyTransparency(false);
    }

    if (readValue(store_, keys::startAtLogin).value_or(false)) {
        setCheckedQuietly(startAtLoginBox_, true);
        applyStartAtLogin();
    }

    placeCentredOnTop();

    speedField_->setText(integerText(vars_.connectionSpeed));

    const std::string separator = decimalSeparator().toStdString();
    downloadTotalLabel_->setText(
        QString::fromStdString(byteCountLine(vars_.downloadTotal, separator)));
    uploadTotalLabel_->setText(QString::fromStdString(byteCountLine(vars_.uploadTotal, separator)));

    swatches_[0].swatch->setColour(colourFromBgr(vars_.downloadColour));
    swatches_[1].swatch->setColour(colourFromBgr(vars_.uploadColour));
    swatches_[2].swatch->setColour(colourFromBgr(vars_.backgroundColour));

    if (vars_.onTop) {
        onTopBox_->setChecked(true);
    }

    setNumbersOnly(speedField_, 1);
}

// Centred on the screen the main window is on, in the topmost band.
void SettingsDialog::placeCentredOnTop()
{
    const QWidget* owner = parentWidget();
    QScreen* screen = owner != nullptr ? owner->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    const QRect centred =
        QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), screen->geometry());
    makeTopMost(this, twips(centred.left()), twips(centred.top()), twips(centred.width()),
                twips(centred.height()));
}

QString SettingsDialog::decimalSeparator() const { return QLocale().decimalPoint(); }

void SettingsDialog::showPage(int index)
{
    for (int page = 0; page < static_cast<int>(pages_.size()); ++page) {
        pages_[page]->setVisible(page == index);
    }
    revealBanner();
}

// The sweep runs from a timer, one step per event, so the new page paints
// before its first step, the sample timer keeps ticking and clicks still
// arrive. A page switch meanwhile starts the sweep over instead of running one
// inside the other: a flood of clicks costs one sweep, never a deep stack.
void SettingsDialog::revealBanner()
{
    sweepColumn_ = 1;
    sweepRow_ = 1;
    sweepTimer_->start();
}

// One step: paints the rest of row y in the colour of column x, so the banner
// builds up from left to right.
// The positions run from 1 to the width and height, so column 0 and row 0 stay
// white until the finished picture arrives, and the last column and row lie
// just outside the picture: they read as white and draw nothing.
void SettingsDialog::sweepBanner()
{
    if (!isVisible()) {
        sweepTimer_->stop();  // nothing is drawn into a dialog that was closed
        return;
    }
    const int x = sweepColumn_;
    const int y = sweepRow_;
    const QRgb colour =
        bannerPicture_.valid(x, y) ? bannerPicture_.pixel(x, y) : qRgb(255, 255, 255);
    bannerView_->drawRowFrom(x, y, colour);
    if (++sweepRow_ > BannerView::kDrawableHeight) {
        sweepRow_ = 1;
        ++sweepColumn_;
    }
    if (sweepColumn_ > BannerView::kDrawableWidth) {
        sweepTimer_->stop();
        bannerView_->setPicture(bannerPicture_);
    }
}

void SettingsDialog::applyStartAtLogin()
{
    const bool wanted = startAtLoginBox_->isChecked();
    const QString executable =
        autostart_.executablePath.isEmpty() ? runningExecutablePath() : autostart_.executablePath;
    const bool done = wanted ? writeRunValue(autostart_.entryPath, executable)
                             : deleteRunValue(autostart_.entryPath);
    if (!done) {
        // The box shows what is really there, so OK never stores a choice that
        // did not take effect.
        setCheckedQuietly(startAtLoginBox_, !wanted);
    }
}

void SettingsDialog::applyTransparency(bool userChoice)
{
    const int index = opacityBox_->currentIndex();
    QWidget* const window = mainWindow_.mainWindow();
    if (const auto alpha = transparencyAlpha(index); alpha && window != nullptr) {
        setTransparency(window, *alpha);
    }
    const Result saved = writeText(store_, settingkeys::transparencyLevel, integerToText(index));
    if (!saved && userChoice) {
        reportUnsaved(QStringLiteral("The transparency"), saved);
    }
}

void SettingsDialog::pickColour(const SwatchBinding& binding)
{
    const QPointer<SettingsDialog> self(this);
    const QColor picked = QColorDialog::getColor(binding.swatch->colour(), this);
    if (!self || !picked.isValid()) {
        return;
    }
    binding.swatch->setColour(picked);
    int32_t& colour = vars_.*binding.colour;
    colour = bgrFromColour(binding.swatch->colour());
    // Like a cancel, a failed store ends the handler: nothing further changes.
    if (const Result saved = writeText(store_, *binding.key, integerToText(colour)); !saved) {
        reportUnsaved(QStringLiteral("The colour"), saved);
        return;
    }
    if (binding.isBackground) {
        mainWindow_.setBufferBackground(vars_.backgroundColour);
    }
}

void SettingsDialog::reportUnsaved(const QString& what, const Result& result)
{
    mainWindow_.showMessage(QStringLiteral("%1 could not be saved to %2:\n%3.")
                                .arg(what, QString::fromStdString(store_.location()),
                                     QString::fromStdString(result.reason)));
}

void SettingsDialog::showSpeedInMegabytes()
{
    const QString typed = speedField_->text();
    if (typed.isEmpty()) {
        return;
    }
    const auto value = textToNumber(typed.toStdString());
    if (!value || !std::isfinite(*value)) {
        return;  // more digits than a double holds: nothing sensible to show
    }
    megabytesField_->setText(
        QString::fromStdString(numberToText(*value / 1000000.0, decimalSeparator().toStdString())));
}

void SettingsDialog::markSpeedField(bool invalid)
{
    speedField_->setProperty("invalidInput", invalid);
    speedField_->style()->unpolish(
        speedField_);  // re-evaluates the style sheet's property selector
    speedField_->style()->polish(speedField_);
    if (invalid) {
        speedField_->setFocus(Qt::OtherFocusReason);
        speedField_->selectAll();
    }
}

void SettingsDialog::acceptSettings()
{
    // An empty box or digits beyond 32 bits would store a speed that start-up
    // cannot read back: nothing is applied, and the box says why.
    const auto speed = textToInt32(speedField_->text().toStdString());
    if (!speed) {
        markSpeedField(true);
        return;
    }
    vars_.connectionSpeed = *speed;
    // Stored together in the end, in this order: a crash leaves all or none.
    std::vector<StoreChange> changes{
        changeOf(settingkeys::startAtLogin, flagText(startAtLoginBox_->isChecked())),
        changeOf(settingkeys::graphOnly, flagText(graphOnlyBox_->isChecked())),
    };
    vars_.extraGraphHeight = graphOnlyBox_->isChecked() ? kGraphOnlyExtraHeight : int16_t{0};
    mainWindow_.nudgeSize();
    changes.push_back(changeOf(settingkeys::connectionSpeed, speedField_->text().toStdString()));
    applyOnTop(changes);
    if (const Result saved = store_.writeTexts(changes); !saved) {
        reportUnsaved(QStringLiteral("The settings"), saved);
    }
    accept();
}

void SettingsDialog::applyOnTop(std::vector<StoreChange>& changes)
{
    QWidget* const window = mainWindow_.mainWindow();
    // The routines take the outer rectangle, so the window stays where it is.
    const QRect rect = window != nullptr ? window->frameGeometry() : QRect();
    const int32_t left = twips(rect.left());
    const int32_t top = twips(rect.top());
    const int32_t width = twips(rect.width());
    const int32_t height = twips(rect.height());
    if (onTopBox_->isChecked()) {
        if (vars_.onTop) {
            return;
        }
        vars_.onTop = true;
        if (window != nullptr) {
            makeTopMost(window, left, top, width, height);
        }
        changes.push_back(changeOf(settingkeys::onTop, "true"));
        return;
    }
    if (window != nullptr) {
        makeNotTopMost(window, left, top, width, height);
    }
    if (vars_.onTop) {
        vars_.onTop = false;
        changes.push_back(changeOf(settingkeys::onTop, "false"));
    }
}

}  // namespace kuvell

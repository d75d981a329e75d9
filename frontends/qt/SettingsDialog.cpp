// SPDX-License-Identifier: MIT
#include "frontends/qt/SettingsDialog.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFile>
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
#include <utility>

#include "frontends/qt/BannerPicture.h"
#include "frontends/qt/BannerView.h"
#include "frontends/qt/ColourSwatch.h"
#include "frontends/qt/Colours.h"
#include "frontends/qt/MainWindowAccess.h"
#include "frontends/qt/QtText.h"
#include "frontends/qt/WindowRoutines.h"
#include "platform/Autostart.h"
#include "platform/core/Twips.h"
#include "settings/core/DialogControls.h"

namespace kuvell {

namespace {

constexpr Qt::WindowFlags kToolWindow = Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                        Qt::WindowCloseButtonHint |
                                        Qt::MSWindowsFixedSizeDialogHint;

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
      autostart_(std::move(autostart)),
      bannerPicture_(drawBanner()),
      presenter_(vars, store, mainWindow, *this, *this)
{
    setWindowTitle(qText(kDialogCaption));
    setModal(true);
    QFont tahoma(QStringLiteral("Tahoma"));  // fontconfig substitutes where it is missing
    tahoma.setPointSizeF(kDialogFontPoints);
    setFont(tahoma);
    setFixedSize(twipsToPixels(kDialogClientTwips.width), twipsToPixels(kDialogClientTwips.height));
    buildControls();
    sweepTimer_ = new QTimer(this);
    sweepTimer_->setInterval(0);
    // One step per event, so the new page paints before the first step, the
    // sample timer keeps ticking and clicks still arrive.
    connect(sweepTimer_, &QTimer::timeout, this, [this] {
        if (!presenter_.sweepStep()) {
            sweepTimer_->stop();
        }
    });
    presenter_.load();
}

SettingsDialog::~SettingsDialog() = default;

void SettingsDialog::setGraphOnlyTicked(bool ticked) { setCheckedQuietly(graphOnlyBox_, ticked); }
bool SettingsDialog::graphOnlyTicked() const { return graphOnlyBox_->isChecked(); }
void SettingsDialog::setOnTopTicked(bool ticked) { setCheckedQuietly(onTopBox_, ticked); }
bool SettingsDialog::onTopTicked() const { return onTopBox_->isChecked(); }
void SettingsDialog::setStartAtLoginTicked(bool ticked)
{
    setCheckedQuietly(startAtLoginBox_, ticked);
}
bool SettingsDialog::startAtLoginTicked() const { return startAtLoginBox_->isChecked(); }

void SettingsDialog::selectTransparency(int index)
{
    const QSignalBlocker blocker(opacityBox_);
    opacityBox_->setCurrentIndex(index);
}

int SettingsDialog::selectedTransparency() const { return opacityBox_->currentIndex(); }

void SettingsDialog::setInstallDateText(std::string_view text)
{
    installDateLabel_->setText(qText(text));
}

void SettingsDialog::setTotalsTexts(std::string_view download, std::string_view upload)
{
    downloadTotalLabel_->setText(qText(download));
    uploadTotalLabel_->setText(qText(upload));
}

void SettingsDialog::setSwatchColour(Swatch swatch, int32_t bgr)
{
    swatches_[static_cast<std::size_t>(swatch)]->setColour(colourFromBgr(bgr));
}

void SettingsDialog::setSpeedText(std::string_view text) { speedField_->setText(qText(text)); }
std::string SettingsDialog::speedText() const { return speedField_->text().toStdString(); }
void SettingsDialog::setMegabytesText(std::string_view text)
{
    megabytesField_->setText(qText(text));
}

void SettingsDialog::markSpeedInvalid(bool invalid)
{
    speedField_->setProperty("invalidInput", invalid);
    // Re-evaluates the style sheet's property selector.
    speedField_->style()->unpolish(speedField_);
    speedField_->style()->polish(speedField_);
    if (invalid) {
        speedField_->setFocus(Qt::OtherFocusReason);
        speedField_->selectAll();
    }
}

void SettingsDialog::restrictSpeedToDigits() { setNumbersOnly(speedField_, 1); }

std::string SettingsDialog::decimalSeparator() const
{
    return QLocale().decimalPoint().toStdString();
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

void SettingsDialog::showPage(int index)
{
    for (int page = 0; page < static_cast<int>(pages_.size()); ++page) {
        pages_[page]->setVisible(page == index);
    }
}

void SettingsDialog::startSweep() { sweepTimer_->start(); }

// The last column and row lie just outside the picture: they read as white.
void SettingsDialog::drawBannerRowFrom(int x, int y)
{
    const QRgb colour =
        bannerPicture_.valid(x, y) ? bannerPicture_.pixel(x, y) : qRgb(255, 255, 255);
    bannerView_->drawRowFrom(x, y, colour);
}

void SettingsDialog::showWholeBanner() { bannerView_->setPicture(bannerPicture_); }

std::optional<int32_t> SettingsDialog::chooseColour(int32_t current)
{
    const QPointer<SettingsDialog> self(this);
    // The colour picker reports a cancel as an invalid colour.
    const QColor picked = QColorDialog::getColor(colourFromBgr(current), this);
    if (!self || !picked.isValid()) {
        return std::nullopt;
    }
    return bgrFromColour(picked);
}

Result SettingsDialog::enable()
{
    const std::string executable = autostart_.executablePath.isEmpty()
                                       ? runningExecutablePath()
                                       : QFile::encodeName(autostart_.executablePath).toStdString();
    const Result written =
        writeRunValue(QFile::encodeName(autostart_.entryPath).toStdString(), executable);
    if (!written) {
        qWarning("kuvell: could not write the autostart entry %s: %s",
                 qUtf8Printable(autostart_.entryPath), written.reason.c_str());
    }
    return written;
}

Result SettingsDialog::disable()
{
    return deleteRunValue(QFile::encodeName(autostart_.entryPath).toStdString());
}

}  // namespace kuvell

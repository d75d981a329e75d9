// SPDX-License-Identifier: MIT
#pragma once
// The settings dialog "设置". Create it, exec() it, delete it after exec() returns.
#include <QDialog>
#include <QImage>
#include <QString>
#include <array>
#include <cstdint>
#include <vector>

#include "settings/core/KeyValueStore.h"
#include "settings/core/SettingsDialogPresenter.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

namespace kuvell {

class MainWindowAccess;
struct ProgramVariables;
class BannerView;
class ColourSwatch;

struct AutostartTarget
{
    QString entryPath;       // the autostart entry to write or remove
    QString executablePath;  // what the entry starts; empty: the running executable, at each click
};

class SettingsDialog : public QDialog, private SettingsDialogView, private StartAtLogin
{
    Q_OBJECT
  public:
    // Runs the load sequence (every step guarded) before returning. Without a
    // parent the dialog is owned by the main window.
    SettingsDialog(ProgramVariables& vars, KeyValueStore& store, MainWindowAccess& mainWindow,
                   AutostartTarget autostart, QWidget* parent = nullptr);
    ~SettingsDialog() override;

  private:
    void buildControls();

    // SettingsDialogView
    void setGraphOnlyTicked(bool ticked) override;
    bool graphOnlyTicked() const override;
    void setOnTopTicked(bool ticked) override;
    bool onTopTicked() const override;
    void setStartAtLoginTicked(bool ticked) override;
    bool startAtLoginTicked() const override;
    void selectTransparency(int index) override;
    int selectedTransparency() const override;
    void setInstallDateText(std::string_view text) override;
    void setTotalsTexts(std::string_view download, std::string_view upload) override;
    void setSwatchColour(Swatch swatch, int32_t bgr) override;
    void setSpeedText(std::string_view text) override;
    std::string speedText() const override;
    void setMegabytesText(std::string_view text) override;
    void markSpeedInvalid(bool invalid) override;
    void restrictSpeedToDigits() override;
    std::string decimalSeparator() const override;
    void placeCentredOnTop() override;
    void showPage(int index) override;
    void startSweep() override;
    bool isShown() const override { return isVisible(); }
    void drawBannerRowFrom(int x, int y) override;
    void showWholeBanner() override;
    std::optional<int32_t> chooseColour(int32_t current) override;
    void closeAccepted() override { accept(); }

    // StartAtLogin
    Result enable() override;
    Result disable() override;

    const AutostartTarget autostart_;
    const QImage bannerPicture_;  // the picture the sweep reveals

    std::array<QPushButton*, 4> pageButtons_{};
    std::array<QWidget*, 4> pages_{};  // object names "Picture1" .. "Picture4"
    QPushButton* okButton_ = nullptr;
    QPushButton* megabytesButton_ = nullptr;
    QLineEdit* speedField_ = nullptr;
    QLineEdit* megabytesField_ = nullptr;
    QCheckBox* onTopBox_ = nullptr;
    QCheckBox* startAtLoginBox_ = nullptr;
    QCheckBox* graphOnlyBox_ = nullptr;
    QComboBox* opacityBox_ = nullptr;
    QLabel* downloadTotalLabel_ = nullptr;
    QLabel* uploadTotalLabel_ = nullptr;
    QLabel* installDateLabel_ = nullptr;
    BannerView* bannerView_ = nullptr;
    QTimer* sweepTimer_ = nullptr;
    std::array<ColourSwatch*, 3> swatches_{};  // download, upload, background
    SettingsDialogPresenter presenter_;
};

}  // namespace kuvell

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

class SettingsDialog : public QDialog
{
    Q_OBJECT
  public:
    // Runs the load sequence (every step guarded) before returning. Without a
    // parent the dialog is owned by the main window.
    SettingsDialog(ProgramVariables& vars, KeyValueStore& store, MainWindowAccess& mainWindow,
                   AutostartTarget autostart, QWidget* parent = nullptr);
    ~SettingsDialog() override;

  private:
    // One colour swatch: which shared colour and key it edits.
    struct SwatchBinding
    {
        ColourSwatch* swatch = nullptr;
        int32_t ProgramVariables::*colour = nullptr;
        const SettingKey<int32_t>* key = nullptr;
        bool isBackground = false;  // the background also re-clears graphBuffer_
    };

    void buildControls();
    void buildSettingsPage();
    void buildTrafficPage();
    void buildAboutPage();
    void buildHelpPage();
    void load();

    // Handlers, named after the control they serve. Code that sets a control
    // blocks its signals and calls the handler once, as a user's action would.
    void acceptSettings();
    void showPage(int index);
    void showSpeedInMegabytes();
    void applyStartAtLogin();
    // A failed store is shown to the user only when the user made the choice.
    void applyTransparency(bool userChoice);
    void pickColour(const SwatchBinding& binding);

    // Starts the banner sweep from its first step; a sweep under way starts over.
    void revealBanner();
    void sweepBanner();
    void markSpeedField(bool invalid);
    void placeCentredOnTop();
    void applyOnTop(std::vector<StoreChange>& changes);
    void reportUnsaved(const QString& what, const Result& result);
    QString decimalSeparator() const;

    ProgramVariables& vars_;
    KeyValueStore& store_;
    MainWindowAccess& mainWindow_;
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
    int sweepColumn_ = 1;  // the next step's pixel
    int sweepRow_ = 1;
    std::array<SwatchBinding, 3> swatches_{};  // download, upload, background
};

}  // namespace kuvell

#pragma once
// The settings dialog "设置". Create it, exec() it, delete it after exec() returns.
#include <QDialog>
#include <QImage>
#include <QString>
#include <array>
#include <cstdint>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kuvell {

class SettingsStore;
class MainWindowAccess;
struct ProgramVariables;
class BannerView;
class ColourSwatch;

struct AutostartTarget
{
    QString entryPath;       // the autostart entry to write or remove
    QString executablePath;  // what the entry starts; empty: the running executable, at each click
};

class frmoptions : public QDialog
{
    Q_OBJECT
  public:
    // Runs the load sequence (every step guarded) before returning. Without a
    // parent the dialog is owned by the main window.
    frmoptions(ProgramVariables& vars, SettingsStore& store, MainWindowAccess& mainWindow,
               AutostartTarget autostart, QWidget* parent = nullptr);
    ~frmoptions() override;

  private:
    // One colour swatch: which shared colour and key it edits.
    struct SwatchBinding
    {
        ColourSwatch* swatch = nullptr;
        int32_t ProgramVariables::*colour = nullptr;
        const char* key = nullptr;
        bool isBackground = false;  // the background also re-clears picbuffer
    };

    void BuildControls();
    void BuildSettingsPage();
    void BuildTrafficPage();
    void BuildAboutPage();
    void BuildHelpPage();
    void Load();

    // Handlers, named after the control they serve. Code that sets a control
    // blocks its signals and calls the handler once, as a user's action would.
    void Command1_Click();
    void Command2_Click(int index);
    void Command3_Click();
    void Check2_Click();
    void Combo1_Click();
    void Swatch_Click(const SwatchBinding& binding);

    void RevealBanner();
    void MarkSpeedField(bool invalid);
    void PlaceCentredOnTop();
    void ApplyOnTop();
    QString DecimalSeparator() const;

    ProgramVariables& vars_;
    SettingsStore& store_;
    MainWindowAccess& mainWindow_;
    const AutostartTarget autostart_;
    const QImage bannerPicture_;  // Picture9: the picture the sweep reveals

    std::array<QPushButton*, 4> Command2{};
    std::array<QWidget*, 4> pages_{};  // Picture1 .. Picture4
    QPushButton* Command1 = nullptr;
    QPushButton* Command3 = nullptr;
    QLineEdit* Text1 = nullptr;
    QLineEdit* Text3 = nullptr;
    QCheckBox* Check1 = nullptr;
    QCheckBox* Check2 = nullptr;
    QCheckBox* Check3 = nullptr;
    QComboBox* Combo1 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label9 = nullptr;
    BannerView* Picture8 = nullptr;
    std::array<SwatchBinding, 3> swatches_{};  // Picture5, Picture6, Picture7
};

}  // namespace kuvell

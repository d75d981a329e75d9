// SPDX-License-Identifier: MIT
// The settings dialog's controls: a click or a keystroke reaches the presenter,
// and what it decides reaches the widgets, the store and the main window.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "frontends/qt/ColourSwatch.h"
#include "frontends/qt/WindowRoutines.h"
#include "support/SettingsDialogFixture.h"

namespace kuvell {
using namespace testsupport;
namespace {

class ApplyTest : public OptionsDialogTest
{
  protected:
    void SetUp() override { loadVariables(); }

    void pressOk(SettingsDialog& dialog) { find<QPushButton>(dialog, "Command1")->click(); }
    static void type(SettingsDialog& dialog, const char* name, const QString& text)
    {
        auto* box = find<QLineEdit>(dialog, name);
        box->clear();
        QTest::keyClicks(box, text);
    }
};

TEST_F(ApplyTest, TheButtonsReadEachBoxAndTheSpeedAndOkCloses)
{
    const auto dialog = open();
    dialog->show();
    type(*dialog, "Text1", QStringLiteral("001024"));
    find<QPushButton>(*dialog, "Command3")->click();
    EXPECT_EQ(find<QLineEdit>(*dialog, "Text3")->text(), QStringLiteral("0.001024"));
    find<QCheckBox>(*dialog, "Check3")->click();
    pressOk(*dialog);

    EXPECT_EQ(vars.connectionSpeed, 1024);
    EXPECT_EQ(stored("setting", "connectionspeed"), QStringLiteral("001024"));
    EXPECT_EQ(stored("setting", "autostart"), QStringLiteral("0"));
    EXPECT_EQ(stored("options", "graphics"), QStringLiteral("1"));
    EXPECT_EQ(fakeMain.nudges, 1);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_FALSE(dialog->isVisible());
}

TEST_F(ApplyTest, ARefusedSpeedIsMarkedAndSelectedUntilTypedOver)
{
    const auto dialog = open();
    dialog->show();
    auto* speedField = find<QLineEdit>(*dialog, "Text1");
    type(*dialog, "Text1", QString());
    pressOk(*dialog);
    EXPECT_EQ(stored("setting", "connectionspeed"), kMissing);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_NE(dialog->result(), QDialog::Accepted);
    // The field is marked and ready to be typed over.
    EXPECT_TRUE(speedField->property("invalidInput").toBool());
    EXPECT_EQ(dialog->focusWidget(), speedField);
    EXPECT_EQ(speedField->selectedText(), speedField->text());
    type(*dialog, "Text1", QStringLiteral("1"));
    EXPECT_FALSE(speedField->property("invalidInput").toBool());
}

TEST_F(ApplyTest, TheOnTopTickPlacesTheMainWindowWhereItIs)
{
    QWidget* window = &fakeMain.window;
    makeTopMost(window, 1500, 1800, 3000, 2250);  // 100, 120, 200, 150 pixels
    for (const bool ticked : {false, true}) {
        const auto dialog = open();
        find<QCheckBox>(*dialog, "Check1")->click();
        pressOk(*dialog);
        EXPECT_EQ(isTopMost(window), ticked);
        EXPECT_EQ(stored("setting", "ontop"), QString::fromUtf8(ticked ? "true" : "false"));
    }
    // Whatever the band, the window keeps its place and only the OK nudges grow it.
    EXPECT_EQ(window->frameGeometry(), QRect(100, 120, 202, 152));
}

TEST_F(ApplyTest, PickingATransparencyAppliesAndStoresButTypingDoesNothing)
{
    const auto dialog = open();
    dialog->show();
    auto* combo = find<QComboBox>(*dialog, "Combo1");

    for (int step = 0; step < 9; ++step) {
        QTest::keyClick(combo, Qt::Key_Up);  // the user walks up to "10 %"
    }
    EXPECT_EQ(combo->currentIndex(), 0);
    EXPECT_NEAR(fakeMain.window.windowOpacity(), 26 / 255.0, 1e-9);
    EXPECT_EQ(stored("options", "visibility"), QStringLiteral("0"));

    // Typing an item's exact text and finishing the edit selects nothing.
    QLineEdit* edit = combo->lineEdit();
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("100 %"));
    QTest::keyClick(edit, Qt::Key_Return);
    edit->clearFocus();
    find<QLineEdit>(*dialog, "Text3")->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(combo->currentIndex(), 0);
    EXPECT_NEAR(fakeMain.window.windowOpacity(), 26 / 255.0, 1e-9);
    EXPECT_EQ(stored("options", "visibility"), QStringLiteral("0"));
    EXPECT_TRUE(dialog->isVisible());  // Return pressed no button either
}

TEST_F(ApplyTest, TheColourChooserAnswersItsSwatchAndACancelChangesNothing)
{
    const auto dialog = open();
    dialog->show();
    auto* download = find<ColourSwatch>(*dialog, "Picture5");
    answerColourDialog([](QColorDialog& picker) {
        picker.setCurrentColor(QColor(0, 0, 255));
        picker.accept();
    });
    QTest::mouseClick(download, Qt::LeftButton);
    EXPECT_EQ(download->colour(), QColor(0, 0, 255));
    EXPECT_EQ(vars.downloadColour, 16711680);
    EXPECT_EQ(stored("setting", "dlcolor"), QStringLiteral("16711680"));

    auto* upload = find<ColourSwatch>(*dialog, "Picture6");
    answerColourDialog([](QColorDialog& picker) {
        picker.setCurrentColor(QColor(1, 2, 3));
        picker.reject();
    });
    QTest::mouseClick(upload, Qt::LeftButton);
    EXPECT_EQ(upload->colour(), QColor(0, 255, 0));
    EXPECT_EQ(vars.uploadColour, 65280);
    EXPECT_EQ(stored("setting", "ulcolor"), kMissing);
    EXPECT_TRUE(fakeMain.bufferBackgrounds.empty());
}

TEST_F(ApplyTest, AStoreThatFailsIsReportedWithTheFileAndTheReason)
{
    const auto dialog = open();
    dialog->show();
    ASSERT_TRUE(QFile::remove(store.filePath()));
    ASSERT_TRUE(QDir().mkpath(store.filePath()));
    type(*dialog, "Text1", QStringLiteral("56000"));
    pressOk(*dialog);
    ASSERT_EQ(fakeMain.messages.size(), 1u);
    EXPECT_TRUE(fakeMain.messages[0].startsWith(
        QStringLiteral("The settings could not be saved to ") + store.filePath()))
        << fakeMain.messages[0].toStdString();
    EXPECT_TRUE(fakeMain.messages[0].contains(QStringLiteral("not a regular file")));
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
}

TEST_F(ApplyTest, StartAtLoginBoxWritesAndRemovesTheEntryAtOnce)
{
    const auto dialog = open();
    auto* startAtLoginBox = find<QCheckBox>(*dialog, "Check2");
    startAtLoginBox->click();
    EXPECT_TRUE(startAtLoginBox->isChecked());
    EXPECT_TRUE(entryText().contains(autostart.executablePath));
    startAtLoginBox->click();
    EXPECT_FALSE(startAtLoginBox->isChecked());
    EXPECT_FALSE(QFileInfo::exists(autostart.entryPath));

    // A folder where the entry should be: it cannot be written, and the box says so.
    ASSERT_TRUE(QDir().mkpath(autostart.entryPath + QStringLiteral("/content")));
    startAtLoginBox->click();
    EXPECT_FALSE(startAtLoginBox->isChecked());
}

}  // namespace
}  // namespace kuvell

// SPDX-License-Identifier: MIT
// The settings dialog's controls: what acts at once and what OK applies.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QLocale>
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
    static void setTicked(SettingsDialog& dialog, const char* name, bool ticked)
    {
        auto* box = find<QCheckBox>(dialog, name);
        if (box->isChecked() != ticked) {
            box->click();
        }
    }
};

TEST_F(ApplyTest, OkAppliesAndStoresTheChoicesThenCloses)
{
    const auto dialog = open();
    dialog->show();
    type(*dialog, "Text1", QStringLiteral("001024"));
    setTicked(*dialog, "Check3", true);
    pressOk(*dialog);

    EXPECT_EQ(vars.connectionSpeed, 1024);
    EXPECT_EQ(stored("setting", "connectionspeed"), QStringLiteral("001024"));
    EXPECT_EQ(stored("setting", "autostart"), QStringLiteral("0"));
    EXPECT_EQ(stored("options", "graphics"), QStringLiteral("1"));
    EXPECT_EQ(vars.extraGraphHeight, 265);
    EXPECT_EQ(fakeMain.nudges, 1);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_FALSE(dialog->isVisible());

    // Back to the normal layout; a speed of 0 is taken like any other.
    const auto again = open();
    EXPECT_TRUE(find<QCheckBox>(*again, "Check3")->isChecked());
    setTicked(*again, "Check3", false);
    type(*again, "Text1", QStringLiteral("0"));
    pressOk(*again);
    EXPECT_EQ(stored("options", "graphics"), QStringLiteral("0"));
    EXPECT_EQ(vars.extraGraphHeight, 0);
    EXPECT_EQ(vars.connectionSpeed, 0);
    EXPECT_EQ(stored("setting", "connectionspeed"), QStringLiteral("0"));
}

TEST_F(ApplyTest, OkWithAnEmptyOrOverlongSpeedStoresNothingAndStaysOpen)
{
    const auto dialog = open();
    dialog->show();
    auto* speedField = find<QLineEdit>(*dialog, "Text1");
    setTicked(*dialog, "Check3", true);
    for (const char* typed : {"", "2147483648", "99999999999999999999"}) {
        type(*dialog, "Text1", QString::fromUtf8(typed));
        pressOk(*dialog);
        EXPECT_EQ(vars.connectionSpeed, 1024000) << typed;
        EXPECT_EQ(stored("setting", "connectionspeed"), kMissing) << typed;
        EXPECT_EQ(stored("options", "graphics"), kMissing) << typed;
        EXPECT_EQ(vars.extraGraphHeight, 0) << typed;
        EXPECT_EQ(fakeMain.nudges, 0) << typed;
        EXPECT_TRUE(dialog->isVisible()) << typed;
        EXPECT_NE(dialog->result(), QDialog::Accepted) << typed;
        // The field is marked and ready to be typed over.
        EXPECT_TRUE(speedField->property("invalidInput").toBool()) << typed;
        EXPECT_EQ(dialog->focusWidget(), speedField) << typed;
        EXPECT_EQ(speedField->selectedText(), speedField->text()) << typed;
    }
    // Typing clears the mark; the largest 32-bit value is accepted.
    type(*dialog, "Text1", QStringLiteral("2147483647"));
    EXPECT_FALSE(speedField->property("invalidInput").toBool());
    pressOk(*dialog);
    EXPECT_EQ(vars.connectionSpeed, 2147483647);
    EXPECT_EQ(stored("setting", "connectionspeed"), QStringLiteral("2147483647"));
    EXPECT_FALSE(dialog->isVisible());
}

TEST_F(ApplyTest, AlwaysOnTopIsPlacedOnlyAsTheTickAndTheFlagSay)
{
    const auto okWith = [&](bool onTop, bool ticked, bool startsTopMost) {
        vars.onTop = onTop;
        ASSERT_TRUE(
            store.writeSetting(QStringLiteral("setting"), QStringLiteral("ontop"), kMissing));
        QWidget* window = &fakeMain.window;
        const int32_t l = 1500, t = 1800, w = 3000, h = 2250;  // 100, 120, 200, 150 pixels
        startsTopMost ? makeTopMost(window, l, t, w, h) : makeNotTopMost(window, l, t, w, h);
        const auto dialog = open();
        setTicked(*dialog, "Check1", ticked);
        pressOk(*dialog);
        // Whatever the band, the window keeps its place and only the OK nudge grows it.
        EXPECT_EQ(window->frameGeometry(), QRect(100, 120, 201, 151));
    };

    // Ticked and already on top: no placement call, so a window that is in fact
    // not in the band stays out of it, and nothing is stored.
    okWith(true, true, false);
    EXPECT_FALSE(isTopMost(&fakeMain.window));
    EXPECT_TRUE(vars.onTop);
    EXPECT_EQ(stored("setting", "ontop"), kMissing);

    okWith(false, true, false);
    EXPECT_TRUE(isTopMost(&fakeMain.window));
    EXPECT_TRUE(vars.onTop);
    EXPECT_EQ(stored("setting", "ontop"), QStringLiteral("true"));

    // Not ticked and already off: the window still leaves the band; nothing stored.
    okWith(false, false, true);
    EXPECT_FALSE(isTopMost(&fakeMain.window));
    EXPECT_FALSE(vars.onTop);
    EXPECT_EQ(stored("setting", "ontop"), kMissing);

    okWith(true, false, true);
    EXPECT_FALSE(isTopMost(&fakeMain.window));
    EXPECT_FALSE(vars.onTop);
    EXPECT_EQ(stored("setting", "ontop"), QStringLiteral("false"));
}

TEST_F(ApplyTest, EveryOkNudgesTheMainWindowOnce)
{
    const QSize before = fakeMain.window.size();
    for (int ok = 0; ok < 3; ++ok) {
        const auto dialog = open();
        pressOk(*dialog);
    }
    EXPECT_EQ(fakeMain.nudges, 3);
    EXPECT_EQ(fakeMain.window.size(), before + QSize(pixels(45), pixels(45)));
}

TEST_F(ApplyTest, SpeedInMillionsUsesTheLocaleSeparatorAndStoresNothing)
{
    const auto dialog = open();
    auto* megabytesField = find<QLineEdit>(*dialog, "Text3");
    auto* compute = find<QPushButton>(*dialog, "Command3");
    const struct
    {
        const char* typed;
        const char* shown;
    } cases[] = {{"1024000", "1.024"},
                 {"56000", "0.056"},
                 {"8000000", "8"},
                 {"001024", "0.001024"},
                 {"99999999999999999999", "100000000000000"}};
    for (const auto& speed : cases) {
        type(*dialog, "Text1", QString::fromUtf8(speed.typed));
        compute->click();
        EXPECT_EQ(megabytesField->text(), QString::fromUtf8(speed.shown)) << speed.typed;
    }
    type(*dialog, "Text1", QString());
    compute->click();
    EXPECT_EQ(megabytesField->text(), QStringLiteral("100000000000000"));  // unchanged

    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    type(*dialog, "Text1", QStringLiteral("1024000"));
    compute->click();
    QLocale::setDefault(previous);
    EXPECT_EQ(megabytesField->text(), QStringLiteral("1,024"));

    EXPECT_EQ(vars.connectionSpeed, 1024000);
    EXPECT_EQ(stored("setting", "connectionspeed"), kMissing);
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
    for (int step = 0; step < 4; ++step) {
        QTest::keyClick(combo, Qt::Key_Down);
    }
    EXPECT_EQ(combo->currentText(), QStringLiteral("50 %"));
    EXPECT_NEAR(fakeMain.window.windowOpacity(), 128 / 255.0, 1e-9);
    EXPECT_EQ(stored("options", "visibility"), QStringLiteral("4"));

    // Typing an item's exact text and finishing the edit selects nothing.
    QLineEdit* edit = combo->lineEdit();
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("100 %"));
    QTest::keyClick(edit, Qt::Key_Return);
    edit->clearFocus();
    find<QLineEdit>(*dialog, "Text3")->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(combo->currentIndex(), 4);
    EXPECT_NEAR(fakeMain.window.windowOpacity(), 128 / 255.0, 1e-9);
    EXPECT_EQ(stored("options", "visibility"), QStringLiteral("4"));
    EXPECT_TRUE(dialog->isVisible());  // Return pressed no button either
}

TEST_F(ApplyTest, APickedColourTakesEffectAndIsStoredAtOnce)
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
    EXPECT_TRUE(fakeMain.bufferBackgrounds.empty());

    auto* background = find<ColourSwatch>(*dialog, "Picture7");
    answerColourDialog([](QColorDialog& picker) {
        picker.setCurrentColor(QColor(255, 0, 0));
        picker.accept();
    });
    QTest::mouseClick(background, Qt::LeftButton);
    EXPECT_EQ(vars.backgroundColour, 255);
    EXPECT_EQ(stored("setting", "bgcolor"), QStringLiteral("255"));
    EXPECT_EQ(fakeMain.bufferBackgrounds, std::vector<int32_t>{255});

    // A pick applies even when the dialog is then left without OK.
    dialog->reject();
    EXPECT_EQ(stored("setting", "bgcolor"), QStringLiteral("255"));
}

TEST_F(ApplyTest, AColourThatCannotBeStoredStopsTheHandlerThere)
{
    const auto dialog = open();
    dialog->show();
    // A folder in the settings file's place: every write fails from here on.
    ASSERT_TRUE(QFile::remove(store.filePath()));
    ASSERT_TRUE(QDir().mkpath(store.filePath()));
    auto* background = find<ColourSwatch>(*dialog, "Picture7");
    answerColourDialog([](QColorDialog& picker) {
        picker.setCurrentColor(QColor(255, 0, 0));
        picker.accept();
    });
    ::testing::internal::CaptureStderr();
    QTest::mouseClick(background, Qt::LeftButton);
    const std::string printed = ::testing::internal::GetCapturedStderr();
    // The steps before the store ran; the one after it did not.
    EXPECT_EQ(background->colour(), QColor(255, 0, 0));
    EXPECT_EQ(vars.backgroundColour, 255);
    EXPECT_NE(printed.find("bgcolor"), std::string::npos) << printed;
    EXPECT_TRUE(fakeMain.bufferBackgrounds.empty());
    // The user is told, with the file and the reason.
    ASSERT_EQ(fakeMain.messages.size(), 1u);
    EXPECT_TRUE(fakeMain.messages[0].contains(store.filePath()))
        << fakeMain.messages[0].toStdString();
}

// OK used to drop every failed store; the choices still apply, but the user learns
// they were not kept, and a transparency picked by hand is reported the same way.
TEST_F(ApplyTest, OkAndATransparencyThatCannotBeStoredTellTheUser)
{
    const auto dialog = open();
    dialog->show();
    ASSERT_TRUE(fakeMain.messages.empty());
    ASSERT_TRUE(QFile::remove(store.filePath()));
    ASSERT_TRUE(QDir().mkpath(store.filePath()));

    auto* combo = find<QComboBox>(*dialog, "Combo1");
    combo->setCurrentIndex(4);
    emit combo->activated(4);
    ASSERT_EQ(fakeMain.messages.size(), 1u);
    EXPECT_TRUE(fakeMain.messages[0].startsWith(
        QStringLiteral("The transparency could not be saved to ") + store.filePath()))
        << fakeMain.messages[0].toStdString();
    EXPECT_NEAR(fakeMain.window.windowOpacity(), 128 / 255.0, 1e-9);

    type(*dialog, "Text1", QStringLiteral("56000"));
    pressOk(*dialog);
    ASSERT_EQ(fakeMain.messages.size(), 2u);
    EXPECT_TRUE(fakeMain.messages[1].startsWith(
        QStringLiteral("The settings could not be saved to ") + store.filePath()))
        << fakeMain.messages[1].toStdString();
    EXPECT_TRUE(fakeMain.messages[1].contains(QStringLiteral("not a regular file")));
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(vars.connectionSpeed, 56000);
    EXPECT_EQ(fakeMain.nudges, 1);

    // Opening the dialog rewrites the stored level by itself: that failure is only logged.
    const auto again = open();
    EXPECT_EQ(fakeMain.messages.size(), 2u);
}

TEST_F(ApplyTest, CancellingTheColourPickerChangesNothing)
{
    const auto dialog = open();
    dialog->show();
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

TEST_F(ApplyTest, StartAtLoginBoxWritesAndRemovesTheEntryAtOnce)
{
    const auto dialog = open();
    auto* startAtLoginBox = find<QCheckBox>(*dialog, "Check2");
    startAtLoginBox->click();
    EXPECT_TRUE(startAtLoginBox->isChecked());
    EXPECT_TRUE(entryText().contains(autostart.executablePath));
    startAtLoginBox->click();  // ticked twice over: still one entry
    startAtLoginBox->click();
    EXPECT_TRUE(QFileInfo::exists(autostart.entryPath));
    EXPECT_EQ(QDir(QFileInfo(autostart.entryPath).path()).entryList(QDir::Files).size(), 1);

    startAtLoginBox->click();
    EXPECT_FALSE(startAtLoginBox->isChecked());
    EXPECT_FALSE(QFileInfo::exists(autostart.entryPath));
    startAtLoginBox->click();
    startAtLoginBox->click();  // removing a missing entry is harmless
    EXPECT_FALSE(startAtLoginBox->isChecked());
    // The flag itself waits for OK.
    EXPECT_EQ(stored("setting", "autostart"), kMissing);
}

TEST_F(ApplyTest, StartAtLoginBoxFollowsWhatReallyHappened)
{
    // A folder where the entry should be: it can be neither written nor removed.
    ASSERT_TRUE(QDir().mkpath(autostart.entryPath + QStringLiteral("/content")));
    const auto dialog = open();
    auto* startAtLoginBox = find<QCheckBox>(*dialog, "Check2");
    startAtLoginBox->click();
    EXPECT_FALSE(startAtLoginBox->isChecked());

    // Shown ticked (say, from an earlier opening) but the removal fails: ticked again.
    {
        const QSignalBlocker blocker(startAtLoginBox);
        startAtLoginBox->setChecked(true);
    }
    startAtLoginBox->click();
    EXPECT_TRUE(startAtLoginBox->isChecked());
    EXPECT_TRUE(QFileInfo(autostart.entryPath).isDir());
}

}  // namespace
}  // namespace kuvell

// SPDX-License-Identifier: MIT
// Opening the settings dialog: what the load decides reaches the controls, which
// sit where the control table puts them.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <cstdlib>

#include "frontends/qt/BannerView.h"
#include "frontends/qt/ColourSwatch.h"
#include "frontends/qt/WindowRoutines.h"
#include "support/SettingsDialogFixture.h"

namespace kuvell {
using namespace testsupport;
namespace {

using LoadTest = OptionsDialogTest;

TEST_F(LoadTest, WhatTheLoadShowsReachesEachControl)
{
    loadVariables();
    const auto dialog = open();

    EXPECT_TRUE(find<QWidget>(*dialog, "Picture1")->isVisibleTo(dialog.get()));
    for (const char* hidden : {"Picture2", "Picture3", "Picture4"}) {
        EXPECT_FALSE(find<QWidget>(*dialog, hidden)->isVisibleTo(dialog.get())) << hidden;
    }
    EXPECT_FALSE(find<QCheckBox>(*dialog, "Check3")->isChecked());
    EXPECT_FALSE(find<QCheckBox>(*dialog, "Check2")->isChecked());
    EXPECT_TRUE(find<QCheckBox>(*dialog, "Check1")->isChecked());
    auto* speedField = find<QLineEdit>(*dialog, "Text1");
    EXPECT_EQ(speedField->text(), QStringLiteral("1024000"));
    speedField->clear();
    QTest::keyClicks(speedField, QStringLiteral("5a6-0 0.0"));
    EXPECT_EQ(speedField->text(), QStringLiteral("56000"));  // digits only
    EXPECT_EQ(find<QComboBox>(*dialog, "Combo1")->currentText(), QStringLiteral("100 %"));
    EXPECT_DOUBLE_EQ(fakeMain.window.windowOpacity(), 1.0);
    EXPECT_EQ(stored("options", "visibility"), QStringLiteral("9"));

    // The swatches show the colours, not only hold them.
    const auto painted = [&](const char* name) {
        auto* swatch = find<ColourSwatch>(*dialog, name);
        return swatch->grab().toImage().pixelColor(swatch->rect().center());
    };
    EXPECT_EQ(painted("Picture5"), QColor(255, 0, 0));
    EXPECT_EQ(painted("Picture6"), QColor(0, 255, 0));
    EXPECT_EQ(painted("Picture7"), QColor(0x49, 0xAA, 0xBE));

    // A modal tool window owned by the main window, in the topmost band.
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("设置"));
    EXPECT_TRUE(dialog->isModal());
    EXPECT_EQ(dialog->parentWidget(), &fakeMain.window);
    EXPECT_EQ(dialog->windowFlags() & Qt::WindowType_Mask, Qt::Tool);
    EXPECT_FALSE(dialog->windowFlags() &
                 (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize());
    EXPECT_TRUE(isTopMost(dialog.get()));
    // Centred on the screen, give or take the window frame.
    const QPoint offCentre =
        dialog->frameGeometry().center() - fakeMain.window.screen()->geometry().center();
    EXPECT_LE(std::abs(offCentre.x()), 4);
    EXPECT_LE(std::abs(offCentre.y()), 4);
}

// Other values than the defaults, so that two controls swapped would show.
TEST_F(LoadTest, StoredChoicesReachTheirOwnControlsInTheUsersNumbers)
{
    for (const auto& [key, text] : {std::pair("graphics", "1"), std::pair("visibility", "12")}) {
        ASSERT_TRUE(
            store.writeSetting(QStringLiteral("options"), QLatin1String(key), QLatin1String(text)));
    }
    ASSERT_TRUE(store.writeSetting(QStringLiteral("setting"), QStringLiteral("ontop"),
                                   QStringLiteral("0")));
    const QString date = QStringLiteral("<b>7</b> <img src=\"/etc/x.png\"> December");
    ASSERT_TRUE(store.writeSetting(QStringLiteral("options"), QStringLiteral("installdate"), date));
    loadVariables();
    vars.downloadTotal = 1536;
    vars.uploadTotal = 2147483647;
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const auto dialog = open();
    QLocale::setDefault(previous);

    EXPECT_TRUE(find<QCheckBox>(*dialog, "Check3")->isChecked());
    EXPECT_FALSE(find<QCheckBox>(*dialog, "Check2")->isChecked());
    EXPECT_FALSE(find<QCheckBox>(*dialog, "Check1")->isChecked());
    // A level outside the list: the box shows its prompt and the window keeps its opacity.
    auto* combo = find<QComboBox>(*dialog, "Combo1");
    EXPECT_EQ(combo->currentIndex(), -1);
    EXPECT_EQ(combo->currentText(), QStringLiteral("Transparency"));
    EXPECT_NEAR(fakeMain.window.windowOpacity(), 51 / 255.0, 1e-9);
    EXPECT_EQ(find<QLabel>(*dialog, "Label5")->text(), QStringLiteral("1,5 Kilobytes"));
    EXPECT_EQ(find<QLabel>(*dialog, "Label6")->text(), QStringLiteral("1,99 Gigabytes"));
    // The first-start date is shown as written, never as markup.
    auto* installDateLabel = find<QLabel>(*dialog, "Label9");
    EXPECT_EQ(installDateLabel->text(), QStringLiteral("信息统计于 ") + date);
    EXPECT_EQ(installDateLabel->textFormat(), Qt::PlainText);
}

TEST_F(LoadTest, ControlsSitAtTheirTwipsPositionsWithTheirCaptions)
{
    loadVariables();
    const auto dialog = open();
    EXPECT_EQ(dialog->size(), QSize(pixels(4545), pixels(3555)));

    struct Expected
    {
        const char* name;
        const char* caption;  // nullptr: no caption to compare
        int left, top, width, height;
    };
    const Expected controls[] = {
        {"Command2_0", "设 置", 0, 0, 1095, 375},
        {"Command2_1", "流 量", 1120, 0, 1095, 375},
        {"Command2_2", "关 于", 2240, 0, 1095, 375},
        {"Command2_3", "帮 助", 3360, 0, 1095, 375},
        {"Command1", "好的", 3240, 3000, 1035, 330},
        {"Picture1", nullptr, 0, 360, 4455, 2655},
        {"Picture2", nullptr, 0, 360, 4455, 2295},
        {"Picture3", nullptr, 0, 360, 4455, 2655},
        {"Picture4", nullptr, 0, 480, 4455, 2535},
        {"Frame1", "连接速度", 60, 60, 2355, 1695},
        {"Text1", nullptr, 120, 300, 1155, 315},
        {"Label10", "单位  K", 1320, 360, 735, 255},
        {"Label1", "拨号连接速度为56000K ADSL连接速度为1-8MB", 120, 720, 1935, 435},
        {"Text3", nullptr, 120, 1200, 1215, 315},
        {"Command3", "计算MB", 1320, 1200, 855, 375},
        {"Frame2", "显示颜色", 2520, 60, 1875, 1695},
        {"Picture5", nullptr, 180, 240, 315, 315},
        {"Label2", "下载", 660, 300, 1035, 195},
        {"Picture6", nullptr, 180, 600, 315, 315},
        {"Label3", "上传", 660, 660, 1155, 195},
        {"Picture7", nullptr, 180, 960, 315, 315},
        {"Label4", "背景", 660, 1020, 1095, 195},
        {"Check1", "总在最前面", 120, 1800, 1815, 255},
        {"Check3", "显示总流量", 120, 2040, 2175, 255},
        {"Check2", "随系统启动", 120, 2280, 2295, 255},
        {"Label8", "选择透明度", 2520, 1800, 1455, 255},
        {"Combo1", nullptr, 2520, 2040, 1815, 315},
        {"Label9", nullptr, 120, 120, 4215, 255},
        {"Frame3", "下载数据", 60, 360, 2115, 1695},
        {"Label5", nullptr, 120, 480, 1935, 735},
        {"Frame4", "上传数据", 2275, 360, 2175, 1695},
        {"Label6", nullptr, 120, 480, 1935, 735},
        {"Picture8", nullptr, 300, 0, 3810, 1965},
        {"Label7", nullptr, 360, 1980, 2715, 255},
        {"Text2", nullptr, 120, 0, 4215, 1815},
    };
    for (const Expected& control : controls) {
        const QWidget* widget = find<QWidget>(*dialog, control.name);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->geometry(), QRect(pixels(control.left), pixels(control.top),
                                            pixels(control.width), pixels(control.height)))
            << control.name;
        if (control.caption == nullptr) {
            continue;
        }
        const QString caption = QString::fromUtf8(control.caption);
        if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
            EXPECT_EQ(button->text(), caption) << control.name;
        } else if (const auto* label = qobject_cast<const QLabel*>(widget)) {
            EXPECT_EQ(label->text(), caption) << control.name;
        } else if (const auto* frame = qobject_cast<const QGroupBox*>(widget)) {
            EXPECT_EQ(frame->title(), caption) << control.name;
        } else {
            ADD_FAILURE() << control.name << " has no caption to compare";
        }
    }

    // The banner's drawable area is 250 x 127 pixels inside its border.
    EXPECT_EQ(find<BannerView>(*dialog, "Picture8")->contentsRect().size(), QSize(250, 127));
    EXPECT_FALSE(find<QLabel>(*dialog, "Label7")->text().isEmpty());
    EXPECT_FALSE(find<QPlainTextEdit>(*dialog, "Text2")->toPlainText().isEmpty());

    auto* combo = find<QComboBox>(*dialog, "Combo1");
    ASSERT_EQ(combo->count(), 10);
    for (int index = 0; index < 10; ++index) {
        EXPECT_EQ(combo->itemText(index), QStringLiteral("%1 %").arg((index + 1) * 10));
    }
    EXPECT_TRUE(combo->isEditable());
    EXPECT_EQ(combo->insertPolicy(), QComboBox::NoInsert);
    EXPECT_EQ(combo->completer(), nullptr);
}

TEST_F(LoadTest, EveryOpeningRewritesTheAutostartEntryWithTheDialogsPath)
{
    ASSERT_TRUE(store.writeSetting(QStringLiteral("setting"), QStringLiteral("autostart"),
                                   QStringLiteral("1")));
    loadVariables();
    {
        const auto dialog = open();
        EXPECT_TRUE(find<QCheckBox>(*dialog, "Check2")->isChecked());
    }
    EXPECT_TRUE(entryText().contains(autostart.executablePath));

    // The executable moved: the next opening writes the new path over the old.
    autostart.executablePath = folder.filePath(QStringLiteral("elsewhere/kuvell"));
    const auto dialog = open();
    EXPECT_TRUE(entryText().contains(autostart.executablePath));
    EXPECT_FALSE(entryText().contains(QStringLiteral("/opt/kuvell/bin/kuvell")));
}

}  // namespace
}  // namespace kuvell

// SPDX-License-Identifier: MIT
// Page switching and the banner sweep: it keeps the program responsive, starts
// over on a click instead of nesting, and never draws into a dialog that is
// hidden or gone.
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <iostream>
#include <string>

#include "frontends/qt/BannerPicture.h"
#include "frontends/qt/BannerView.h"
#include "support/SettingsDialogFixture.h"

namespace kuvell {
using namespace testsupport;
namespace {

class BannerTest : public OptionsDialogTest
{
  protected:
    void SetUp() override { loadVariables(); }

    static QImage canvas(const SettingsDialog& dialog)
    {
        return find<BannerView>(dialog, "Picture8")
            ->picture()
            .convertToFormat(QImage::Format_RGB32);
    }
    static QPushButton* pageButton(const SettingsDialog& dialog, int index)
    {
        return find<QPushButton>(dialog, ("Command2_" + std::to_string(index)).c_str());
    }

    // The sweep runs from the event loop; true once it has left the whole picture.
    bool sweepFinishes(const SettingsDialog& dialog) const
    {
        return runUntil([&] { return canvas(dialog) == banner; });
    }

    // A running event loop, as the dialog's exec() gives; QTest::qWaitFor would
    // sleep between its rounds and hold the sweep up.
    static bool runUntil(const std::function<bool()>& done)
    {
        QEventLoop loop;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            if (done()) loop.quit();
        });
        poll.start(5);
        QTimer::singleShot(30000, &loop, &QEventLoop::quit);
        loop.exec();
        return done();
    }

    const QImage banner = drawBanner().convertToFormat(QImage::Format_RGB32);
};

TEST_F(BannerTest, BannerIsA24BitPictureWithRowsThatChange)
{
    const QImage picture = drawBanner();
    EXPECT_EQ(picture.size(), QSize(250, 127));
    EXPECT_EQ(picture.depth(), 24);
    // The sweep smears each column to the right; on a flat row that would not show.
    int rowsWithDetail = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 1; x < picture.width(); ++x) {
            if (picture.pixel(x, y) != picture.pixel(0, y)) {
                ++rowsWithDetail;
                break;
            }
        }
    }
    EXPECT_EQ(rowsWithDetail, picture.height());
}

TEST_F(BannerTest, EveryPageButtonShowsItsPageAndSweepsWhileTheTimerTicks)
{
    const auto dialog = open();
    dialog->show();
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&ticks] { ++ticks; });
    timer.start(5);

    const char* const pages[] = {"Picture1", "Picture2", "Picture3", "Picture4"};
    // Help first: the sweep runs on the hidden about page too.
    for (const int chosen : {3, 2, 1, 0}) {
        find<BannerView>(*dialog, "Picture8")->setPicture(QImage());  // white again
        ticks = 0;
        QElapsedTimer clock;
        clock.start();
        pageButton(*dialog, chosen)->click();
        for (int page = 0; page < 4; ++page) {
            EXPECT_EQ(find<QWidget>(*dialog, pages[page])->isVisible(), page == chosen)
                << "button " << chosen << ", " << pages[page];
        }
        EXPECT_TRUE(sweepFinishes(*dialog)) << "button " << chosen;
        std::cout << "[ sweep    ] one banner sweep took " << clock.elapsed() << " ms\n";
        EXPECT_GT(ticks, 0) << "the timer stood still during the sweep";
    }
}

TEST_F(BannerTest, TheSweepReadsFromTheSecondColumnAndRowOn)
{
    const auto dialog = open();
    dialog->show();
    QImage midway;
    int steps = 0;
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout, [&] {
        if (++steps == 300) {
            probe.stop();
            midway = canvas(*dialog);
        }
    });
    probe.start(0);
    pageButton(*dialog, 2)->click();
    ASSERT_TRUE(runUntil([&] { return !midway.isNull(); }));

    // Column 0 and row 0 keep the box's white until the finished picture arrives.
    int sweptInColumnZero = 0;
    for (int y = 0; y < midway.height(); ++y) {
        sweptInColumnZero += midway.pixel(0, y) != qRgb(255, 255, 255) ? 1 : 0;
    }
    int sweptInRowZero = 0;
    for (int x = 0; x < midway.width(); ++x) {
        sweptInRowZero += midway.pixel(x, 0) != qRgb(255, 255, 255) ? 1 : 0;
    }
    EXPECT_EQ(sweptInColumnZero, 0);
    EXPECT_EQ(sweptInRowZero, 0);
    // Column 1 was swept in full: each row from there on wears the pixel read at (1, y).
    EXPECT_EQ(midway.pixel(1, 1), banner.pixel(1, 1));
    EXPECT_EQ(midway.pixel(1, 126), banner.pixel(1, 126));
    EXPECT_TRUE(sweepFinishes(*dialog));
}

TEST_F(BannerTest, PageSwitchMidSweepStartsTheSweepOver)
{
    const auto dialog = open();
    dialog->show();
    BannerView* const view = find<BannerView>(*dialog, "Picture8");
    const QRgb white = qRgb(255, 255, 255);
    QImage blank(banner.size(), QImage::Format_RGB32);
    blank.fill(white);
    QImage afterSwitch;
    int steps = 0;
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout, [&] {
        ++steps;
        if (steps == 60) {
            view->setPicture(QImage());       // white again, to see where drawing goes on
            pageButton(*dialog, 3)->click();  // returns at once: nothing runs inside it
            EXPECT_EQ(canvas(*dialog), blank);
        } else if (steps == 80) {
            probe.stop();
            afterSwitch = canvas(*dialog);
        }
    });
    probe.start(0);
    pageButton(*dialog, 2)->click();
    ASSERT_TRUE(runUntil([&] { return !afterSwitch.isNull(); }));

    // The first column again from its top, not the rows the first sweep had reached.
    EXPECT_NE(afterSwitch.pixel(1, 1), white);
    EXPECT_EQ(afterSwitch.pixel(1, 1), banner.pixel(1, 1));
    EXPECT_EQ(afterSwitch.pixel(1, 70), white);
    EXPECT_TRUE(sweepFinishes(*dialog));
    EXPECT_TRUE(find<QWidget>(*dialog, "Picture4")->isVisible());
    // One sweep, and then nothing more is drawn.
    view->setPicture(QImage());
    QTest::qWait(50);
    EXPECT_EQ(canvas(*dialog), blank);
}

// Every click arriving during a sweep used to run a whole sweep inside the
// running one; a flood of them overflowed the stack.
TEST_F(BannerTest, AClickFloodCostsOneSweepAndLeavesTheDialogIdle)
{
    const auto dialog = open();
    dialog->show();
    int clicks = 0;
    QTimer flood;
    QObject::connect(&flood, &QTimer::timeout, [&] {
        pageButton(*dialog, clicks % 4)->click();
        if (++clicks == 3000) flood.stop();
    });
    flood.start(0);
    ASSERT_TRUE(runUntil([&] { return clicks == 3000; }));
    EXPECT_TRUE(find<QWidget>(*dialog, "Picture4")->isVisible());  // the last click: 2999 % 4
    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(sweepFinishes(*dialog));
    std::cout << "[ flood    ] the sweep after 3000 clicks ended " << clock.elapsed()
              << " ms after the last click\n";
}

TEST_F(BannerTest, ClosingTheDialogMidSweepStopsTheDrawing)
{
    auto dialog = open();
    bool sweepReturned = false;
    QTimer::singleShot(0, dialog.get(), [&] {
        pageButton(*dialog, 2)->click();
        sweepReturned = true;
    });
    int steps = 0;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (++steps == 100) {
            dialog->close();  // the window's close command
        }
    });
    closer.start(0);
    const int result = dialog->exec();
    closer.stop();

    EXPECT_TRUE(sweepReturned);
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_NE(canvas(*dialog), banner);  // stopped part-way
    const QImage stopped = canvas(*dialog);
    QApplication::processEvents();
    EXPECT_EQ(canvas(*dialog), stopped);
    dialog.reset();  // deleted after the modal loop returned, as the caller does
}

TEST_F(BannerTest, DeletingTheDialogMidSweepIsSafe)
{
    QPointer<SettingsDialog> dialog(open().release());
    dialog->show();
    int steps = 0;
    QTimer deleter;
    QObject::connect(&deleter, &QTimer::timeout, [&] {
        if (++steps == 100) {
            delete dialog.data();
        }
    });
    deleter.start(0);
    dialog->findChild<QPushButton*>(QStringLiteral("Command2_2"))->click();
    EXPECT_TRUE(runUntil([&] { return dialog.isNull(); }));
}

}  // namespace
}  // namespace kuvell

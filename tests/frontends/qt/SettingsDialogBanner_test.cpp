// SPDX-License-Identifier: MIT
// The page buttons and the banner sweep on the Qt widgets: the sweep runs from
// the event loop, keeps the program responsive, draws into the banner's picture
// and stops with a dialog that is hidden or gone.
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

TEST_F(BannerTest, EveryPageButtonShowsItsPageAndTheSweepRunsWhileTheTimerTicks)
{
    const auto dialog = open();
    dialog->show();
    const char* const pages[] = {"Picture1", "Picture2", "Picture3", "Picture4"};
    for (const int chosen : {2, 1, 0, 3}) {
        pageButton(*dialog, chosen)->click();
        for (int page = 0; page < 4; ++page) {
            EXPECT_EQ(find<QWidget>(*dialog, pages[page])->isVisible(), page == chosen)
                << "button " << chosen << ", " << pages[page];
        }
    }
    // Help last: the sweep runs on the hidden about page too.
    BannerView* const view = find<BannerView>(*dialog, "Picture8");
    view->setPicture(QImage());  // white again
    const QImage blank = canvas(*dialog);
    QImage midway;
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (++ticks == 300) midway = canvas(*dialog);
    });
    timer.start(0);
    QElapsedTimer clock;
    clock.start();
    pageButton(*dialog, 3)->click();
    EXPECT_EQ(canvas(*dialog), blank);  // the click returns at once: nothing runs inside it
    EXPECT_TRUE(sweepFinishes(*dialog));
    std::cout << "[ sweep    ] one banner sweep took " << clock.elapsed() << " ms\n";
    ASSERT_FALSE(midway.isNull()) << "the timer stood still during the sweep";

    // Column 0 and row 0 keep the box's white until the finished picture arrives.
    const QRgb white = qRgb(255, 255, 255);
    for (int y = 0; y < midway.height(); ++y) EXPECT_EQ(midway.pixel(0, y), white) << y;
    for (int x = 0; x < midway.width(); ++x) EXPECT_EQ(midway.pixel(x, 0), white) << x;
    // Column 1 was swept in full: each row from there on wears the pixel read at (1, y).
    EXPECT_EQ(midway.pixel(1, 1), banner.pixel(1, 1));
    EXPECT_EQ(midway.pixel(1, 126), banner.pixel(1, 126));
    // One sweep, and then nothing more is drawn.
    view->setPicture(QImage());
    QTest::qWait(50);
    EXPECT_EQ(canvas(*dialog), blank);
}

TEST_F(BannerTest, ClosingTheDialogMidSweepStopsTheDrawing)
{
    auto dialog = open();
    QTimer::singleShot(0, dialog.get(), [&] { pageButton(*dialog, 2)->click(); });
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

// Page switching and the banner sweep: it keeps the program responsive, nests,
// and never draws into a dialog that is hidden or gone.
#include <QElapsedTimer>
#include <QPointer>
#include <QPushButton>
#include <iostream>
#include <string>

#include "support/SettingsDialogFixture.h"
#include "settings/BannerPicture.h"
#include "settings/BannerView.h"

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
        std::cout << "[ sweep    ] one banner sweep took " << clock.elapsed() << " ms\n";
        for (int page = 0; page < 4; ++page) {
            EXPECT_EQ(find<QWidget>(*dialog, pages[page])->isVisible(), page == chosen)
                << "button " << chosen << ", " << pages[page];
        }
        EXPECT_EQ(canvas(*dialog), banner) << "button " << chosen;
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
    ASSERT_FALSE(midway.isNull());

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
    EXPECT_EQ(canvas(*dialog), banner);
}

TEST_F(BannerTest, PageSwitchMidSweepRunsAWholeSweepThenTheFirstResumes)
{
    const auto dialog = open();
    dialog->show();
    bool nestedSweepFinished = false;
    bool firstSweepResumed = false;
    int steps = 0;
    QTimer midway;
    QObject::connect(&midway, &QTimer::timeout, [&] {
        if (++steps != 50) {
            return;
        }
        midway.stop();
        pageButton(*dialog, 3)->click();  // returns once its own sweep is complete
        nestedSweepFinished = canvas(*dialog) == banner;
        // The interrupted sweep draws again at its next step.
        QTimer::singleShot(0, [&] { firstSweepResumed = canvas(*dialog) != banner; });
    });
    midway.start(0);
    pageButton(*dialog, 2)->click();

    EXPECT_TRUE(nestedSweepFinished);
    EXPECT_TRUE(firstSweepResumed);
    EXPECT_EQ(canvas(*dialog), banner);  // and it, too, ends with the whole picture
    EXPECT_TRUE(find<QWidget>(*dialog, "Picture4")->isVisible());
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
    EXPECT_TRUE(dialog.isNull());
}

}  // namespace
}  // namespace kuvell

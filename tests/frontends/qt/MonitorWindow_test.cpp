// SPDX-License-Identifier: MIT
#include "frontends/qt/MonitorWindow.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QSettings>
#include <QStyleHints>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "frontends/qt/SettingsStore.h"
#include "frontends/qt/WindowRoutines.h"
#include "settings/core/ProgramVariables.h"
#include "stats/core/IfTableSource.h"
#include "support/OneRowTable.h"
#include "support/PixelCount.h"
#include "support/ScriptedTableSource.h"
#include "support/TableWriter.h"
#include "support/TextStore.h"

namespace kuvell {
namespace {

using testsupport::countPixels;

const QString kToday = QStringLiteral("Monday, 7 December 2026");
const QRgb kDefaultBackground = qRgb(0x49, 0xAA, 0xBE);
const QRgb kRed = qRgb(0xFF, 0, 0);

class MainWindow : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        storePath = dir.filePath(QStringLiteral("kuvell/kuvell.ini"));
    }

    // Builds the window on the store at storePath; ticks are driven by the test.
    std::unique_ptr<MonitorWindow> start(bool singleActivationToggles = false)
    {
        store = std::make_unique<testsupport::TextStore>(storePath);
        MonitorWindowServices services;
        services.tableSource = table;
        services.autostart = {dir.filePath(QStringLiteral("autostart/kuvell.desktop")),
                              QStringLiteral("/usr/bin/kuvell")};
        services.exitProgram = [this](int status) { exits.push_back(status); };
        services.showMessage = [this](const QString& text) {
            messages.push_back(text);
            if (duringMessage) {
                duringMessage();
            }
        };
        services.singleActivationToggles = singleActivationToggles;
        services.todayLongDate = kToday;
        services.terminationRequested = [this] { return terminationRequested; };
        auto window = std::make_unique<MonitorWindow>(vars, *store, std::move(services));
        window->timer()->stop();
        window->startUp();
        return window;
    }

    // Started, and its first tick taken: that tick only sets the counters' baseline.
    std::unique_ptr<MonitorWindow> startMeasuring()
    {
        auto window = start();
        window->sampleTraffic();
        return window;
    }

    void storeText(const QString& section, const QString& key, const QString& text)
    {
        ASSERT_TRUE(testsupport::TextStore(storePath).writeSetting(section, key, text));
    }

    QString stored(const QString& section, const QString& key)
    {
        return testsupport::TextStore(storePath).readSetting(section, key,
                                                             QStringLiteral("<missing>"));
    }

    QStringList storedKeys()
    {
        QSettings ini(storePath, QSettings::IniFormat);
        return ini.allKeys();
    }

    QTemporaryDir dir;
    QString storePath;
    std::unique_ptr<testsupport::TextStore> store;
    ProgramVariables vars;
    std::shared_ptr<testsupport::OneRowTable> table = std::make_shared<testsupport::OneRowTable>();
    std::vector<int> exits;
    std::vector<QString> messages;
    std::function<void()> duringMessage;
    bool terminationRequested = false;
};

TEST_F(MainWindow, StartUpWithAnEmptyStore)
{
    const auto window = start();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Kuvell"));
    EXPECT_TRUE(window->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(window->windowFlags() & Qt::WindowType_Mask, Qt::Tool);
    EXPECT_EQ(window->frameGeometry(), QRect(0, 0, 310, 164));
    EXPECT_TRUE(isTopMost(window.get()));
    EXPECT_DOUBLE_EQ(window->windowOpacity(), 1.0);
    EXPECT_EQ(stored(QStringLiteral("options"), QStringLiteral("installdate")), kToday);
    EXPECT_EQ(storedKeys(), QStringList{QStringLiteral("options/installdate")});
    EXPECT_TRUE(window->trayIcon().exists());
    EXPECT_EQ(window->trayIcon().image(), 4);
    EXPECT_EQ(window->trayIcon().toolTip(), QStringLiteral("Kuvell"));
    EXPECT_EQ(window->minimumSize(), QSize(10, 10));
    EXPECT_EQ(window->maximumSize(), QSize(310, 10000));

    // Laid out for 4650 x 2460 twips, and the empty graph painted in the stored background.
    EXPECT_EQ(window->graphImage().size(), QSize(300, 140));
    EXPECT_EQ(countPixels(window->graphImage(), kDefaultBackground), 300 * 140);
    EXPECT_EQ(window->label()->width(), 301);
    EXPECT_EQ(window->label()->font().pointSize(), 10);
    EXPECT_EQ(table->calls, 0);  // start-up takes no sample
}

TEST_F(MainWindow, StoredPlacementTransparencyAndBand)
{
    storeText(QStringLiteral("setting"), QStringLiteral("ontop"), QStringLiteral("false"));
    storeText(QStringLiteral("setting"), QStringLiteral("windowsposx"), QStringLiteral("1500"));
    storeText(QStringLiteral("setting"), QStringLiteral("windowsposy"), QStringLiteral("-752"));
    storeText(QStringLiteral("setting"), QStringLiteral("windowswidth"), QStringLiteral("3007"));
    storeText(QStringLiteral("setting"), QStringLiteral("windowsheight"), QStringLiteral("1500"));
    storeText(QStringLiteral("options"), QStringLiteral("visibility"), QStringLiteral("0"));
    const auto window = start();
    EXPECT_FALSE(isTopMost(window.get()));
    EXPECT_EQ(window->frameGeometry(), QRect(100, -50, 200, 100));
    EXPECT_NEAR(window->windowOpacity(), 26.0 / 255.0, 0.5 / 255.0);
}

TEST_F(MainWindow, ATickReachesTheLabelTheTrayAndTheGraph)
{
    const auto window = startMeasuring();
    table->received = 10240;
    table->sent = 2048;
    window->sampleTraffic();
    EXPECT_EQ(window->label()->text(), QStringLiteral("DL: 10 kb/s - UL: 2 kb/s"));
    EXPECT_EQ(window->trayIcon().image(), 4);
    EXPECT_EQ(window->trayIcon().toolTip(), QStringLiteral("Kuvell - DL: 10 kb/s - UL: 2 kb/s"));
    // The presenter's pixels, as Qt shows them: the download bar at the right edge.
    EXPECT_EQ(window->graphImage().pixel(299, 130), kRed);
    EXPECT_EQ(countPixels(window->graphImage(), kRed), 7);
    window->sampleTraffic();
    EXPECT_EQ(window->trayIcon().image(), 1);
    EXPECT_EQ(window->graphImage().pixel(298, 130), kRed);
}

TEST_F(MainWindow, TrayDoubleClickHidesAndShowsAndHiddenWindowIsNotPainted)
{
    const auto window = startMeasuring();
    QSystemTrayIcon* const icon = window->findChild<QSystemTrayIcon*>();
    ASSERT_NE(icon, nullptr);

    emit icon->activated(QSystemTrayIcon::Trigger);  // single clicks and right clicks do nothing
    emit icon->activated(QSystemTrayIcon::Context);
    EXPECT_TRUE(window->isVisible());

    emit icon->activated(QSystemTrayIcon::DoubleClick);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(window->hiddenByUser());
    const QImage before = window->graphImage().copy();
    table->received = 20480;
    window->sampleTraffic();
    EXPECT_EQ(window->graphImage(), before);
    EXPECT_DOUBLE_EQ(window->histories().downloadHistory[1], 20.0);  // still sampled
    EXPECT_EQ(window->trayIcon().image(), 2);                        // and the tray follows

    emit icon->activated(QSystemTrayIcon::DoubleClick);
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->hiddenByUser());
    window->sampleTraffic();  // the next tick paints what was sampled while hidden
    EXPECT_EQ(window->graphImage().pixel(298, 135), kRed);
}

TEST_F(MainWindow, NotificationAreaWithoutDoubleClickTogglesOnActivation)
{
    const int interval = QGuiApplication::styleHints()->mouseDoubleClickInterval();
    const auto window = start(true);
    QSystemTrayIcon* const icon = window->findChild<QSystemTrayIcon*>();
    ASSERT_NE(icon, nullptr);
    emit icon->activated(QSystemTrayIcon::Trigger);
    EXPECT_FALSE(window->isVisible());
    emit icon->activated(QSystemTrayIcon::Context);
    EXPECT_FALSE(window->isVisible());
    emit icon->activated(QSystemTrayIcon::Trigger);  // a double-click's second activation
    EXPECT_FALSE(window->isVisible());
    QTest::qWait(interval + 50);
    emit icon->activated(QSystemTrayIcon::Trigger);
    EXPECT_TRUE(window->isVisible());
}

TEST_F(MainWindow, TrayMenuHoldsThePopupMenusItems)
{
    const auto window = start();
    QSystemTrayIcon* const icon = window->findChild<QSystemTrayIcon*>();
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->contextMenu(), window->trayMenu());
    // The interface list and a separator first, then the graph menu's own actions.
    const QList<QAction*> trayActions = window->trayMenu()->actions();
    ASSERT_EQ(trayActions.size(), 4);
    EXPECT_EQ(trayActions.at(0)->menu(), window->interfaceMenu());
    EXPECT_TRUE(trayActions.at(1)->isSeparator());
    EXPECT_EQ(trayActions.mid(2), window->popupMenu()->actions());

    // The tray's menu answers while the dialog is open; a second pick opens no second dialog.
    qsizetype dialogsOpen = 0;
    QTimer::singleShot(0, [&] {
        QTimer::singleShot(0, [&] {
            const QList<SettingsDialog*> dialogs = window->findChildren<SettingsDialog*>();
            dialogsOpen = dialogs.size();
            for (SettingsDialog* dialog : dialogs) {
                dialog->close();
            }
        });
        window->popupMenu()->actions().at(0)->trigger();
    });
    window->popupMenu()->actions().at(0)->trigger();
    EXPECT_EQ(dialogsOpen, 1);
    EXPECT_TRUE(window->findChildren<SettingsDialog*>().isEmpty());
    window->popupMenu()->actions().at(1)->trigger();
    EXPECT_EQ(exits, std::vector<int>{0});
    EXPECT_TRUE(storedKeys().contains(QStringLiteral("setting/DLtot")));
}

TEST_F(MainWindow, TheTrayMenusInterfaceListIsMadeAsItOpensAndAChoiceReachesTheStore)
{
    table->name = "R&D-lan";
    const auto window = startMeasuring();
    const auto entries = [&] {
        QStringList shown;
        for (const QAction* action : window->interfaceMenu()->actions())
            shown.append((action->isChecked() ? u"[x] "_qs : u"[ ] "_qs) + action->text() +
                         (action->isEnabled() ? QString() : u" (disabled)"_qs));
        return shown;
    };
    emit window->trayMenu()->aboutToShow();
    EXPECT_EQ(entries(), (QStringList{u"[x] Automatiskt"_qs, u"[ ] R&&D-lan – nere"_qs}));

    window->interfaceMenu()->actions().at(1)->trigger();
    EXPECT_EQ(stored(u"options"_qs, u"interface"_qs), u"R&D-lan"_qs);
    table->name = "eth9";  // gone by the next opening
    emit window->trayMenu()->aboutToShow();
    EXPECT_EQ(entries(), (QStringList{u"[ ] Automatiskt"_qs, u"[ ] eth9 – nere"_qs,
                                      u"[x] R&&D-lan – saknas"_qs}));
    window->sampleTraffic();
    EXPECT_TRUE(window->trayIcon().toolTip().endsWith(u" - R&D-lan saknas"_qs))
        << window->trayIcon().toolTip().toStdString();

    window->interfaceMenu()->actions().at(0)->trigger();
    EXPECT_EQ(stored(u"options"_qs, u"interface"_qs), u"<missing>"_qs);
    window->sampleTraffic();
    EXPECT_TRUE(window->trayIcon().toolTip().endsWith(u"kb/s - eth9"_qs))
        << window->trayIcon().toolTip().toStdString();
    EXPECT_TRUE(messages.empty());
}

TEST_F(MainWindow, QuitWritesTotalsAndPlacementAndEnds)
{
    const auto window = startMeasuring();
    table->received = 50000;
    table->sent = 10000;
    window->sampleTraffic();
    window->move(20, 30);
    QApplication::processEvents();
    emit window->findChild<QSystemTrayIcon*>()->activated(QSystemTrayIcon::DoubleClick);

    const QList<QAction*> items = window->popupMenu()->actions();
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(items[0]->text(), QStringLiteral("Inställningar"));
    EXPECT_EQ(items[1]->text(), QStringLiteral("Avsluta"));
    items[1]->trigger();

    EXPECT_EQ(exits, std::vector<int>{0});
    EXPECT_FALSE(window->trayIcon().exists());
    EXPECT_FALSE(window->timer()->isActive());
    QStringList keys = storedKeys();
    keys.sort();
    EXPECT_EQ(keys, (QStringList{"options/installdate", "setting/DLtot", "setting/ULtot",
                                 "setting/windowsheight", "setting/windowsposx",
                                 "setting/windowsposy", "setting/windowswidth"}));
    const QString setting = QStringLiteral("setting");
    EXPECT_EQ(stored(setting, QStringLiteral("DLtot")), QStringLiteral("50001"));
    EXPECT_EQ(stored(setting, QStringLiteral("ULtot")), QStringLiteral("10001"));
    // Where the window was when it was hidden.
    EXPECT_EQ(stored(setting, QStringLiteral("windowsposx")), QStringLiteral("300"));
    EXPECT_EQ(stored(setting, QStringLiteral("windowsposy")), QStringLiteral("450"));
    EXPECT_EQ(stored(setting, QStringLiteral("windowswidth")), QStringLiteral("4650"));
    EXPECT_EQ(stored(setting, QStringLiteral("windowsheight")), QStringLiteral("2460"));

    window->close();  // nothing more happens once Kuvell has ended
    window->sampleTraffic();
    EXPECT_EQ(exits, std::vector<int>{0});
    EXPECT_EQ(vars.downloadTotal, 50001);
}

TEST_F(MainWindow, AFailedSaveIsReportedAndStillEnds)
{
    QFile blocker(dir.filePath(QStringLiteral("kuvell")));  // a file where the folder should be
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const auto window = start();
    EXPECT_TRUE(window->isVisible());  // the failed installdate write changes nothing

    testing::internal::CaptureStderr();
    window->popupMenu()->actions().at(1)->trigger();
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_NE(errors.find("not saved"), std::string::npos) << errors;
    // The user sees which file and why, before Kuvell ends.
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].contains(storePath)) << messages[0].toStdString();
    EXPECT_TRUE(messages[0].contains(QStringLiteral("Not a directory")))
        << messages[0].toStdString();
    EXPECT_EQ(exits, std::vector<int>{1});
    EXPECT_FALSE(window->trayIcon().exists());
}

TEST_F(MainWindow, AnyOtherCloseRemovesTheIconAndSavesNothing)
{
    const auto window = start();
    table->received = 50000;
    window->sampleTraffic();
    EXPECT_TRUE(window->close());
    EXPECT_EQ(exits, std::vector<int>{0});
    EXPECT_FALSE(window->trayIcon().exists());
    EXPECT_EQ(storedKeys(), QStringList{QStringLiteral("options/installdate")});

    window->endWithoutSaving();  // a signal arriving afterwards ends nothing twice
    window->popupMenu()->actions().at(1)->trigger();
    EXPECT_EQ(exits, std::vector<int>{0});
    EXPECT_EQ(storedKeys(), QStringList{QStringLiteral("options/installdate")});
}

TEST_F(MainWindow, MouseOnTheGraphAndTheLabel)
{
    const auto window = start();
    QWidget* const graph = window->graphWidget();
    QMenu* const menu = window->popupMenu();

    QTest::mousePress(graph, Qt::MiddleButton, {}, QPoint(50, 50));
    QTest::mouseRelease(graph, Qt::MiddleButton, {}, QPoint(50, 50));
    EXPECT_FALSE(menu->isVisible());
    EXPECT_EQ(window->pos(), QPoint(0, 0));

    QTest::mousePress(window->label(), Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_FALSE(menu->isVisible());  // the label only moves the window
    QTest::mouseRelease(window->label(), Qt::RightButton, {}, QPoint(5, 5));

    QTest::mousePress(graph, Qt::RightButton, {}, QPoint(50, 50));
    EXPECT_TRUE(menu->isVisible());
    EXPECT_LE((menu->pos() - graph->mapToGlobal(QPoint(50, 50))).manhattanLength(), 2);
    menu->hide();
    QTest::mouseRelease(graph, Qt::RightButton, {}, QPoint(50, 50));

    // Left on the graph moves the window; offscreen there is no window manager to
    // do it, so the window follows the mouse.
    const QPoint press = graph->mapToGlobal(QPoint(50, 50));
    QTest::mousePress(graph, Qt::LeftButton, {}, QPoint(50, 50));
    QMouseEvent move(QEvent::MouseMove, QPointF(80, 70), QPointF(press + QPoint(30, 20)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(graph, &move);
    QTest::mouseRelease(graph, Qt::LeftButton, {}, QPoint(80, 70));
    EXPECT_EQ(window->pos(), QPoint(30, 20));
    EXPECT_FALSE(menu->isVisible());
}

TEST_F(MainWindow, AResizeReachesThePresenterAndItsLayoutTheWidgets)
{
    const auto window = start();
    window->resize(140, 2000);
    QApplication::processEvents();
    EXPECT_EQ(window->graphImage().height(), 1976);
    EXPECT_EQ(window->label()->font().pointSize(), 8);
    EXPECT_EQ(window->graphWidget()->x(), 2 - 171);
    EXPECT_EQ(window->graphWidget()->mask().boundingRect(), QRect(171, 1, 129, 1970));

    window->resize(20000, 20000);  // the program's own resizes are bounded too
    QApplication::processEvents();
    EXPECT_EQ(window->size(), QSize(310, 10000));
}

TEST_F(MainWindow, SizingBorderIsAGripAllRoundAndTheGraphSitsInsideThePanelBorder)
{
    const auto window = start();
    QWidget* const graph = window->graphWidget();
    QWidget* const panel = graph->parentWidget();
    for (const int16_t extra : {int16_t{0}, kGraphOnlyExtraHeight}) {
        vars.extraGraphHeight = extra;
        window->nudgeSize();
        QApplication::processEvents();
        const QRect all = window->rect();
        // Every pixel of the border's four sides belongs to the window itself.
        for (int x = 0; x < all.width(); ++x) {
            for (const int y : {0, 1, 2, 3, all.height() - 4, all.height() - 3, all.height() - 2,
                                all.height() - 1}) {
                EXPECT_EQ(window->childAt(x, y), nullptr) << x << "," << y << " extra " << extra;
            }
        }
        for (int y = 0; y < all.height(); ++y) {
            for (const int x : {0, 1, 2, all.width() - 3, all.width() - 2, all.width() - 1}) {
                EXPECT_EQ(window->childAt(x, y), nullptr) << x << "," << y << " extra " << extra;
            }
        }
        // The panel's two-pixel sunken border shows all round, the graph inside it.
        const QRect inside = panel->rect().marginsRemoved(QMargins(2, 2, 2, 2));
        for (int y = 0; y < panel->height(); ++y) {
            for (int x = 0; x < panel->width(); ++x) {
                if (!inside.contains(x, y)) {
                    EXPECT_EQ(panel->childAt(x, y), nullptr) << x << "," << y << " extra " << extra;
                }
            }
        }
        EXPECT_EQ(panel->childAt(2, 2), graph);
    }
}

TEST_F(MainWindow, SettingsDialogNudgeAndGraphOnlyLayout)
{
    storeText(QStringLiteral("setting"), QStringLiteral("windowswidth"), QStringLiteral("3000"));
    const auto window = start();
    EXPECT_EQ(window->size(), QSize(200, 164));

    vars.extraGraphHeight = kGraphOnlyExtraHeight;
    window->nudgeSize();
    QApplication::processEvents();
    EXPECT_EQ(window->size(), QSize(201, 165));
    // 2475 twips high in graph-only mode: graph 2380 twips, the label below the window.
    EXPECT_EQ(window->graphImage().height(), 159);
    EXPECT_GE(window->label()->y(), window->height() - 4);

    // The dialog opens modally over the window; closing it does not end Kuvell.
    bool sawDialog = false;
    QTimer::singleShot(0, [&] {
        if (QWidget* dialog = QApplication::activeModalWidget()) {
            sawDialog = dialog->parentWidget() == window.get();
            dialog->close();
        }
    });
    window->popupMenu()->actions().at(0)->trigger();
    EXPECT_TRUE(sawDialog);
    EXPECT_TRUE(exits.empty());
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->trayIcon().exists());
}

}  // namespace
}  // namespace kuvell

// SPDX-License-Identifier: MIT
// The cost of one second in the main window: the graph alone, and the whole tick
// (a real netlink snapshot, the arithmetic, the label, the tray and the graph),
// on this machine's links as they are and with steady traffic on a full graph.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>
#include <memory>

#include "frontends/qt/MonitorWindow.h"
#include "frontends/qt/SettingsStore.h"
#include "settings/core/ProgramVariables.h"
#include "stats/core/IfTableSource.h"
#include "stats/linux/NetlinkIfTableSource.h"
#include "support/ScriptedTableSource.h"
#include "support/TableWriter.h"
#include "support/TextStore.h"

namespace {

using namespace kuvell;

// One row whose counters grow by a different amount every tick, so every one of
// the 299 slots holds a bar of its own height.
class GrowingTable : public testsupport::ScriptedTableSource
{
  public:
    IfTableResult getIfTable(uint8_t* buffer, uint32_t& size, bool sort) override
    {
        if (buffer == nullptr) {
            step_ = (step_ * 7 + 13) % 97;
            received_ += 1000 + step_ * 1500;  // up to ~146 kB, within the 200000 filter
            sent_ += 500 + step_ * 400;
            table = testsupport::oneRowTable(received_, sent_);
        }
        return ScriptedTableSource::getIfTable(buffer, size, sort);
    }

  private:
    uint32_t step_ = 1;
    uint32_t received_ = 0;
    uint32_t sent_ = 0;
};

// The real netlink snapshot is taken and paid for every tick, but the window
// is served one row whose counters grow by the same amount each second: the
// state a monitor spends most of its day in, where the label, the tray and the
// graph's pixels do not change from one tick to the next.
class SteadyTrafficAfterARealSnapshot : public testsupport::ScriptedTableSource
{
  public:
    IfTableResult getIfTable(uint8_t* buffer, uint32_t& size, bool sort) override
    {
        if (buffer == nullptr) {
            benchmark::DoNotOptimize(real_.dumpLinks());
            received_ += 60000;
            sent_ += 20000;
            table = testsupport::oneRowTable(received_, sent_);
        }
        return ScriptedTableSource::getIfTable(buffer, size, sort);
    }

  private:
    NetlinkIfTableSource real_;
    uint32_t received_ = 0;
    uint32_t sent_ = 0;
};

struct Window
{
    explicit Window(std::shared_ptr<IfTableSource> source)
        : store(dir.filePath(QStringLiteral("kuvell.ini")))
    {
        MonitorWindowServices services;
        services.tableSource = std::move(source);
        services.todayLongDate = QStringLiteral("today");
        window = std::make_unique<MonitorWindow>(vars, store, std::move(services));
        window->timer()->stop();
        window->startUp();
        for (int tick = 0; tick < 300; ++tick) {  // every slot filled
            window->sampleTraffic();
        }
    }

    QTemporaryDir dir;
    ProgramVariables vars;
    testsupport::TextStore store;
    std::unique_ptr<MonitorWindow> window;
};

void graphDrawWith299FilledSlots(benchmark::State& state)
{
    Window main(std::make_shared<GrowingTable>());
    for (auto _ : state) {
        main.window->draw(false);
        benchmark::DoNotOptimize(main.window->graphImage().constBits());
    }
}
BENCHMARK(graphDrawWith299FilledSlots)->Unit(benchmark::kMicrosecond);

void wholeTickWithTheLinuxTable(benchmark::State& state)
{
    Window main(std::make_shared<NetlinkIfTableSource>());
    for (auto _ : state) {
        main.window->sampleTraffic();
        benchmark::DoNotOptimize(main.window->graphImage().constBits());
    }
}
BENCHMARK(wholeTickWithTheLinuxTable)->Unit(benchmark::kMicrosecond);

void wholeTickWithSteadyTrafficOnAFullGraph(benchmark::State& state)
{
    Window main(std::make_shared<SteadyTrafficAfterARealSnapshot>());
    for (auto _ : state) {
        main.window->sampleTraffic();
        benchmark::DoNotOptimize(main.window->graphImage().constBits());
    }
}
BENCHMARK(wholeTickWithSteadyTrafficOnAFullGraph)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

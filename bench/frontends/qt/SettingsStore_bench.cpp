// SPDX-License-Identifier: MIT
// What a large store costs: the first read of a file of `kN=a,b` lines (each a
// value Qt's reader splits at its comma, the hardest kind to give back as
// written), every start-up read, the quit's save over keys the file holds, and
// the save of a key it does not hold yet (the first-start date). The argument
// is the number of lines; 0 fills the file up to the read limit, where every
// save is refused, since Qt would write each "a,b" back as "a, b".
#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>

#include "frontends/qt/SettingsStore.h"
#include "settings/core/ProgramVariables.h"
#include "settings/core/StartupSettings.h"
#include "support/TextStore.h"

namespace {

using namespace kuvell;

QByteArray listLines(int64_t lines)
{
    QByteArray bytes =
        "[options]\ninstalldate=Tuesday, 8 December 2026\n[setting]\nDLtot=1\nULtot=1\n";
    const qsizetype limit = lines > 0 ? testsupport::TextStore::kMaxFileBytes * 2
                                      : testsupport::TextStore::kMaxFileBytes;
    for (int64_t line = 0; lines <= 0 || line < lines; ++line) {
        const QByteArray next = 'k' + QByteArray::number(line) + "=a,b\n";
        if (bytes.size() + next.size() > limit) break;
        bytes += next;
    }
    return bytes;
}

class StoreFile
{
  public:
    explicit StoreFile(int64_t lines) : path_(folder_.filePath(QStringLiteral("kuvell.ini")))
    {
        QFile file(path_);
        const QByteArray bytes = listLines(lines);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
            path_.clear();
        }
        size_ = bytes.size();
    }
    const QString& path() const { return path_; }
    qsizetype size() const { return size_; }

  private:
    QTemporaryDir folder_;
    QString path_;
    qsizetype size_ = 0;
};

bool ready(benchmark::State& state, const StoreFile& file)
{
    if (file.path().isEmpty()) {
        state.SkipWithError("no store file could be written");
        return false;
    }
    state.counters["file_bytes"] = static_cast<double>(file.size());
    return true;
}

void firstRead(benchmark::State& state)
{
    const StoreFile file(state.range(0));
    if (!ready(state, file)) return;
    for (auto _ : state) {
        const testsupport::TextStore store(file.path());
        benchmark::DoNotOptimize(store.readSetting(QStringLiteral("setting"),
                                                   QStringLiteral("DLtot"), QStringLiteral("1")));
    }
}

void startupReads(benchmark::State& state)
{
    const StoreFile file(state.range(0));
    if (!ready(state, file)) return;
    for (auto _ : state) {
        testsupport::TextStore store(file.path());
        ProgramVariables vars;
        benchmark::DoNotOptimize(loadStartupSettings(store, vars, "today"));
    }
}

void quitSave(benchmark::State& state)
{
    const StoreFile file(state.range(0));
    if (!ready(state, file)) return;
    testsupport::TextStore store(file.path());
    for (auto _ : state) {
        const StoreChange changes[] = {{{"setting", "DLtot"}, "12345"},
                                       {{"setting", "ULtot"}, "678"}};
        benchmark::DoNotOptimize(store.writeTexts(changes));
    }
}

void newKeySave(benchmark::State& state)
{
    const StoreFile file(state.range(0));
    if (!ready(state, file)) return;
    testsupport::TextStore store(file.path());
    int key = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(store.writeSetting(
            QStringLiteral("options"), QStringLiteral("new%1").arg(++key), QStringLiteral("1")));
    }
}

}  // namespace

BENCHMARK(firstRead)->Arg(1000)->Arg(8000)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(startupReads)->Arg(1000)->Arg(8000)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(quitSave)->Arg(1000)->Arg(8000)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(newKeySave)->Arg(1000)->Arg(8000)->Arg(0)->Unit(benchmark::kMillisecond);

// Undo and redo at a competition's size, and the autosave's write (which runs beside typing,
// on a thread of its own).
#include "BenchData.h"
#include "app/Recovery.h"
#include "formats/FilFormat.h"
#include "scoring/Recalculation.h"
#include "scoring/Scorer.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;
using namespace vastrel;
using namespace vastrel::bench;

namespace {

// A change taken back and done again, as undo and redo do.
void UndoAndRedo(ResultTable& table, Change& change) {
    change.Invert();
    table.Apply(change);
    change.Invert();
    table.Apply(change);
}

void BM_UndoRedoFullRecalculation(benchmark::State& state) {
    Competition c;
    c.table.BeginChange();
    c.Recalculate();
    Change change = c.table.EndChange();
    for (auto _ : state) {
        UndoAndRedo(c.table, change);
    }
    state.counters["change_MB"] = static_cast<double>(change.Bytes()) / (1024.0 * 1024.0);
}
BENCHMARK(BM_UndoRedoFullRecalculation)->Unit(benchmark::kMillisecond);

void BM_UndoRedoDeleting10000Rows(benchmark::State& state) {
    ResultTable table;
    FillTable(table);
    table.LockUpdate(false);
    std::vector<int> rows;
    for (int row = 1; row <= 10000; ++row) {
        rows.push_back(row * 3);
    }
    table.BeginChange();
    table.RemoveRows(rows);
    Change change = table.EndChange();
    for (auto _ : state) {
        UndoAndRedo(table, change);
    }
    state.counters["change_MB"] = static_cast<double>(change.Bytes()) / (1024.0 * 1024.0);
}
BENCHMARK(BM_UndoRedoDeleting10000Rows)->Unit(benchmark::kMillisecond);

// The copy is made on the window's thread; the write then runs beside it.
void BM_AutosaveCopy(benchmark::State& state) {
    ResultTable table;
    FillTable(table);
    for (auto _ : state) {
        benchmark::DoNotOptimize(table.Copy());
    }
}
BENCHMARK(BM_AutosaveCopy)->Unit(benchmark::kMillisecond);

void BM_AutosaveWrite(benchmark::State& state) {
    ResultTable table;
    FillTable(table);
    QTemporaryDir dir;
    const Recovery recovery(dir.path());
    for (auto _ : state) {
        recovery.Write(*table.Copy(), u"Lauf.csv"_s);
    }
}
BENCHMARK(BM_AutosaveWrite)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv); // the database driver is a plugin
    ::benchmark::Initialize(&argc, argv);
    ::benchmark::RunSpecifiedBenchmarks();
    return 0;
}

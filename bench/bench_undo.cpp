// Undo and redo at a competition's size, and the autosave's write (which runs beside typing,
// on a thread of its own).
#include "BenchData.h"
#include "app/Recovery.h"
#include "formats/FilFormat.h"
#include "scoring/Recalculation.h"
#include "scoring/Scorer.h"
#include "table/TableJournal.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;
using namespace vastrel;
using namespace vastrel::bench;

namespace {

void BM_UndoRedoFullRecalculation(benchmark::State& state) {
    Competition c;
    TableJournal journal;
    c.table.RecordInto(&journal);
    c.Recalculate();
    c.table.RecordInto(nullptr);
    for (auto _ : state) {
        journal.Undo(c.table);
        journal.Redo(c.table);
    }
    state.counters["journal_MB"] = static_cast<double>(journal.Bytes()) / (1024.0 * 1024.0);
}
BENCHMARK(BM_UndoRedoFullRecalculation)->Unit(benchmark::kMillisecond);

void BM_UndoRedoDeleting10000Rows(benchmark::State& state) {
    ResultTable table;
    FillTable(table);
    table.LockUpdate(false);
    for (int row = 1; row <= 10000; ++row) {
        table.SetRowSelected(row * 3, true);
    }
    TableJournal journal;
    table.RecordInto(&journal);
    table.DeleteSelectedRows();
    table.RecordInto(nullptr);
    for (auto _ : state) {
        journal.Undo(table);
        journal.Redo(table);
    }
    state.counters["journal_MB"] = static_cast<double>(journal.Bytes()) / (1024.0 * 1024.0);
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

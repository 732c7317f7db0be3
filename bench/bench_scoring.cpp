// Scoring a full competition: points and day sums of 32,767 rows.
#include "BenchData.h"
#include "scoring/Recalculation.h"
#include "scoring/Scorer.h"
#include "table/ColumnModel.h"
#include "table/ResultTable.h"

#include <benchmark/benchmark.h>

#include <climits>

namespace {
using namespace vastrel::bench;

using namespace vastrel;
using namespace Qt::StringLiterals;

void BM_ScoreAllRows(benchmark::State& state) {
    ResultTable table;
    SilentUi ui;
    Scorer scorer(table, ui);
    FillTable(table);
    for (auto _ : state) {
        for (int row = 1; row <= table.RowCount(); ++row) {
            scorer.ComputeRowPoints(row);
            scorer.UpdateRowSums(row);
        }
        benchmark::DoNotOptimize(table.CellText(kRows, u"Gesamt"));
    }
    state.counters["rows"] = kRows;
}
BENCHMARK(BM_ScoreAllRows)->Unit(benchmark::kMillisecond);

// The same row scored 32,767 times: the arithmetic alone, with every cell in the cache.
void BM_ScoreOneRowRepeatedly(benchmark::State& state) {
    ResultTable table;
    SilentUi ui;
    Scorer scorer(table, ui);
    DefineColumns(table, [](const QString& t) { return t.size() * 100.0; });
    table.AddRow(CompetitorRow(7));
    for (auto _ : state) {
        for (int i = 0; i < kRows; ++i) {
            scorer.ComputeRowPoints(1);
            scorer.UpdateRowSums(1);
        }
    }
}
BENCHMARK(BM_ScoreOneRowRepeatedly)->Unit(benchmark::kMillisecond);

// The full recalculation of a scored competition on one thread (0) and on two (1).
void BM_RecalculateAll(benchmark::State& state) {
    Competition c;
    c.Recalculate();
    const int rowsForTwoThreads = state.range(0) == 0 ? INT_MAX : 1;
    for (auto _ : state) {
        RecalculateAll(c.view, c.scorer, c.ui, rowsForTwoThreads);
    }
}
BENCHMARK(BM_RecalculateAll)->DenseRange(0, 1)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same on a competition scored for the first time, as after an open: every row gets new
// cells. Kept as one change, as the window keeps it for undo.
void BM_FirstRecalculation(benchmark::State& state) {
    Competition c;
    const int rowsForTwoThreads = state.range(0) == 0 ? INT_MAX : 1;
    for (auto _ : state) {
        state.PauseTiming();
        c.table.LockUpdate(true);
        c.table.ClearTable(false);
        for (int i = 1; i <= kRows; ++i) {
            c.table.AddRow(CompetitorRow(i));
        }
        c.table.LockUpdate(false);
        c.table.BeginChange();
        state.ResumeTiming();
        RecalculateAll(c.view, c.scorer, c.ui, rowsForTwoThreads);
        state.PauseTiming();
        c.table.EndChange();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_FirstRecalculation)->DenseRange(0, 1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SortByRunAndTotal(benchmark::State& state) {
    ResultTable table;
    SilentUi ui;
    Scorer scorer(table, ui);
    FillTable(table);
    for (int row = 1; row <= table.RowCount(); ++row) {
        scorer.ComputeRowPoints(row);
        scorer.UpdateRowSums(row);
    }
    SortDirection direction = SortDirection::Ascending;
    for (auto _ : state) {
        table.SortBy(u"Lauf,Gesamt"_s, direction);
        // alternate, so no run sorts an already sorted table
        direction =
            direction == SortDirection::Ascending ? SortDirection::Descending : SortDirection::Ascending;
    }
}
BENCHMARK(BM_SortByRunAndTotal)->Unit(benchmark::kMillisecond);

void BM_SortByName(benchmark::State& state) {
    ResultTable table;
    FillTable(table);
    SortDirection direction = SortDirection::Ascending;
    for (auto _ : state) {
        table.SortBy(u"Name Vorname,Gesamt"_s, direction);
        direction =
            direction == SortDirection::Ascending ? SortDirection::Descending : SortDirection::Ascending;
    }
}
BENCHMARK(BM_SortByName)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();

#include "scoring/Recalculation.h"

#include "ports/Ui.h"
#include "scoring/Progress.h"
#include "scoring/Scorer.h"
#include "scoring/ScoresAhead.h"
#include "table/ResultTable.h"

#include <memory>
#include <thread>

using namespace Qt::StringLiterals;

namespace vastrel {

void RecalculateRow(ResultTable& table, Scorer& scorer, int row) {
    if (table.IsRowEmpty(row)) {
        return;
    }
    table.LockUpdate(true);
    scorer.ComputeRowPoints(row);
    scorer.UpdateRowSums(row);
    table.LockUpdate(false);
}

void RecalculateAll(ResultTable& table, Scorer& scorer, Ui& ui) {
    // Below this the second thread costs more than it saves.
    constexpr int kRowsForTwoThreads = 4096;
    RecalculateAll(table, scorer, ui, kRowsForTwoThreads);
}

void RecalculateAll(ResultTable& table, Scorer& scorer, Ui& ui, int rowsForTwoThreads) {
    ui.SetStatusText(StatusPanel::Progress, u"Berechnung läuft! Bitte warten!  "_s);
    ui.SetBusy(true);
    scorer.SetInputErrorFlag(false);
    ui.ProcessPendingEvents();
    table.LockUpdate(true);
    const int rowCount = table.RowCount();
    ProgressDisplay progress(ui);
    std::unique_ptr<ScoresAhead> ahead;
    if (rowCount >= rowsForTwoThreads && std::thread::hardware_concurrency() > 1) {
        ahead = std::make_unique<ScoresAhead>(table, scorer.Coefficients());
    }
    RowCells cells;
    for (int row = 1; row <= rowCount; ++row) {
        // A row scored ahead is not empty: its block, far away after a sort, is not read here.
        const auto outcome = ahead ? ahead->Scored(row, cells) : ScoresAhead::Outcome::ScoreOnTable;
        const bool scoredAhead = outcome != ScoresAhead::Outcome::ScoreOnTable;
        const bool empty = !scoredAhead && table.IsRowEmpty(row);
        if (outcome == ScoresAhead::Outcome::Changed) {
            table.StoreCells(row, std::move(cells)); // scored without a message
        } else if (!scoredAhead && !empty) {
            scorer.ComputeRowPoints(row);
            if (scorer.InputErrorFlag()) {
                break; // this row keeps its old sums; the rows after it are not computed
            }
        }
        progress.Show(row, table.RowCount());
        if (row % 10 == 0) {
            ui.ProcessPendingEvents();
        }
        if (!empty && !scoredAhead) {
            scorer.UpdateRowSums(row);
        }
    }
    ahead.reset();
    table.SortBy(u"Lauf,Gesamt"_s, SortDirection::Descending);
    table.SetCurrentRow(1);
    table.LockUpdate(false);
    table.Refresh();
    ui.SetStatusText(StatusPanel::Progress, u"Berechnung abgeschlossen!  "_s);
    ui.SetBusy(false);
    ui.ProcessPendingEvents();
}

} // namespace vastrel

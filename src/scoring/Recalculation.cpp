#include "scoring/Recalculation.h"

#include "ports/Ui.h"
#include "scoring/Progress.h"
#include "scoring/Scorer.h"
#include "table/ResultTable.h"

using namespace Qt::StringLiterals;

namespace vastrel {

bool IsRowEmpty(const ResultTable& table, int row) {
    return table.IsRowEmpty(row);
}

void RecalculateRow(ResultTable& table, Scorer& scorer, int row) {
    if (IsRowEmpty(table, row)) {
        return;
    }
    table.LockUpdate(true);
    scorer.ComputeRowPoints(row);
    scorer.UpdateRowSums(row);
    table.LockUpdate(false);
}

void RecalculateAll(ResultTable& table, Scorer& scorer, Ui& ui) {
    ui.SetStatusText(StatusPanel::Progress, u"Berechnung läuft! Bitte warten!  "_s);
    ui.SetBusy(true);
    scorer.SetInputErrorFlag(false);
    ui.ProcessPendingEvents();
    table.LockUpdate(true);
    const int rowCount = table.RowCount();
    ProgressDisplay progress(ui);
    for (int row = 1; row <= rowCount; ++row) {
        const bool empty = IsRowEmpty(table, row);
        if (!empty) {
            scorer.ComputeRowPoints(row);
            if (scorer.InputErrorFlag()) {
                break; // this row keeps its old sums; the rows after it are not computed
            }
        }
        progress.Show(row, table.RowCount());
        if (row % 10 == 0) {
            ui.ProcessPendingEvents();
        }
        if (!empty) {
            scorer.UpdateRowSums(row);
        }
    }
    table.SortBy(u"Lauf,Gesamt"_s, SortDirection::Descending);
    table.SetCurrentRow(1);
    table.LockUpdate(false);
    table.Refresh();
    ui.SetStatusText(StatusPanel::Progress, u"Berechnung abgeschlossen!  "_s);
    ui.SetBusy(false);
    ui.ProcessPendingEvents();
}

} // namespace vastrel

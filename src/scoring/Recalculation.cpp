#include "scoring/Recalculation.h"

#include "scoring/Scorer.h"
#include "table/ResultTable.h"

namespace vastrel {

bool IsRowEmpty(const ResultTable& table, int row) {
    for (int c = 1; c <= table.ColumnCount(); ++c) {
        if (!table.CellText(row, c).isEmpty()) {
            return false;
        }
    }
    return true;
}

void RecalculateRow(ResultTable& table, Scorer& scorer, int row) {
    if (IsRowEmpty(table, row)) {
        return;
    }
    table.LockUpdate(true);
    scorer.SetScoringRow(row);
    scorer.ComputeRowPoints();
    scorer.UpdateRowSums();
    table.LockUpdate(false);
}

} // namespace vastrel

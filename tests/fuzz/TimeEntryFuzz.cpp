// Types any text into any distance, with any sex and age factor, and scores the row: the entry
// check and the points formula never crash, and what they write is a time, a whole number of
// points or nothing.
#include "FuzzSupport.h"
#include "ports/SilentUi.h"
#include "scoring/Scorer.h"
#include "scoring/TimeEntry.h"
#include "system/NumberText.h"
#include "table/ColumnModel.h"
#include "table/CompetitionLayout.h"
#include "table/ResultTable.h"
#include "table/TableView.h"

#include <cmath>
#include <cstddef>
#include <cstdint>

using namespace Qt::StringLiterals;
using namespace vastrel;

// Input: one byte for the distance, then "typed time \t m/w \t AF" as UTF-8.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) {
        return 0;
    }
    const Distance& distance = kDistances[data[0] % kDistances.size()];
    const QStringList parts =
        QString::fromUtf8(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1))
            .split(u'\t');
    ResultTable table;
    TableView view{table};
    SilentUi ui;
    Scorer scorer(table, ui);
    DefineColumns(table, fuzz::Width);
    AppendEmptyRow(table, view);
    QString typed = parts.value(0);
    ValidateTimeEntry(table, table.ColumnNumber(distance.timeKey), typed, ui);
    if (!typed.isEmpty() && !typed.contains(u'.')) {
        fuzz::Broken("a stored time holds its decimal point", typed);
    }
    table.SetCellText(1, distance.timeKey, typed);
    table.SetCellText(1, u"mw", parts.value(1));
    table.SetCellText(1, u"AF", parts.value(2));
    scorer.ComputeRowPoints(1);
    scorer.UpdateRowSums(1);
    for (const QString& key : CompetitionColumnKeys()) {
        if (DistanceGroupOf(key)) {
            continue;
        }
        const QString& cell = table.CellText(1, key);
        const auto value = ConvertStrict(cell);
        if (!cell.isEmpty() && (!value || *value < 1 || *value != std::floor(*value))) {
            fuzz::Broken("points and sums are whole numbers from 1 on", key + u'=' + cell);
        }
    }
    return 0;
}

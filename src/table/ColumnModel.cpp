#include "table/ColumnModel.h"

#include "table/ResultTable.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace vastrel {

const std::array<ColumnDefinition, kResultColumnCount>& ResultColumns() {
    static const std::array<ColumnDefinition, kResultColumnCount> columns = {{
        {u"Lauf", u"Lauf", 2, 1, true},
        {u"Datum", u"Datum", 2, 0, true},
        {u"lNr", u"l.Nr.", 2, 1, false},
        {u"mw", u"m/w", 2, 0, true},
        {u"Nr", u"Nr", 2, 1, false},
        {u"Name Vorname", u"Name, Vorname", 0, 0, true},
        {u"geb.", u"geb.", 2, 1, true},
        {u"AF", u"AF", 2, 1, true},
        {u"Bemerkung", u"Bemerkung", 0, 0, false},
        {u"60m", u"60m ", 2, 4, true},
        {u"Punkte1", u"Punkte", 2, 1, true},
        {u"1500m", u"1500m", 2, 0, true},
        {u"Punkte2", u"Punkte", 2, 1, true},
        {u"400m", u"400m", 2, 0, true},
        {u"Punkte3", u"Punkte", 2, 1, true},
        {u"Summe1", u"Summe", 2, 1, true},
        {u"100m", u"100m", 2, 4, true},
        {u"Punkte4", u"Punkte", 2, 1, true},
        {u"3000m", u"3000m", 2, 0, true},
        {u"Punkte5", u"Punkte", 2, 1, true},
        {u"800m", u"800m", 2, 0, true},
        {u"Punkte6", u"Punkte", 2, 1, true},
        {u"Summe2", u"Summe", 2, 1, true},
        {u"200m", u"200m", 2, 4, true},
        {u"Punkte7", u"Punkte", 2, 1, true},
        {u"5000m", u"5000m", 2, 0, true},
        {u"Punkte8", u"Punkte", 2, 1, true},
        {u"1000m", u"1000m", 2, 0, true},
        {u"Punkte9", u"Punkte", 2, 1, true},
        {u"Summe3", u"Summe", 2, 1, true},
        {u"10km", u"10km", 2, 0, true},
        {u"Summe4", u"Summe", 2, 1, true},
        {u"Gesamt", u"Gesamt", 2, 1, true},
    }};
    return columns;
}

void AddResultColumns(ResultTable& table) {
    for (const ColumnDefinition& c : ResultColumns()) {
        table.AddColumn(QString::fromUtf16(c.key), QString::fromUtf16(c.caption), 10, c.alignment, true, 1,
                        c.alignment, 0, c.kind);
    }
}

void DefineColumns(ResultTable& table, const TextWidthFunction& textWidth) {
    table.LockUpdate(true);
    table.SetTableMode(1);
    table.ClearTable(true);
    AddResultColumns(table);
    SetColumnWidths(table, textWidth);
    table.SetVisible(u"Nr", false);
    table.SetVisible(u"lNr", false);
    table.SetVisible(u"Bemerkung", false);
    table.SetSearchCaption(u"Suche:"_s);
    table.LockUpdate(false);
    table.Refresh();
}

void SetColumnWidths(ResultTable& table, const TextWidthFunction& textWidth) {
    for (int c = 1; c <= table.ColumnCount(); ++c) {
        // Halves go to the even neighbour: nearbyint under the default rounding mode.
        const double width = std::nearbyint(textWidth(table.HeaderText(c)) * 1.5);
        table.SetWidth(c, static_cast<int>(width));
        table.FitColumn(c);
    }
    table.SetFixedWidth(u"Datum", 500);
}

void FlagSumCells(ResultTable& table, int row) {
    for (const char16_t* key : kSumCellKeys) {
        table.SetCellFlag(row, key, true);
    }
}

void AppendEmptyRow(ResultTable& table) {
    table.AddRow(QString());
    table.SetCurrentRow(table.RowCount());
    FlagSumCells(table, table.RowCount());
}

} // namespace vastrel

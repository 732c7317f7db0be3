#include "table/ColumnModel.h"

#include "table/CompetitionLayout.h"
#include "table/ResultTable.h"
#include "table/TableView.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace vastrel {

namespace {
constexpr ColumnAlignment L = ColumnAlignment::Left;
constexpr ColumnAlignment C = ColumnAlignment::Center;
constexpr ColumnKind T = ColumnKind::Text;
constexpr ColumnKind N = ColumnKind::Number;
constexpr ColumnKind S = ColumnKind::SprintTime;
} // namespace

const std::array<ColumnDefinition, kResultColumnCount>& ResultColumns() {
    static const std::array<ColumnDefinition, kResultColumnCount> columns = {{
        {u"Lauf", u"Lauf", C, N},
        {u"Datum", u"Datum", C, T},
        {u"lNr", u"l.Nr.", C, N},
        {u"mw", u"m/w", C, T},
        {u"Nr", u"Nr", C, N},
        {u"Name Vorname", u"Name, Vorname", L, T},
        {u"geb.", u"geb.", C, N},
        {u"AF", u"AF", C, N},
        {u"Bemerkung", u"Bemerkung", L, T},
        {u"60m", u"60m ", C, S},
        {u"Punkte1", u"Punkte", C, N},
        {u"1500m", u"1500m", C, T},
        {u"Punkte2", u"Punkte", C, N},
        {u"400m", u"400m", C, T},
        {u"Punkte3", u"Punkte", C, N},
        {u"Summe1", u"Summe", C, N},
        {u"100m", u"100m", C, S},
        {u"Punkte4", u"Punkte", C, N},
        {u"3000m", u"3000m", C, T},
        {u"Punkte5", u"Punkte", C, N},
        {u"800m", u"800m", C, T},
        {u"Punkte6", u"Punkte", C, N},
        {u"Summe2", u"Summe", C, N},
        {u"200m", u"200m", C, S},
        {u"Punkte7", u"Punkte", C, N},
        {u"5000m", u"5000m", C, T},
        {u"Punkte8", u"Punkte", C, N},
        {u"1000m", u"1000m", C, T},
        {u"Punkte9", u"Punkte", C, N},
        {u"Summe3", u"Summe", C, N},
        {u"10km", u"10km", C, T},
        {u"Summe4", u"Summe", C, N},
        {u"Gesamt", u"Gesamt", C, N},
    }};
    return columns;
}

std::vector<Column> NewResultColumns() {
    std::vector<Column> columns;
    for (const ColumnDefinition& c : ResultColumns()) {
        const int alignment = static_cast<int>(c.alignment);
        Column column;
        column.key = QString::fromUtf16(c.key);
        column.headerText = QString::fromUtf16(c.caption);
        column.layout = {10, alignment, true, 1, alignment, 0, static_cast<int>(c.kind)};
        columns.push_back(column);
    }
    return columns;
}

std::uint64_t SumCellFlags() {
    std::uint64_t flags = 0;
    for (const char16_t* key : kSumCellKeys) {
        for (std::size_t c = 0; c < ResultColumns().size(); ++c) {
            flags |= QStringView(ResultColumns()[c].key) == QStringView(key) ? std::uint64_t{1} << c : 0;
        }
    }
    return flags;
}

void DefineColumns(ResultTable& table, const TextWidthFunction& textWidth) {
    table.LockUpdate(true);
    TableData empty;
    empty.columns = NewResultColumns();
    for (Column& column : empty.columns) {
        for (const char16_t* key : kHiddenAtStartKeys) {
            column.visible = column.visible && column.key != QStringView(key);
        }
    }
    empty.values = table.Data().values;
    empty.values.tableMode = 1;
    empty.values.searchCaption = u"Suche:"_s;
    empty.values.sortOrder.clear();
    table.Replace(std::move(empty));
    SetColumnWidths(table, textWidth);
    table.LockUpdate(false);
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

void AppendEmptyRow(ResultTable& table, TableView& view) {
    const int row = table.AddRow(QString());
    view.SetCurrentRow(row);
    for (const char16_t* key : kSumCellKeys) {
        table.SetCellFlag(row, key, true);
    }
}

} // namespace vastrel

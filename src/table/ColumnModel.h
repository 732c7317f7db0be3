#pragma once

#include "table/Column.h"

#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace vastrel {

class ResultTable;
class TableView;

struct ColumnDefinition {
    const char16_t* key;
    const char16_t* caption;
    ColumnAlignment alignment; // of the header and the cells
    ColumnKind kind;
};

inline constexpr int kResultColumnCount = 33;
static_assert(kResultColumnCount <= kMaxColumns);

// The 33 columns of the results table, in their fixed order.
const std::array<ColumnDefinition, kResultColumnCount>& ResultColumns();

// The 33 columns with their keys, captions and layout values, as a new table gets them: all
// shown, no widths yet.
std::vector<Column> NewResultColumns();

// The flags a new row's five sum cells carry.
std::uint64_t SumCellFlags();

// Width of a text in the window's font, in twips.
using TextWidthFunction = std::function<double(const QString& text)>;

// Makes the table the empty 33-column table: columns, widths, three hidden columns, "Suche:".
void DefineColumns(ResultTable& table, const TextWidthFunction& textWidth);

// Every column as wide as its caption times 1.5; "Datum" no narrower than 500 twips.
void SetColumnWidths(ResultTable& table, const TextWidthFunction& textWidth);

// Appends an empty row with its five sum cells flagged and puts the cursor on it.
void AppendEmptyRow(ResultTable& table, TableView& view);

} // namespace vastrel

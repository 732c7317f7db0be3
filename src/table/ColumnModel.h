#pragma once

#include "table/Column.h"

#include <QString>

#include <array>
#include <functional>

namespace vastrel {

class ResultTable;

struct ColumnDefinition {
    const char16_t* key;
    const char16_t* caption;
    ColumnAlignment alignment; // of the header and the cells
    ColumnKind kind;
};

inline constexpr int kResultColumnCount = 33;

// The 33 columns of the results table, in their fixed order.
const std::array<ColumnDefinition, kResultColumnCount>& ResultColumns();

// Width of a text in the window's font, in twips.
using TextWidthFunction = std::function<double(const QString& text)>;

// Adds the 33 columns with their keys, captions and layout values (no rows, no widths).
void AddResultColumns(ResultTable& table);

// Builds the empty 33-column table: columns, widths, three hidden columns, "Suche:".
void DefineColumns(ResultTable& table, const TextWidthFunction& textWidth);

// Every column as wide as its caption times 1.5; "Datum" no narrower than 500 twips.
void SetColumnWidths(ResultTable& table, const TextWidthFunction& textWidth);

// Appends an empty row, makes it current and flags its five sum cells.
void AppendEmptyRow(ResultTable& table);

// Flags the five sum cells of the row.
void FlagSumCells(ResultTable& table, int row);

} // namespace vastrel

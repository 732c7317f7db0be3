#pragma once

#include "table/Column.h"
#include "table/RowCells.h"

#include <QString>

#include <cstdint>
#include <variant>
#include <vector>

namespace vastrel {

// Rows are told apart by an id that stays with them through sorts, undo and redo.
using RowId = std::uint32_t;

// A row's cells and which of them are computed (flagged), one bit a column.
struct RowData {
    RowCells cells;
    std::uint64_t flags = 0;
    bool operator==(const RowData&) const = default;
};
static_assert(kMaxColumns <= 64, "a row's flags are one 64-bit mask");

struct Row {
    RowId id = 0;
    RowData data;
};

// The values a table keeps beside its columns and rows, as its files keep them.
struct TableValues {
    QString caption;       // the title line
    QString searchCaption; // "Suche:"
    int tableMode = 0;
    int layoutValue = 0;
    QString sortOrder; // the last sort's keys and direction, "Lauf DESC,Gesamt DESC"; no change names it
    bool operator==(const TableValues&) const = default;
};

// Everything a table holds: what an open replaces in one go.
struct TableData {
    std::vector<Column> columns;
    std::vector<Row> rows;
    TableValues values;
};

// What one command did to the competition's data, in terms that outlive row numbers: rows by
// their id with their cells before and after, rows added or removed with their cells and places,
// the order of the rows, the table's values, or the whole table. Every part holds both sides:
// turned round (Invert), a change takes itself back when applied. Undo keeps changes; the window,
// the autosave and whatever follows the competition are told them.
class ResultTable;

class Change {
public:
    struct RowEdit {
        RowId id;
        std::uint32_t position; // where the row stood, from 0, when it changed
        RowData before;
        RowData after;
    };
    using RowEdits = std::vector<RowEdit>;
    // Cells written one at a time, by row id and column, their texts before and after kept in
    // `texts` (a few bytes a cell, where a row's cells would take hundreds).
    struct CellEdit {
        RowId id;
        std::uint32_t position; // the row's, from 0
        std::uint32_t column;   // from 0
        std::uint32_t beforeStart, beforeLength;
        std::uint32_t afterStart, afterLength;
    };
    struct CellEdits {
        std::vector<CellEdit> edits;
        QString texts;
        QStringView Before(const CellEdit& edit) const {
            return QStringView(texts).sliced(edit.beforeStart, edit.beforeLength);
        }
        QStringView After(const CellEdit& edit) const {
            return QStringView(texts).sliced(edit.afterStart, edit.afterLength);
        }
    };
    // Rows put in (added) or taken out, with their places: from 0, ascending, counted in the table
    // that holds them.
    struct RowsPlaced {
        bool added = true;
        std::vector<std::size_t> positions;
        std::vector<Row> rows;
    };
    struct Reorder {
        std::vector<RowId> before;
        std::vector<RowId> after;
    };
    struct ValuesChange {
        TableValues before;
        TableValues after;
    };
    struct Replacement {
        TableData before;
        TableData after;
    };
    using Part = std::variant<RowEdits, CellEdits, RowsPlaced, Reorder, ValuesChange, Replacement>;

    bool IsEmpty() const { return parts_.empty(); }
    const std::vector<Part>& Parts() const { return parts_; }
    // Rows came, went or moved, or the table was replaced: more than cells and values changed.
    bool MovesRows() const;
    // The change the other way round.
    void Invert();
    // What the change holds that the table may no longer hold, roughly, in bytes.
    std::size_t Bytes() const;

    // Undo keeps a change without the rows' cells the table holds right after it: the rows stay
    // the table's alone (a later write then changes a row in place instead of copying it), and
    // a step holds what the table does not. TakeFromTable gives them back; the table must be as
    // the change left it, which undo's order makes sure of.
    void LeaveToTable(const ResultTable& table);
    void TakeFromTable(const ResultTable& table);

    // Recording. An edit of the row edited just before joins it, rows added after rows added
    // join them.
    void Add(RowEdit edit);
    void AddCell(RowId id, std::size_t position, std::size_t column, QStringView before, QStringView after);
    void Add(Part part);

private:
    std::vector<Part> parts_;
};

// Visits a change's parts: one lambda a kind of part.
template <class... Ts> struct Overloaded : Ts... { using Ts::operator()...; };
template <class... Ts> Overloaded(Ts...) -> Overloaded<Ts...>; // clang 14 deduces no aggregates

} // namespace vastrel

#pragma once

#include "table/Column.h"
#include "table/RowCells.h"

#include <QHash>
#include <QString>

#include <cstdint>
#include <memory>
#include <variant>
#include <vector>

namespace vastrel {

class ResultTable;

// What one step changed in a table, kept to take it back and to do it again. Each entry holds
// what the table held before the change; applying an entry swaps that with the table, so the
// entries backwards take the step back and forwards do it again. Only changed cells are kept:
// their texts in one buffer, so a full recalculation of a competition costs a few megabytes.
class TableJournal {
public:
    TableJournal();
    ~TableJournal();
    TableJournal(TableJournal&&) noexcept;
    TableJournal& operator=(TableJournal&&) noexcept;

    bool IsEmpty() const { return entries_.empty(); }
    void Undo(ResultTable& table);
    void Redo(ResultTable& table);
    // What the journal holds in memory, roughly: rows and blocks as they were when kept.
    std::size_t Bytes() const;

private:
    friend class ResultTable;
    struct CellTexts {
        std::vector<std::uint32_t> rowIds;
        std::vector<std::uint16_t> columns; // 0-based
        std::vector<std::uint32_t> ends;    // end of each text in `texts`
        QString texts;
    };
    // Whole rows' former cells, where a row took new cells in one go: the blocks themselves
    // are kept, neither copied nor freed.
    struct RowBlocks {
        std::vector<std::uint32_t> rowIds;
        std::vector<RowCells> cells;
    };
    struct CellFlag {
        std::uint32_t rowId;
        std::uint16_t column;
        bool flag;
    };
    struct RowOrder {
        std::vector<std::uint32_t> ids;
    };
    struct RowSet; // rows taken out of the table, or the ids of rows in it
    struct WholeTable;
    using Entry = std::variant<CellTexts, RowBlocks, CellFlag, RowOrder, std::unique_ptr<RowSet>,
                               std::unique_ptr<WholeTable>>;

    void Apply(ResultTable& table, Entry& entry);
    void Finish();      // recording ended: spare capacity goes
    void ReleaseRows(); // the rows' blocks kept, freed in one go
    std::vector<Entry> entries_;
    std::uint32_t serial_;
    bool replaced_ = false;    // the whole table was kept: finer changes after it need no entries
    std::size_t rowBytes_ = 0; // rows and row blocks kept, counted as they are kept
};

} // namespace vastrel

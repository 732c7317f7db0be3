#include "table/TableJournal.h"

#include "table/ResultTable.h"

#include <algorithm>

namespace vastrel {

// Rows out of the table (`rows` holds them, `positions` where they stood, 0-based, ascending),
// or rows in it (`rows` empty, `ids` names them).
struct TableJournal::RowSet {
    bool inTable = false;
    std::vector<std::uint32_t> ids;
    std::vector<std::size_t> positions;
    std::vector<ResultTable::Row> rows;
};

// Everything the table held before it was replaced (an open).
struct TableJournal::WholeTable {
    std::vector<Column> columns;
    QHash<QString, int> columnIndex;
    std::vector<ResultTable::Row> rows;
    int tableMode = 0;
    int currentRow = 0;
    int layoutValue = 0;
    QString sortOrder;
    QString caption;
    QString searchCaption;
};

namespace {
std::uint32_t g_nextSerial = 1;
} // namespace

// A row keeps the serial in 31 bits.
TableJournal::TableJournal() : serial_(g_nextSerial++ & 0x7fffffffu) {}

void TableJournal::Finish() {
    for (Entry& entry : entries_) {
        if (auto* cells = std::get_if<CellTexts>(&entry)) {
            cells->rowIds.shrink_to_fit();
            cells->columns.shrink_to_fit();
            cells->ends.shrink_to_fit();
            cells->texts.squeeze();
        } else if (auto* blocks = std::get_if<RowBlocks>(&entry)) {
            blocks->rowIds.shrink_to_fit();
            blocks->cells.shrink_to_fit();
        }
    }
    entries_.shrink_to_fit();
}
TableJournal::~TableJournal() {
    ReleaseRows();
}
TableJournal::TableJournal(TableJournal&&) noexcept = default;
TableJournal& TableJournal::operator=(TableJournal&& other) noexcept {
    if (this != &other) {
        ReleaseRows();
        entries_ = std::move(other.entries_);
        serial_ = other.serial_;
        replaced_ = other.replaced_;
        rowBytes_ = other.rowBytes_;
    }
    return *this;
}

// A step dropped from undo may hold a million rows' blocks: freed in the order they lie in
// memory rather than one by one in table order (100 ms less at a million rows).
void TableJournal::ReleaseRows() {
    constexpr std::size_t kFewRows = 4096; // freed as they come
    std::vector<RowCells*> cells;
    const auto take = [&cells](std::vector<ResultTable::Row>& rows) {
        for (ResultTable::Row& row : rows) {
            cells.push_back(&row.cells);
        }
    };
    for (Entry& entry : entries_) {
        if (auto* blocks = std::get_if<RowBlocks>(&entry)) {
            for (RowCells& c : blocks->cells) {
                cells.push_back(&c);
            }
        } else if (auto* set = std::get_if<std::unique_ptr<RowSet>>(&entry); set && *set) {
            take((*set)->rows);
        } else if (auto* whole = std::get_if<std::unique_ptr<WholeTable>>(&entry); whole && *whole) {
            take((*whole)->rows);
        }
    }
    if (cells.size() >= kFewRows) {
        RowCells::ReleaseInMemoryOrder(cells);
    }
}

std::size_t TableJournal::Bytes() const {
    std::size_t bytes = 0;
    for (const Entry& entry : entries_) {
        if (const auto* cells = std::get_if<CellTexts>(&entry)) {
            bytes += cells->rowIds.capacity() * 4 + cells->columns.capacity() * 2 +
                     cells->ends.capacity() * 4 + static_cast<std::size_t>(cells->texts.capacity()) * 2;
        } else if (const auto* blocks = std::get_if<RowBlocks>(&entry)) {
            bytes += blocks->rowIds.capacity() * 4 + blocks->cells.capacity() * sizeof(RowCells);
        } else if (const auto* order = std::get_if<RowOrder>(&entry)) {
            bytes += order->ids.capacity() * 4;
        } else {
            bytes += sizeof(Entry);
        }
    }
    return bytes + rowBytes_;
}

void TableJournal::Undo(ResultTable& table) {
    for (auto it = entries_.rbegin(); it != entries_.rend(); ++it) {
        Apply(table, *it);
    }
    ++table.layoutGeneration_;
    table.NotifyReset();
}

void TableJournal::Redo(ResultTable& table) {
    for (Entry& entry : entries_) {
        Apply(table, entry);
    }
    ++table.layoutGeneration_;
    table.NotifyReset();
}

void TableJournal::Apply(ResultTable& table, Entry& entry) {
    auto& rows = table.rows_;
    const auto indexOfIds = [&rows] {
        QHash<std::uint32_t, std::size_t> index;
        index.reserve(static_cast<qsizetype>(rows.size()));
        for (std::size_t i = 0; i < rows.size(); ++i) {
            index.insert(rows[i].id, i);
        }
        return index;
    };
    if (auto* cells = std::get_if<CellTexts>(&entry)) {
        // Each cell takes the kept text; the text it had is kept in its place.
        const QHash<std::uint32_t, std::size_t> index = indexOfIds();
        QString swapped;
        swapped.reserve(cells->texts.size());
        std::uint32_t start = 0;
        for (std::size_t i = 0; i < cells->rowIds.size(); ++i) {
            const std::uint32_t end = cells->ends[i];
            const auto at = index.constFind(cells->rowIds[i]);
            if (at != index.cend()) {
                ResultTable::Row& row = rows[at.value()];
                swapped += row.Cell(cells->columns[i]);
                row.cells.Set(cells->columns[i], QStringView(cells->texts).sliced(start, end - start),
                              table.columns_.size());
            }
            cells->ends[i] = static_cast<std::uint32_t>(swapped.size());
            start = end;
        }
        cells->texts = std::move(swapped);
    } else if (auto* blocks = std::get_if<RowBlocks>(&entry)) {
        const QHash<std::uint32_t, std::size_t> index = indexOfIds();
        for (std::size_t i = 0; i < blocks->rowIds.size(); ++i) {
            if (const auto at = index.constFind(blocks->rowIds[i]); at != index.cend()) {
                std::swap(rows[at.value()].cells, blocks->cells[i]);
            }
        }
    } else if (auto* flag = std::get_if<CellFlag>(&entry)) {
        const QHash<std::uint32_t, std::size_t> index = indexOfIds();
        if (const auto at = index.constFind(flag->rowId); at != index.cend()) {
            ResultTable::Row& row = rows[at.value()];
            const bool now = row.Flag(flag->column);
            row.SetFlag(flag->column, flag->flag);
            flag->flag = now;
        }
    } else if (auto* order = std::get_if<RowOrder>(&entry)) {
        QHash<std::uint32_t, std::size_t> index = indexOfIds();
        std::vector<std::uint32_t> now;
        now.reserve(rows.size());
        std::vector<ResultTable::Row> reordered;
        reordered.reserve(rows.size());
        for (const ResultTable::Row& row : rows) {
            now.push_back(row.id);
        }
        for (std::uint32_t id : order->ids) {
            if (const auto at = index.constFind(id); at != index.cend()) {
                reordered.push_back(std::move(rows[at.value()]));
            }
        }
        rows = std::move(reordered);
        order->ids = std::move(now);
    } else if (auto* set = std::get_if<std::unique_ptr<RowSet>>(&entry)) {
        RowSet& s = **set;
        if (s.inTable) {
            // Out of the table, remembering where they stood.
            const QHash<std::uint32_t, std::size_t> index = indexOfIds();
            s.positions.clear();
            for (std::uint32_t id : s.ids) {
                if (const auto at = index.constFind(id); at != index.cend()) {
                    s.positions.push_back(at.value());
                }
            }
            std::sort(s.positions.begin(), s.positions.end());
            // One pass: the rows that go to the set, the others closing up behind them.
            std::vector<ResultTable::Row> kept;
            kept.reserve(rows.size() - s.positions.size());
            std::size_t next = 0;
            for (std::size_t i = 0; i < rows.size(); ++i) {
                if (next < s.positions.size() && s.positions[next] == i) {
                    s.rows.push_back(std::move(rows[i]));
                    ++next;
                } else {
                    kept.push_back(std::move(rows[i]));
                }
            }
            rows = std::move(kept);
        } else {
            // One pass: each row back at the place it had among the others.
            s.ids.clear();
            std::vector<ResultTable::Row> merged;
            merged.reserve(rows.size() + s.rows.size());
            std::size_t from = 0;
            for (std::size_t i = 0; i < s.rows.size(); ++i) {
                while (merged.size() < s.positions[i] && from < rows.size()) {
                    merged.push_back(std::move(rows[from++]));
                }
                s.ids.push_back(s.rows[i].id);
                merged.push_back(std::move(s.rows[i]));
            }
            while (from < rows.size()) {
                merged.push_back(std::move(rows[from++]));
            }
            rows = std::move(merged);
            s.rows.clear();
        }
        s.inTable = !s.inTable;
    } else if (auto* whole = std::get_if<std::unique_ptr<WholeTable>>(&entry)) {
        WholeTable& w = **whole;
        std::swap(w.columns, table.columns_);
        std::swap(w.columnIndex, table.columnIndex_);
        std::swap(w.rows, table.rows_);
        std::swap(w.tableMode, table.tableMode_);
        std::swap(w.currentRow, table.currentRow_);
        std::swap(w.layoutValue, table.layoutValue_);
        std::swap(w.sortOrder, table.sortOrder_);
        std::swap(w.caption, table.caption_);
        std::swap(w.searchCaption, table.searchCaption_);
    }
    // The selection is no part of a step; what it counted may be gone.
    table.selectedCount_ = static_cast<int>(
        std::count_if(rows.begin(), rows.end(), [](const ResultTable::Row& row) { return row.selected; }));
    table.currentRow_ = rows.empty() ? 0 : std::clamp(table.currentRow_, 1, static_cast<int>(rows.size()));
}

// The recording side, kept beside the entries it writes.

void ResultTable::RecordInto(TableJournal* journal) {
    if (journal_ && journal_ != journal) {
        journal_->Finish();
    }
    journal_ = journal;
}

void ResultTable::RecordCellText(const Row& row, std::size_t column) {
    if (journal_->replaced_) {
        return;
    }
    // What the cell held before the step is all an undo needs: later writes are not kept.
    if (row.journalSerial != journal_->serial_) {
        row.journalSerial = journal_->serial_;
        row.journalColumns = 0;
    }
    if (column < 64) {
        const std::uint64_t bit = std::uint64_t{1} << column;
        if (row.journalColumns & bit) {
            return;
        }
        row.journalColumns |= bit;
    }
    auto& entries = journal_->entries_;
    if (entries.empty() || !std::holds_alternative<TableJournal::CellTexts>(entries.back())) {
        entries.emplace_back(TableJournal::CellTexts{});
    }
    auto& cells = std::get<TableJournal::CellTexts>(entries.back());
    cells.rowIds.push_back(row.id);
    cells.columns.push_back(static_cast<std::uint16_t>(column));
    cells.texts += row.Cell(column);
    cells.ends.push_back(static_cast<std::uint32_t>(cells.texts.size()));
}

void ResultTable::RecordRowCells(Row& row, RowCells&& cells) {
    if (journal_->replaced_) {
        row.cells = std::move(cells);
        return;
    }
    // The kept block restores every cell: later writes in this step need no entries.
    row.journalSerial = journal_->serial_;
    row.journalColumns = ~std::uint64_t{0};
    auto& entries = journal_->entries_;
    if (entries.empty() || !std::holds_alternative<TableJournal::RowBlocks>(entries.back())) {
        entries.emplace_back(TableJournal::RowBlocks{});
    }
    auto& blocks = std::get<TableJournal::RowBlocks>(entries.back());
    journal_->rowBytes_ += cells.Bytes(); // about the former block's size, which stays unread
    blocks.rowIds.push_back(row.id);
    blocks.cells.push_back(std::move(row.cells));
    row.cells = std::move(cells);
}

void ResultTable::RecordCellFlag(const Row& row, std::size_t column) {
    if (!journal_->replaced_) {
        journal_->entries_.emplace_back(
            TableJournal::CellFlag{row.id, static_cast<std::uint16_t>(column), row.Flag(column)});
    }
}

void ResultTable::RecordRowsAdded(std::size_t first) {
    if (journal_->replaced_) {
        return;
    }
    auto& entries = journal_->entries_;
    // Rows appended one after the other are one entry.
    if (!entries.empty()) {
        if (auto* set = std::get_if<std::unique_ptr<TableJournal::RowSet>>(&entries.back());
            set && (*set)->inTable) {
            for (std::size_t i = first; i < rows_.size(); ++i) {
                (*set)->ids.push_back(rows_[i].id);
            }
            return;
        }
    }
    auto set = std::make_unique<TableJournal::RowSet>();
    set->inTable = true;
    for (std::size_t i = first; i < rows_.size(); ++i) {
        set->ids.push_back(rows_[i].id);
    }
    entries.emplace_back(std::move(set));
}

void ResultTable::RecordRowsRemoved(const std::vector<int>& rows) {
    if (journal_->replaced_) {
        return;
    }
    auto set = std::make_unique<TableJournal::RowSet>();
    for (int r : rows) {
        set->positions.push_back(static_cast<std::size_t>(r - 1));
        set->rows.push_back(rows_[static_cast<std::size_t>(r - 1)]);
        journal_->rowBytes_ += sizeof(Row) + set->rows.back().cells.Bytes();
    }
    journal_->entries_.emplace_back(std::move(set));
}

void ResultTable::RecordOrder() {
    if (journal_->replaced_) {
        return;
    }
    TableJournal::RowOrder order;
    order.ids.reserve(rows_.size());
    for (const Row& row : rows_) {
        order.ids.push_back(row.id);
    }
    journal_->entries_.emplace_back(std::move(order));
}

void ResultTable::RecordWholeTable(bool takeRows) {
    if (journal_->replaced_) {
        return;
    }
    // The old table is kept whole; what follows in this step builds a new one, which an undo
    // swaps out. Rows about to be cleared are moved, not copied: a million of them would take
    // a second.
    auto whole = std::make_unique<TableJournal::WholeTable>();
    whole->columns = columns_;
    whole->columnIndex = columnIndex_;
    if (takeRows) {
        whole->rows = std::move(rows_);
        rows_.clear();
    } else {
        whole->rows = rows_;
    }
    journal_->rowBytes_ += whole->rows.capacity() * sizeof(Row);
    for (const Row& row : whole->rows) {
        journal_->rowBytes_ += row.cells.Bytes();
    }
    whole->tableMode = tableMode_;
    whole->currentRow = currentRow_;
    whole->layoutValue = layoutValue_;
    whole->sortOrder = sortOrder_;
    whole->caption = caption_;
    whole->searchCaption = searchCaption_;
    journal_->entries_.emplace_back(std::move(whole));
    journal_->replaced_ = true;
}

} // namespace vastrel

#include "table/Change.h"

#include "table/ResultTable.h"

#include <algorithm>
#include <limits>

namespace vastrel {

namespace {

// Every row's cells of the change that may be the table's, with the place the row had: edits
// both sides, rows put in or taken out, and the rows a replacement put in.
template <typename Visit> void ForEachImage(std::vector<Change::Part>& parts, const Visit& visit) {
    for (Change::Part& part : parts) {
        std::visit(Overloaded{[&](Change::RowEdits& edits) {
                                  for (Change::RowEdit& edit : edits) {
                                      visit(edit.id, edit.position, edit.before.cells);
                                      visit(edit.id, edit.position, edit.after.cells);
                                  }
                              },
                              [&](Change::RowsPlaced& placed) {
                                  for (std::size_t i = 0; i < placed.rows.size(); ++i) {
                                      visit(placed.rows[i].id, placed.positions[i],
                                            placed.rows[i].data.cells);
                                  }
                              },
                              [&](Change::Replacement& whole) {
                                  for (std::size_t i = 0; i < whole.after.rows.size(); ++i) {
                                      visit(whole.after.rows[i].id, i, whole.after.rows[i].data.cells);
                                  }
                              },
                              [](auto&) {
                              }},
                   part);
    }
}

// The table's cells of a row, found at the place the change recorded, else (the row moved later
// in the change) by its id: the table is indexed only for a change that moved rows, in a vector,
// as ids are handed out one after the other (bench_window, a recalculation after the age factors
// at a million rows: left to the table in 0.13 s, in 0.31-0.41 s with a hash).
class TableCells {
public:
    explicit TableCells(const ResultTable& table) : rows_(table.Data().rows) {}
    const RowCells* Of(RowId id, std::size_t position) {
        if (position < rows_.size() && rows_[position].id == id) {
            return &rows_[position].data.cells;
        }
        if (positionOf_.empty()) {
            RowId last = 0;
            for (const Row& row : rows_) {
                last = std::max(last, row.id);
            }
            positionOf_.assign(static_cast<std::size_t>(last) + 1, kNone);
            for (std::size_t i = 0; i < rows_.size(); ++i) {
                positionOf_[rows_[i].id] = static_cast<std::uint32_t>(i);
            }
        }
        const std::uint32_t at = id < positionOf_.size() ? positionOf_[id] : kNone;
        return at == kNone ? nullptr : &rows_[at].data.cells;
    }

private:
    static constexpr std::uint32_t kNone = std::numeric_limits<std::uint32_t>::max();
    const std::vector<Row>& rows_;
    std::vector<std::uint32_t> positionOf_;
};

std::size_t RowsBytes(const std::vector<Row>& rows) {
    std::size_t bytes = rows.capacity() * sizeof(Row);
    for (const Row& row : rows) {
        bytes += row.data.cells.Bytes();
    }
    return bytes;
}

} // namespace

void Change::Add(RowEdit edit) {
    auto* edits = parts_.empty() ? nullptr : std::get_if<RowEdits>(&parts_.back());
    if (!edits) {
        parts_.emplace_back(RowEdits{});
        edits = &std::get<RowEdits>(parts_.back());
    }
    if (!edits->empty() && edits->back().id == edit.id) {
        edits->back().after = std::move(edit.after); // the row written again: one edit
        return;
    }
    edits->push_back(std::move(edit));
}

void Change::AddCell(RowId id, std::size_t position, std::size_t column, QStringView before,
                     QStringView after) {
    auto* cells = parts_.empty() ? nullptr : std::get_if<CellEdits>(&parts_.back());
    if (!cells) {
        parts_.emplace_back(CellEdits{});
        cells = &std::get<CellEdits>(parts_.back());
    }
    const auto at = static_cast<std::uint32_t>(cells->texts.size());
    cells->texts += before;
    cells->texts += after;
    cells->edits.push_back({id, static_cast<std::uint32_t>(position), static_cast<std::uint32_t>(column), at,
                            static_cast<std::uint32_t>(before.size()),
                            at + static_cast<std::uint32_t>(before.size()),
                            static_cast<std::uint32_t>(after.size())});
}

void Change::Add(Part part) {
    auto* added = std::get_if<RowsPlaced>(&part);
    auto* last = parts_.empty() ? nullptr : std::get_if<RowsPlaced>(&parts_.back());
    if (added && last && added->added && last->added) {
        last->positions.insert(last->positions.end(), added->positions.begin(), added->positions.end());
        last->rows.insert(last->rows.end(), added->rows.begin(), added->rows.end());
        return;
    }
    parts_.push_back(std::move(part));
}

bool Change::MovesRows() const {
    return std::any_of(parts_.begin(), parts_.end(), [](const Part& part) {
        return !std::holds_alternative<RowEdits>(part) && !std::holds_alternative<CellEdits>(part) &&
               !std::holds_alternative<ValuesChange>(part);
    });
}

void Change::Invert() {
    std::reverse(parts_.begin(), parts_.end());
    for (Part& part : parts_) {
        std::visit(Overloaded{[](RowEdits& edits) {
                                  std::reverse(edits.begin(), edits.end());
                                  for (RowEdit& edit : edits) {
                                      std::swap(edit.before, edit.after);
                                  }
                              },
                              [](CellEdits& cells) {
                                  std::reverse(cells.edits.begin(), cells.edits.end());
                                  for (CellEdit& edit : cells.edits) {
                                      std::swap(edit.beforeStart, edit.afterStart);
                                      std::swap(edit.beforeLength, edit.afterLength);
                                  }
                              },
                              [](RowsPlaced& rows) { rows.added = !rows.added; },
                              [](Reorder& order) { std::swap(order.before, order.after); },
                              [](ValuesChange& values) { std::swap(values.before, values.after); },
                              [](Replacement& whole) {
                                  std::swap(whole.before, whole.after);
                              }},
                   part);
    }
}

void Change::LeaveToTable(const ResultTable& table) {
    TableCells held(table);
    ForEachImage(parts_, [&held](RowId id, std::size_t position, RowCells& cells) {
        if (!cells.IsEmpty()) {
            const RowCells* now = held.Of(id, position);
            if (now && cells.SameBlock(*now)) {
                cells = RowCells::HeldByTable();
            }
        }
    });
}

void Change::TakeFromTable(const ResultTable& table) {
    TableCells held(table);
    ForEachImage(parts_, [&held](RowId id, std::size_t position, RowCells& cells) {
        if (cells.IsHeldByTable()) {
            const RowCells* now = held.Of(id, position);
            cells = now ? *now : RowCells();
        }
    });
}

std::size_t Change::Bytes() const {
    std::size_t bytes = parts_.capacity() * sizeof(Part);
    for (const Part& part : parts_) {
        bytes += std::visit(Overloaded{[](const RowEdits& edits) {
                                           std::size_t b = edits.capacity() * sizeof(RowEdit);
                                           for (const RowEdit& edit : edits) {
                                               b += edit.before.cells.Bytes();
                                           }
                                           return b;
                                       },
                                       [](const CellEdits& cells) {
                                           return cells.edits.capacity() * sizeof(CellEdit) +
                                                  static_cast<std::size_t>(cells.texts.capacity()) * 2;
                                       },
                                       [](const RowsPlaced& rows) { return RowsBytes(rows.rows); },
                                       [](const Reorder& order) {
                                           return (order.before.capacity() + order.after.capacity()) *
                                                  sizeof(RowId);
                                       },
                                       [](const ValuesChange&) { return std::size_t{0}; },
                                       [](const Replacement& whole) {
                                           return RowsBytes(whole.before.rows);
                                       }},
                            part);
    }
    return bytes;
}

} // namespace vastrel

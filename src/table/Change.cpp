#include "table/Change.h"

#include "table/ResultTable.h"

#include <algorithm>

namespace vastrel {

namespace {

// Every row's cells of the change that may be the table's: edits both sides, added rows, and the
// rows a replacement put in.
template <typename Visit> void ForEachImage(std::vector<Change::Part>& parts, const Visit& visit) {
    for (Change::Part& part : parts) {
        std::visit(Overloaded{[&](Change::RowEdits& edits) {
                                  for (Change::RowEdit& edit : edits) {
                                      visit(edit.id, edit.before.cells);
                                      visit(edit.id, edit.after.cells);
                                  }
                              },
                              [&](Change::RowsPlaced& placed) {
                                  for (Row& row : placed.rows) {
                                      visit(row.id, row.data.cells);
                                  }
                              },
                              [&](Change::Replacement& whole) {
                                  for (Row& row : whole.after.rows) {
                                      visit(row.id, row.data.cells);
                                  }
                              },
                              [](auto&) {
                              }},
                   part);
    }
}

// The table's rows by id.
std::vector<const RowCells*> CellsById(const ResultTable& table) {
    std::vector<const RowCells*> cells(table.NextRowId(), nullptr);
    for (const Row& row : table.Data().rows) {
        cells[row.id] = &row.data.cells;
    }
    return cells;
}

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
    const std::vector<const RowCells*> held = CellsById(table);
    ForEachImage(parts_, [&held](RowId id, RowCells& cells) {
        if (id < held.size() && held[id] && cells.SameBlock(*held[id])) {
            cells = RowCells::HeldByTable();
        }
    });
}

void Change::TakeFromTable(const ResultTable& table) {
    const std::vector<const RowCells*> held = CellsById(table);
    ForEachImage(parts_, [&held](RowId id, RowCells& cells) {
        if (cells.IsHeldByTable()) {
            cells = id < held.size() && held[id] ? *held[id] : RowCells();
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

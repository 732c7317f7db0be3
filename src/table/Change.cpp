#include "table/Change.h"

#include <algorithm>

namespace vastrel {

namespace {

std::size_t RowsBytes(const std::vector<Row>& rows) {
    std::size_t bytes = rows.capacity() * sizeof(Row);
    for (const Row& row : rows) {
        bytes += row.data.cells.Bytes();
    }
    return bytes;
}

} // namespace

void Change::Add(RowEdit edit) {
    auto* edits = parts_.empty() ? nullptr : std::get_if<std::vector<RowEdit>>(&parts_.back());
    if (!edits) {
        parts_.emplace_back(std::vector<RowEdit>{});
        edits = &std::get<std::vector<RowEdit>>(parts_.back());
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
        return !std::holds_alternative<std::vector<RowEdit>>(part) &&
               !std::holds_alternative<CellEdits>(part) && !std::holds_alternative<ValuesChange>(part);
    });
}

void Change::Invert() {
    std::reverse(parts_.begin(), parts_.end());
    for (Part& part : parts_) {
        std::visit(Overloaded{[](std::vector<RowEdit>& edits) {
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

std::size_t Change::Bytes() const {
    std::size_t bytes = parts_.capacity() * sizeof(Part);
    for (const Part& part : parts_) {
        bytes += std::visit(Overloaded{[](const std::vector<RowEdit>& edits) {
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

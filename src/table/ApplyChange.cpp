// Applying a change made elsewhere: another station's, or one that undo turned round.
#include "table/ResultTable.h"

#include <algorithm>

namespace vastrel {

void ResultTable::ApplyPart(const Change::Part& part) {
    std::visit(Overloaded{[this](const Change::RowEdits& edits) {
                              for (const Change::RowEdit& edit : edits) {
                                  const std::size_t at = PositionOf(edit.id, edit.position);
                                  if (at != kNowhere) {
                                      data_.rows[at].data = edit.after;
                                  }
                              }
                          },
                          [this](const Change::CellEdits& cells) {
                              for (const Change::CellEdit& edit : cells.edits) {
                                  const std::size_t at = PositionOf(edit.id, edit.position);
                                  if (at != kNowhere) {
                                      data_.rows[at].data.cells.Set(edit.column, cells.After(edit));
                                  }
                              }
                          },
                          [this](const Change::RowsPlaced& placed) {
                              placed.added ? PutRows(placed) : TakeRows(placed);
                          },
                          [this](const Change::Reorder& order) { Reorder(order.after); },
                          [this](const Change::ValuesChange& values) { data_.values = values.after; },
                          [this](const Change::Replacement& whole) {
                              data_ = whole.after;
                              IndexColumns();
                              for (const Row& row : data_.rows) {
                                  nextRowId_ = std::max(nextRowId_, row.id + 1);
                              }
                          }},
               part);
}

// Each row at its place among the others, in one pass.
void ResultTable::PutRows(const Change::RowsPlaced& placed) {
    std::vector<Row> merged;
    merged.reserve(data_.rows.size() + placed.rows.size());
    std::size_t from = 0;
    for (std::size_t i = 0; i < placed.rows.size(); ++i) {
        while (merged.size() < placed.positions[i] && from < data_.rows.size()) {
            merged.push_back(std::move(data_.rows[from++]));
        }
        merged.push_back(placed.rows[i]);
        nextRowId_ = std::max(nextRowId_, placed.rows[i].id + 1);
    }
    while (from < data_.rows.size()) {
        merged.push_back(std::move(data_.rows[from++]));
    }
    data_.rows = std::move(merged);
}

void ResultTable::TakeRows(const Change::RowsPlaced& placed) {
    std::vector<bool> gone(data_.rows.size(), false);
    for (std::size_t i = 0; i < placed.rows.size(); ++i) {
        const std::size_t at = PositionOf(placed.rows[i].id, placed.positions[i]);
        if (at != kNowhere) {
            gone[at] = true;
        }
    }
    std::vector<Row> kept;
    kept.reserve(data_.rows.size());
    for (std::size_t i = 0; i < data_.rows.size(); ++i) {
        if (!gone[i]) {
            kept.push_back(std::move(data_.rows[i]));
        }
    }
    data_.rows = std::move(kept);
}

// The rows in the order of `order`; rows it does not name keep their order after them.
void ResultTable::Reorder(const std::vector<RowId>& order) {
    std::vector<std::size_t> placeOf(nextRowId_, kNowhere);
    for (std::size_t i = 0; i < data_.rows.size(); ++i) {
        placeOf[data_.rows[i].id] = i;
    }
    std::vector<Row> reordered;
    reordered.reserve(data_.rows.size());
    for (RowId id : order) {
        if (id < placeOf.size() && placeOf[id] != kNowhere) {
            reordered.push_back(std::move(data_.rows[placeOf[id]]));
            placeOf[id] = kNowhere;
        }
    }
    for (std::size_t i = 0; i < data_.rows.size(); ++i) {
        if (placeOf[data_.rows[i].id] != kNowhere) {
            reordered.push_back(std::move(data_.rows[i]));
        }
    }
    data_.rows = std::move(reordered);
}

} // namespace vastrel

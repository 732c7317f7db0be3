// A row's history from the undo steps: read from the newest step back, each image the table
// holds (left to it by the step) standing for the row as the later steps found it.
#include "app/UndoStack.h"

#include "table/ResultTable.h"

#include <optional>

namespace vastrel {

std::vector<HistoryLine> UndoStack::HistoryOf(RowId id) const {
    std::vector<HistoryLine> lines;
    const int at = table_.RowNumberOf(id);
    std::optional<RowCells> current;
    if (at > 0) {
        current = table_.Cells(at);
    }
    const auto image = [&](const RowCells& cells) {
        return cells.IsHeldByTable() && current ? *current : cells;
    };
    for (std::size_t s = index_; s-- > 0;) {
        const Step& step = steps_[s];
        std::vector<HistoryLine> ofStep;
        const auto line = [&](std::size_t column, QStringView before, QStringView after) {
            ofStep.push_back({step.done, step.name, table_.Key(static_cast<int>(column) + 1),
                              before.toString(), after.toString()});
        };
        bool opened = false;
        const auto& parts = step.change.Parts();
        for (auto part = parts.rbegin(); part != parts.rend(); ++part) {
            if (std::holds_alternative<Change::Replacement>(*part)) {
                opened = true; // what came before is another table's
            } else if (const auto* edits = std::get_if<Change::RowEdits>(&*part)) {
                for (auto edit = edits->rbegin(); edit != edits->rend(); ++edit) {
                    if (edit->id != id) {
                        continue;
                    }
                    const RowCells before = image(edit->before.cells), after = image(edit->after.cells);
                    for (std::size_t c = std::max(before.Count(), after.Count()); c-- > 0;) {
                        if (before.At(c) != after.At(c)) {
                            line(c, before.At(c), after.At(c));
                        }
                    }
                    current = before;
                }
            } else if (const auto* cells = std::get_if<Change::CellEdits>(&*part)) {
                for (auto edit = cells->edits.rbegin(); edit != cells->edits.rend(); ++edit) {
                    if (edit->id == id) {
                        line(edit->column, cells->Before(*edit), cells->After(*edit));
                        if (current) {
                            current->Set(edit->column, cells->Before(*edit));
                        }
                    }
                }
            } else if (const auto* placed = std::get_if<Change::RowsPlaced>(&*part)) {
                for (const Row& row : placed->rows) {
                    if (row.id == id) {
                        HistoryLine whole{step.done, step.name, {}, {}, {}, placed->added, !placed->added};
                        ofStep.push_back(whole);
                        current = placed->added ? std::nullopt : std::optional(image(row.data.cells));
                    }
                }
            }
        }
        lines.insert(lines.end(), ofStep.rbegin(), ofStep.rend()); // a step's own lines in column order
        if (opened) {
            break;
        }
    }
    return lines;
}

} // namespace vastrel

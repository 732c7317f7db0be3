#include "gui/ResultGrid.h"

#include "gui/ResultTableModel.h"
#include "table/CompetitionLayout.h"
#include "table/ResultTable.h"

#include <QKeyEvent>
#include <QTableView>

#include <algorithm>

// The keys of a spreadsheet on the grid, outside an editor: Return and Tab move, Ctrl+V and
// Ctrl+C reach the clipboard, the arrow down on the last row makes a new one.
namespace vastrel {

void ResultGrid::MoveCursor(int rowStep, int columnStep) {
    const QModelIndex current = view_->currentIndex();
    if (!current.isValid()) {
        return;
    }
    int row = std::clamp(current.row() + rowStep, 0, model_->rowCount() - 1);
    int column = current.column();
    if (columnStep != 0) {
        const auto typedInto = [this](int r, int c) {
            return !view_->isColumnHidden(c) && (model_->flags(model_->index(r, c)) & Qt::ItemIsEditable);
        };
        const int columns = model_->columnCount();
        int c = column + columnStep;
        int r = row;
        while (r >= 0 && r < model_->rowCount() && !(c >= 0 && c < columns && typedInto(r, c))) {
            if (c < 0 || c >= columns) {
                r += columnStep; // on to the next row's first (or the last row's last) cell
                c = columnStep > 0 ? 0 : columns - 1;
            } else {
                c += columnStep;
            }
        }
        if (r < 0 || r >= model_->rowCount()) {
            return; // the first or the last cell: the cursor stays
        }
        row = r;
        column = c;
    }
    view_->setCurrentIndex(model_->index(row, column));
    view_->scrollTo(view_->currentIndex());
}

bool ResultGrid::KeyOnGrid(const QKeyEvent& key) {
    const QModelIndex current = view_->currentIndex();
    if (key.matches(QKeySequence::Paste) && current.isValid()) {
        Q_EMIT PasteRequested(current.row() + 1, current.column() + 1);
        return true;
    }
    if (key.matches(QKeySequence::Copy)) {
        const auto [row, columns] =
            view_->HoldsCellsInsideARow() ? ChosenCells() : std::pair<int, QList<int>>();
        Q_EMIT CopyRequested(row, columns);
        return true;
    }
    const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
    const bool shift = modifiers == Qt::ShiftModifier;
    if (modifiers != Qt::NoModifier && !shift) {
        return false;
    }
    switch (key.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        MoveCursor(shift ? -1 : 1, 0);
        return true;
    case Qt::Key_Tab:
        MoveCursor(0, 1);
        return true;
    case Qt::Key_Backtab:
        MoveCursor(0, -1);
        return true;
    case Qt::Key_Down:
        if (!shift && current.isValid() && current.row() == model_->rowCount() - 1) {
            Q_EMIT AppendRowRequested(); // as "Datensatz anfügen"; the cursor goes along
            view_->setCurrentIndex(model_->index(model_->rowCount() - 1, current.column()));
            view_->scrollTo(view_->currentIndex());
            return true;
        }
        return false;
    default:
        break;
    }
    // Typing into a computed cell or a read-only table: the grid takes no text there, and says why.
    const bool typing = key.key() == Qt::Key_F2 || (!key.text().isEmpty() && key.text().at(0).isPrint());
    if (typing && current.isValid() && !(model_->flags(current) & Qt::ItemIsEditable) &&
        (IsComputedColumn(table_.Key(current.column() + 1)) || table_.IsReadOnly())) {
        Q_EMIT LockedCellTyped(current.column() + 1);
        return true;
    }
    return false;
}

} // namespace vastrel

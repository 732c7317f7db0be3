#include "gui/GridView.h"

#include <QKeyEvent>
#include <QMouseEvent>

#include <algorithm>

namespace vastrel {

GridView::GridView(QWidget* parent) : QTableView(parent) {
    setSelectionBehavior(QAbstractItemView::SelectItems);
}

bool GridView::HoldsCellsInsideARow() const {
    const int lastColumn = model() ? model()->columnCount() - 1 : -1;
    const QItemSelection selection = selectionModel() ? selectionModel()->selection() : QItemSelection();
    return !selection.isEmpty() &&
           std::all_of(selection.cbegin(), selection.cend(),
                       [&](const QItemSelectionRange& r) {
                           return r.top() == selection.first().top() && r.bottom() == r.top();
                       }) &&
           std::any_of(selection.cbegin(), selection.cend(),
                       [&](const QItemSelectionRange& r) { return r.left() > 0 || r.right() < lastColumn; });
}

void GridView::mousePressEvent(QMouseEvent* event) {
    pressedRow_ = indexAt(event->position().toPoint()).row();
    QTableView::mousePressEvent(event);
}

QItemSelectionModel::SelectionFlags GridView::selectionCommand(const QModelIndex& index,
                                                               const QEvent* event) const {
    QItemSelectionModel::SelectionFlags flags = QTableView::selectionCommand(index, event);
    if (flags == QItemSelectionModel::NoUpdate || !index.isValid()) {
        return flags;
    }
    bool cells = false;
    if (event && event->type() == QEvent::MouseMove) {
        cells = index.row() == pressedRow_;
    } else if (event && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<const QKeyEvent*>(event);
        cells = (key->modifiers() & Qt::ShiftModifier) &&
                (key->key() == Qt::Key_Left || key->key() == Qt::Key_Right || key->key() == Qt::Key_Home ||
                 key->key() == Qt::Key_End) &&
                index.row() == currentIndex().row();
    } else if (event && event->type() == QEvent::MouseButtonPress) {
        const auto* mouse = static_cast<const QMouseEvent*>(event);
        cells = (mouse->modifiers() & Qt::ShiftModifier) && index.row() == currentIndex().row();
    }
    return cells ? flags : flags | QItemSelectionModel::Rows;
}

} // namespace vastrel

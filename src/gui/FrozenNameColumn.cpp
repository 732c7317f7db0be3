#include "gui/FrozenNameColumn.h"

#include "gui/GridCellDelegate.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QScrollBar>

namespace vastrel {

FrozenNameColumn::FrozenNameColumn(QTableView* grid) : QTableView(grid), grid_(grid) {
    setObjectName(QStringLiteral("frozenNameColumn"));
    setModel(grid->model());
    setSelectionModel(grid->selectionModel());
    setItemDelegate(new GridCellDelegate(this)); // its own: a shared one would commit to both views
    setSelectionBehavior(grid->selectionBehavior());
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setFocusPolicy(Qt::NoFocus);
    setPalette(grid->palette());
    setShowGrid(grid->showGrid());
    setWordWrap(false);
    setFrameStyle(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollMode(grid->verticalScrollMode());
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(grid->verticalHeader()->defaultSectionSize());
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setFixedHeight(grid->horizontalHeader()->height());
    // A thin line on its right marks it off from the columns scrolled under it.
    setStyleSheet(QStringLiteral("QTableView#frozenNameColumn { border-right: 2px solid #8090A8; }"));
    connect(grid->verticalScrollBar(), &QScrollBar::valueChanged, verticalScrollBar(), &QScrollBar::setValue);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, grid->verticalScrollBar(), &QScrollBar::setValue);
    connect(grid->horizontalScrollBar(), &QScrollBar::valueChanged, this, &FrozenNameColumn::Follow);
    connect(grid->horizontalHeader(), &QHeaderView::sectionResized, this, &FrozenNameColumn::Follow);
    connect(grid->model(), &QAbstractItemModel::modelReset, this, [this] { SetColumn(column_); });
    grid->installEventFilter(this);
    hide();
}

void FrozenNameColumn::SetColumn(int column) {
    column_ = column;
    for (int c = 0; c < model()->columnCount(); ++c) {
        setColumnHidden(c, c != column_);
    }
    Follow();
}

void FrozenNameColumn::Follow() {
    const bool outOfSight = column_ >= 0 && column_ < model()->columnCount() &&
                            !grid_->isColumnHidden(column_) &&
                            grid_->horizontalHeader()->sectionViewportPosition(column_) < 0;
    if (!outOfSight) {
        hide();
        return;
    }
    const int width = grid_->columnWidth(column_);
    setColumnWidth(column_, width);
    horizontalHeader()->setFixedHeight(grid_->horizontalHeader()->height());
    const int frame = grid_->frameWidth();
    setGeometry(frame + grid_->verticalHeader()->width(), frame, width + 2,
                grid_->viewport()->height() + grid_->horizontalHeader()->height());
    verticalScrollBar()->setValue(grid_->verticalScrollBar()->value());
    show();
    raise();
}

void FrozenNameColumn::mousePressEvent(QMouseEvent* event) {
    const int row = rowAt(event->position().toPoint().y());
    if (row < 0) {
        return;
    }
    // The grid keeps its column: a click on a name selects that competitor's row where one works.
    const int column = std::max(0, grid_->currentIndex().column());
    QItemSelectionModel::SelectionFlags flags = QItemSelectionModel::Rows;
    if (event->modifiers() & Qt::ControlModifier) {
        flags |= QItemSelectionModel::Toggle;
    } else {
        flags |= QItemSelectionModel::ClearAndSelect;
    }
    if ((event->modifiers() & Qt::ShiftModifier) && grid_->currentIndex().isValid()) {
        const QModelIndex from = model()->index(grid_->currentIndex().row(), 0);
        const QModelIndex to = model()->index(row, model()->columnCount() - 1);
        selectionModel()->select(QItemSelection(from, to),
                                 QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        selectionModel()->setCurrentIndex(model()->index(row, column), QItemSelectionModel::NoUpdate);
    } else {
        selectionModel()->setCurrentIndex(model()->index(row, column), flags);
    }
    grid_->setFocus(Qt::MouseFocusReason);
}

bool FrozenNameColumn::eventFilter(QObject* watched, QEvent* event) {
    if (watched == grid_ && (event->type() == QEvent::Resize || event->type() == QEvent::Show)) {
        Follow();
    }
    return QTableView::eventFilter(watched, event);
}

} // namespace vastrel

#include "gui/FrozenNameColumn.h"

#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionHeader>
#include <QStyleOptionViewItem>
#include <QTableView>

namespace vastrel {

namespace {
const QColor kGridLine(0xC8, 0xD4, 0xE4);
const QColor kEdge(0x80, 0x90, 0xA8);
} // namespace

FrozenNameColumn::FrozenNameColumn(QTableView* grid) : QWidget(grid), grid_(grid) {
    setObjectName(QStringLiteral("frozenNameColumn"));
    setFocusPolicy(Qt::NoFocus);
    const auto repaint = [this] {
        if (isVisible()) {
            update();
        }
    };
    connect(grid->verticalScrollBar(), &QScrollBar::valueChanged, this, repaint);
    connect(grid->horizontalScrollBar(), &QScrollBar::valueChanged, this, &FrozenNameColumn::Follow);
    connect(grid->horizontalHeader(), &QHeaderView::sectionResized, this, &FrozenNameColumn::Follow);
    QAbstractItemModel* model = grid->model();
    connect(model, &QAbstractItemModel::dataChanged, this, repaint);
    connect(model, &QAbstractItemModel::modelReset, this, repaint);
    connect(model, &QAbstractItemModel::layoutChanged, this, repaint);
    connect(model, &QAbstractItemModel::rowsInserted, this, repaint);
    connect(model, &QAbstractItemModel::rowsRemoved, this, repaint);
    connect(grid->selectionModel(), &QItemSelectionModel::selectionChanged, this, repaint);
    connect(grid->selectionModel(), &QItemSelectionModel::currentChanged, this, repaint);
    grid->installEventFilter(this);
    hide();
}

void FrozenNameColumn::SetColumn(int column) {
    column_ = column;
    Follow();
}

int FrozenNameColumn::HeaderHeight() const {
    return grid_->horizontalHeader()->isVisible() ? grid_->horizontalHeader()->height() : 0;
}

void FrozenNameColumn::Follow() {
    const bool outOfSight = column_ >= 0 && column_ < grid_->model()->columnCount() &&
                            !grid_->isColumnHidden(column_) &&
                            grid_->horizontalHeader()->sectionViewportPosition(column_) < 0;
    if (!outOfSight) {
        hide();
        return;
    }
    const int frame = grid_->frameWidth();
    setGeometry(frame + grid_->verticalHeader()->width(), frame, grid_->columnWidth(column_) + 2,
                grid_->viewport()->height() + HeaderHeight());
    show();
    raise();
    update();
}

void FrozenNameColumn::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int width = grid_->columnWidth(column_);
    const int top = HeaderHeight();
    QHeaderView* header = grid_->horizontalHeader();
    QStyleOptionHeader caption;
    caption.initFrom(header);
    caption.rect = QRect(0, 0, width, top);
    caption.section = column_;
    caption.text = grid_->model()->headerData(column_, Qt::Horizontal).toString();
    caption.textAlignment = Qt::AlignCenter;
    caption.position = QStyleOptionHeader::Middle;
    header->style()->drawControl(QStyle::CE_Header, &caption, &painter, header);

    // The grid's own cells of its rows in sight, painted by its delegate.
    painter.setClipRect(QRect(0, top, width, height() - top));
    const QItemSelectionModel* selection = grid_->selectionModel();
    for (int row = std::max(0, grid_->rowAt(0)); row >= 0 && row < grid_->model()->rowCount(); ++row) {
        const int y = top + grid_->rowViewportPosition(row);
        if (y >= height()) {
            break;
        }
        const QModelIndex index = grid_->model()->index(row, column_);
        QStyleOptionViewItem option;
        option.initFrom(grid_->viewport());
        option.rect = QRect(0, y, width - 1, grid_->rowHeight(row) - 1); // the grid line below, as the grid
        option.font = grid_->font();
        option.displayAlignment = Qt::AlignLeft | Qt::AlignVCenter;
        option.state |= QStyle::State_Enabled;
        if (selection->isSelected(index)) {
            option.state |= QStyle::State_Selected;
        }
        grid_->itemDelegate()->paint(&painter, option, index);
        painter.setPen(kGridLine);
        painter.drawLine(QPoint(0, y + grid_->rowHeight(row) - 1),
                         QPoint(width - 1, y + grid_->rowHeight(row) - 1));
    }
    painter.setClipping(false);
    painter.fillRect(QRect(width, 0, 2, height()), kEdge);
}

void FrozenNameColumn::mousePressEvent(QMouseEvent* event) {
    const int y = event->position().toPoint().y() - HeaderHeight();
    const int row = y < 0 ? -1 : grid_->rowAt(y);
    if (row < 0) {
        return;
    }
    // The grid keeps its column: a click on a name selects that competitor's row where one works.
    QAbstractItemModel* model = grid_->model();
    QItemSelectionModel* selection = grid_->selectionModel();
    const QModelIndex current = grid_->currentIndex();
    const QModelIndex target = model->index(row, std::max(0, current.column()));
    if ((event->modifiers() & Qt::ShiftModifier) && current.isValid()) {
        selection->select(
            QItemSelection(model->index(current.row(), 0), model->index(row, model->columnCount() - 1)),
            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        selection->setCurrentIndex(target, QItemSelectionModel::NoUpdate);
    } else {
        selection->setCurrentIndex(target,
                                   QItemSelectionModel::Rows | (event->modifiers() & Qt::ControlModifier
                                                                    ? QItemSelectionModel::Toggle
                                                                    : QItemSelectionModel::ClearAndSelect));
    }
    grid_->setFocus(Qt::MouseFocusReason);
}

void FrozenNameColumn::wheelEvent(QWheelEvent* event) {
    QApplication::sendEvent(grid_->viewport(), event); // the grid scrolls; this follows
}

bool FrozenNameColumn::eventFilter(QObject* watched, QEvent* event) {
    if (watched == grid_ && (event->type() == QEvent::Resize || event->type() == QEvent::Show)) {
        Follow();
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace vastrel

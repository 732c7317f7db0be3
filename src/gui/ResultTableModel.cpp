#include "gui/ResultTableModel.h"

#include "table/ResultTable.h"

#include <QBrush>
#include <QColor>
#include <QFont>

using namespace Qt::StringLiterals;

namespace vastrel {

namespace {
const QColor kEvenRow(0xFF, 0xFF, 0xF0);
const QColor kOddRow(0xE3, 0xEF, 0xFF);
const QColor kComputedText(0x1F, 0x3A, 0x6B);

Qt::Alignment ToQtAlignment(int code) {
    switch (code) {
    case 1:
        return Qt::AlignRight | Qt::AlignVCenter;
    case 2:
        return Qt::AlignCenter;
    default:
        return Qt::AlignLeft | Qt::AlignVCenter;
    }
}
} // namespace

ResultTableModel::ResultTableModel(ResultTable& table, QObject* parent)
    : QAbstractTableModel(parent), table_(table), rows_(table.RowCount()), columns_(table.ColumnCount()) {
    table_.SetObserver(this);
    TellChangedHeaders(); // takes them in
}

ResultTableModel::~ResultTableModel() {
    table_.SetObserver(nullptr);
}

int ResultTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int ResultTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : columns_;
}

QVariant ResultTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rows_ || index.column() >= columns_) {
        return {};
    }
    const int row = index.row() + 1;
    const int column = index.column() + 1;
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return table_.CellText(row, column);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(ToQtAlignment(table_.ColumnAt(column).layout.cellAlignment));
    case Qt::BackgroundRole:
        // Row 1 counts as odd, as the row numbers show it.
        return QBrush(row % 2 == 0 ? kEvenRow : kOddRow);
    case Qt::ForegroundRole:
        return table_.CellFlag(row, column) ? QVariant(QBrush(kComputedText)) : QVariant();
    case Qt::FontRole:
        if (table_.CellFlag(row, column)) {
            QFont font;
            font.setBold(true);
            return font;
        }
        return {};
    default:
        return {};
    }
}

bool ResultTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !index.isValid() ||
        !table_.IsCellEditable(index.row() + 1, index.column() + 1)) {
        return false;
    }
    editing_ = true;
    table_.EditCell(index.row() + 1, index.column() + 1, value.toString());
    editing_ = false;
    if (resetPending_) {
        resetPending_ = false;
        // Announced once the editor has finished: a reset now would pull it away mid-commit.
        QMetaObject::invokeMethod(this, &ResultTableModel::ApplyReset, Qt::QueuedConnection);
    }
    return true;
}

QVariant ResultTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role == Qt::DisplayRole) {
        if (orientation == Qt::Vertical) {
            // Running row numbers; the cursor's row carries a marker.
            return section + 1 == table_.CurrentRow() ? u"\u25B6 %1"_s.arg(section + 1)
                                                      : QString::number(section + 1);
        }
        return section < columns_ ? table_.HeaderText(section + 1) : QVariant();
    }
    if (role == Qt::TextAlignmentRole && orientation == Qt::Horizontal && section < columns_) {
        return QVariant::fromValue(ToQtAlignment(table_.ColumnAt(section + 1).layout.headerAlignment));
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags ResultTableModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && table_.IsCellEditable(index.row() + 1, index.column() + 1)) {
        f |= Qt::ItemIsEditable;
    }
    return f;
}

void ResultTableModel::TableReset() {
    if (editing_) {
        resetPending_ = true;
        return;
    }
    ApplyReset();
}

void ResultTableModel::ApplyReset() {
    const bool changed = table_.Revision() != shownRevision_;
    shownRevision_ = table_.Revision();
    if (!changed && rows_ == table_.RowCount() && columns_ == table_.ColumnCount()) {
        StateChanged();
        return;
    }
    if (rows_ == table_.RowCount() && columns_ == table_.ColumnCount()) {
        // Same shape: the views repaint every cell and keep their editors, scroll position
        // and cursor.
        if (rows_ > 0 && columns_ > 0) {
            Q_EMIT dataChanged(index(0, 0), index(rows_ - 1, columns_ - 1));
        }
        TellChangedHeaders();
    } else {
        beginResetModel();
        rows_ = table_.RowCount();
        columns_ = table_.ColumnCount();
        shownHeaders_.clear();
        endResetModel();
        TellChangedHeaders(); // only takes them in: the reset told the views
    }
    Q_EMIT ColumnLayoutChanged();
    StateChanged();
}

void ResultTableModel::CellChanged(int row, int column) {
    if (row <= rows_ && column <= columns_) {
        const QModelIndex i = index(row - 1, column - 1);
        Q_EMIT dataChanged(i, i);
    }
}

void ResultTableModel::TellChangedHeaders() {
    const bool taken = shownHeaders_.size() == static_cast<std::size_t>(columns_);
    shownHeaders_.resize(static_cast<std::size_t>(columns_));
    int first = columns_;
    int last = -1;
    for (int c = 0; c < columns_; ++c) {
        std::pair<QString, int> header{table_.HeaderText(c + 1),
                                       table_.ColumnAt(c + 1).layout.headerAlignment};
        if (shownHeaders_[static_cast<std::size_t>(c)] != header) {
            shownHeaders_[static_cast<std::size_t>(c)] = std::move(header);
            first = std::min(first, c);
            last = c;
        }
    }
    if (taken && last >= 0) {
        Q_EMIT headerDataChanged(Qt::Horizontal, first, last);
    }
}

void ResultTableModel::ColumnChanged(int column) {
    if (column <= columns_) {
        TellChangedHeaders();
    }
    Q_EMIT ColumnLayoutChanged();
}

void ResultTableModel::StateChanged() {
    const int current = table_.CurrentRow();
    if (current != markedRow_) {
        const int previous = markedRow_;
        markedRow_ = current;
        Q_EMIT CursorRowChanged(previous <= rows_ ? previous : 0, current <= rows_ ? current : 0);
    }
    Q_EMIT TableStateChanged();
}

} // namespace vastrel

#include "gui/ResultTableModel.h"

#include "table/CompetitionLayout.h"
#include "table/ResultTable.h"
#include "table/TableView.h"

#include <QBrush>
#include <QColor>
#include <QFont>

#include <algorithm>

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

ResultTableModel::ResultTableModel(ResultTable& table, TableView& view, QObject* parent)
    : QAbstractTableModel(parent), table_(table), view_(view), rows_(table.RowCount()),
      columns_(table.ColumnCount()) {
    table_.AddObserver(this);
    view_.AddObserver(this);
    TellChangedHeaders(); // takes them in
}

ResultTableModel::~ResultTableModel() {
    view_.RemoveObserver(this);
    table_.RemoveObserver(this);
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
    case kWaitingRole:
        return waiting_ && waiting_(table_.IdOf(row), index.column());
    case Qt::ToolTipRole:
        return waiting_ && waiting_(table_.IdOf(row), index.column())
                   ? QVariant(u"noch nicht auf dem Server"_s)
                   : QVariant();
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
    Q_EMIT CellEdited(index.row() + 1, index.column() + 1, value.toString());
    editing_ = false;
    if (resetPending_) {
        resetPending_ = false;
        // Announced once the editor has finished: a reset now would pull it away mid-commit.
        QMetaObject::invokeMethod(this, &ResultTableModel::Refreshed, Qt::QueuedConnection);
    }
    return true;
}

QVariant ResultTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role == Qt::DisplayRole) {
        if (orientation == Qt::Vertical) {
            // Running row numbers; the cursor's row carries a marker.
            return section + 1 == view_.CurrentRow() ? u"\u25B6 %1"_s.arg(section + 1)
                                                     : QString::number(section + 1);
        }
        return section < columns_ ? table_.HeaderText(section + 1) : QVariant();
    }
    if (role == Qt::TextAlignmentRole && orientation == Qt::Horizontal && section < columns_) {
        return QVariant::fromValue(ToQtAlignment(table_.ColumnAt(section + 1).layout.headerAlignment));
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

// Looking the keys up for every cell made selecting all 32,767 rows 29 → 67 ms (bench_window
// BM_SelectAll).
bool ResultTableModel::IsComputed(int column) const {
    if (computedLayout_ != table_.LayoutGeneration()) {
        computedLayout_ = table_.LayoutGeneration();
        computedColumns_ = 0;
        for (int c = 0; c < table_.ColumnCount() && c < 64; ++c) {
            if (IsComputedColumn(table_.Key(c + 1))) {
                computedColumns_ |= std::uint64_t{1} << c;
            }
        }
    }
    return column >= 0 && column < 64 && (computedColumns_ >> column & 1u);
}

Qt::ItemFlags ResultTableModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    // What the scoring writes is read-only on screen: a number typed there would silently go.
    if (index.isValid() && table_.IsCellEditable(index.row() + 1, index.column() + 1) &&
        !IsComputed(index.column())) {
        f |= Qt::ItemIsEditable;
    }
    return f;
}

void ResultTableModel::ChangeMade(const Change& change) {
    const bool sameShape =
        !change.MovesRows() && rows_ == table_.RowCount() && columns_ == table_.ColumnCount();
    if (table_.IsLocked() || (editing_ && !sameShape)) {
        changedUnseen_ = true;
        resetPending_ = resetPending_ || editing_;
        return; // shown when the table is unlocked, or the editor has finished
    }
    if (!sameShape) {
        Reset();
        return;
    }
    // Only the rows edited show anew; of one row, only the cells that changed.
    int first = rows_;
    int last = -1;
    int firstColumn = 0;
    int lastColumn = columns_ - 1;
    for (const Change::Part& part : change.Parts()) {
        if (const auto* edits = std::get_if<Change::RowEdits>(&part)) {
            for (const Change::RowEdit& edit : *edits) {
                first = std::min(first, static_cast<int>(edit.position));
                last = std::max(last, static_cast<int>(edit.position));
            }
            if (edits->size() == 1 && change.Parts().size() == 1) {
                const RowData& a = edits->front().before;
                const RowData& b = edits->front().after;
                const auto differs = [&](int c) {
                    return a.cells.At(static_cast<std::size_t>(c)) !=
                               b.cells.At(static_cast<std::size_t>(c)) ||
                           ((a.flags ^ b.flags) >> c & 1u);
                };
                while (firstColumn < lastColumn && !differs(firstColumn)) {
                    ++firstColumn;
                }
                while (lastColumn > firstColumn && !differs(lastColumn)) {
                    --lastColumn;
                }
            }
        } else if (const auto* cells = std::get_if<Change::CellEdits>(&part)) {
            for (const Change::CellEdit& edit : cells->edits) {
                first = std::min(first, static_cast<int>(edit.position));
                last = std::max(last, static_cast<int>(edit.position));
            }
            if (cells->edits.size() == 1 && change.Parts().size() == 1) {
                firstColumn = lastColumn = static_cast<int>(cells->edits.front().column);
            }
        } else {
            Q_EMIT TableStateChanged(); // the title line
        }
    }
    if (last >= 0 && columns_ > 0) {
        Q_EMIT dataChanged(index(first, firstColumn), index(last, lastColumn));
    }
}

void ResultTableModel::Refreshed() {
    if (editing_) {
        resetPending_ = true;
        return;
    }
    if (rows_ != table_.RowCount() || columns_ != table_.ColumnCount()) {
        Reset();
        return;
    }
    if (std::exchange(changedUnseen_, false) && rows_ > 0 && columns_ > 0) {
        // Same shape: the views repaint every cell and keep their editors, scroll position and
        // cursor.
        Q_EMIT dataChanged(index(0, 0), index(rows_ - 1, columns_ - 1));
    }
    TellChangedHeaders();
    Q_EMIT ColumnLayoutChanged();
    ViewChanged();
}

void ResultTableModel::Reset() {
    changedUnseen_ = false;
    beginResetModel();
    rows_ = table_.RowCount();
    columns_ = table_.ColumnCount();
    shownHeaders_.clear();
    endResetModel();
    TellChangedHeaders(); // only takes them in: the reset told the views
    Q_EMIT ColumnLayoutChanged();
    ViewChanged();
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
    if (table_.IsLocked()) {
        return; // shown when the table is unlocked
    }
    if (column <= columns_) {
        TellChangedHeaders();
    }
    Q_EMIT ColumnLayoutChanged();
}

void ResultTableModel::ViewChanged() {
    const int current = view_.CurrentRow();
    if (current != markedRow_) {
        const int previous = markedRow_;
        markedRow_ = current;
        Q_EMIT CursorRowChanged(previous <= rows_ ? previous : 0, current <= rows_ ? current : 0);
    }
    Q_EMIT TableStateChanged();
}

} // namespace vastrel

#include "table/ResultTable.h"

#include "table/ResultTableObserver.h"

#include <algorithm>

namespace vastrel {

namespace {
const Column kNoColumn = [] {
    Column none;
    none.visible = false;
    return none;
}();
} // namespace

ResultTable::ResultTable() = default;
ResultTable::~ResultTable() = default;

std::unique_ptr<ResultTable> ResultTable::Copy() const {
    auto copy = std::make_unique<ResultTable>();
    copy->columns_ = columns_;
    copy->columnIndex_ = columnIndex_;
    copy->rows_ = rows_;
    copy->tableMode_ = tableMode_;
    copy->selectedCount_ = selectedCount_;
    copy->currentRow_ = currentRow_;
    copy->layoutGeneration_ = layoutGeneration_;
    copy->nextRowId_ = nextRowId_;
    copy->sortOrder_ = sortOrder_;
    copy->caption_ = caption_;
    copy->searchCaption_ = searchCaption_;
    copy->layoutValue_ = layoutValue_;
    return copy;
}

std::size_t ResultTable::RowBytes() const {
    std::size_t bytes = rows_.capacity() * sizeof(Row);
    for (const Row& row : rows_) {
        bytes += row.cells.Bytes() + row.moreFlags.Bytes();
    }
    return bytes;
}

int ResultTable::Resolve(ColumnRef column) const {
    if (column.IsNumber()) {
        const int n = column.Number();
        return (n >= 1 && n <= ColumnCount()) ? n - 1 : -1;
    }
    // A key is looked up without copying it.
    const QStringView key = column.Key();
    const auto it = columnIndex_.constFind(QString::fromRawData(key.data(), key.size()));
    return it == columnIndex_.cend() ? -1 : it.value();
}

int ResultTable::ColumnNumber(ColumnRef column) const {
    return Resolve(column) + 1;
}

ResultTable::Row* ResultTable::RowAt(int row) {
    return (row >= 1 && row <= RowCount()) ? &rows_[static_cast<std::size_t>(row - 1)] : nullptr;
}

const ResultTable::Row* ResultTable::RowAt(int row) const {
    return (row >= 1 && row <= RowCount()) ? &rows_[static_cast<std::size_t>(row - 1)] : nullptr;
}

void ResultTable::ClearTable(bool withColumns) {
    if (journal_) {
        RecordWholeTable(true);
    }
    rows_.clear();
    selectedCount_ = 0;
    currentRow_ = 0;
    if (withColumns) {
        columns_.clear();
        columnIndex_.clear();
        sortOrder_.clear();
        ColumnsChanged();
    }
    NotifyReset();
}

void ResultTable::AddColumn(const QString& key, const QString& caption, int reservedA, int headerAlignment,
                            bool editable, int reservedB, int cellAlignment, int reservedC, int kind) {
    Column column;
    column.key = key;
    column.headerText = caption;
    column.layout = {reservedA, headerAlignment, editable, reservedB, cellAlignment, reservedC, kind};
    AddColumn(column);
}

void ResultTable::AddColumn(const Column& column) {
    if (journal_) {
        RecordWholeTable(false);
    }
    columns_.push_back(column);
    // The first column of a key wins, as lookups by key always meant the leftmost one.
    if (!columnIndex_.contains(column.key)) {
        columnIndex_.insert(column.key, ColumnCount() - 1);
    }
    ColumnsChanged(); // the rows read the new column as empty
    NotifyReset();
}

void ResultTable::ColumnsChanged() {
    ++layoutGeneration_;
}

QStringView ResultTable::CellView(int row, ColumnRef column) const {
    const Row* r = RowAt(row);
    const int c = Resolve(column);
    return (r && c >= 0) ? r->Cell(static_cast<std::size_t>(c)) : QStringView();
}

void ResultTable::SetCellText(int row, ColumnRef column, const QString& text) {
    Row* r = RowAt(row);
    const int c = Resolve(column);
    if (!r || c < 0) {
        return;
    }
    if (r->Cell(static_cast<std::size_t>(c)) == text) {
        return;
    }
    if (journal_) {
        RecordCellText(*r, static_cast<std::size_t>(c));
    }
    r->cells.Set(static_cast<std::size_t>(c), text, columns_.size());
    NotifyCell(row, c + 1);
}

const RowCells& ResultTable::Cells(int row) const {
    static const RowCells kNoCells;
    const Row* r = RowAt(row);
    return r ? r->cells : kNoCells;
}

void ResultTable::StoreCells(int row, RowCells&& cells) {
    // For undo the row's former block is kept as it is, when no view needs telling cell by cell;
    // the texts are not compared (a million rows' old blocks would be read for it): cells given
    // are taken as changed.
    if (journal_ && (!observer_ || locked_)) {
        if (Row* r = RowAt(row)) {
            ++revision_;
            RecordRowCells(*r, std::move(cells));
        }
        return;
    }
    RowCells stored = std::move(cells);
    SwapCells(row, stored);
}

void ResultTable::SwapCells(int row, RowCells& cells) {
    Row* r = RowAt(row);
    if (!r) {
        return;
    }
    // Cell by cell only for undo or a view that is told (a recalculation runs locked); else
    // the new texts count as one change.
    const bool told = observer_ && !locked_;
    std::vector<int> changed;
    bool anyChanged = true;
    if (journal_ || told) {
        anyChanged = false;
        for (std::size_t c = 0; c < columns_.size(); ++c) {
            if (!r->cells.SameText(cells, c)) {
                anyChanged = true;
                if (journal_) {
                    RecordCellText(*r, c);
                }
                if (told) {
                    changed.push_back(static_cast<int>(c) + 1);
                }
            }
        }
    }
    if (anyChanged && !told) {
        ++revision_; // a locked view repaints on its next refresh
    }
    std::swap(r->cells, cells);
    for (int column : changed) {
        NotifyCell(row, column);
    }
}

bool ResultTable::CellFlag(int row, ColumnRef column) const {
    const Row* r = RowAt(row);
    const int c = Resolve(column);
    return r && c >= 0 && r->Flag(static_cast<std::size_t>(c));
}

void ResultTable::SetCellFlag(int row, ColumnRef column, bool flag) {
    Row* r = RowAt(row);
    const int c = Resolve(column);
    if (!r || c < 0 || r->Flag(static_cast<std::size_t>(c)) == flag) {
        return;
    }
    if (journal_) {
        RecordCellFlag(*r, static_cast<std::size_t>(c));
    }
    r->SetFlag(static_cast<std::size_t>(c), flag);
    NotifyCell(row, c + 1);
}

bool ResultTable::IsCellEditable(int row, ColumnRef column) const {
    const int c = Resolve(column);
    return RowAt(row) && c >= 0 && columns_[static_cast<std::size_t>(c)].layout.editable &&
           !CellFlag(row, c + 1);
}

void ResultTable::EditCell(int row, ColumnRef column, QString text) {
    const int c = Resolve(column);
    if (!RowAt(row) || c < 0) {
        return;
    }
    if (events_.validateCellEdit) {
        events_.validateCellEdit(c + 1, text);
    }
    SetCellText(row, c + 1, text);
    if (events_.afterCellEdit) {
        events_.afterCellEdit(row, c + 1, text);
    }
}

const Column& ResultTable::ColumnAt(ColumnRef column) const {
    const int c = Resolve(column);
    return c >= 0 ? columns_[static_cast<std::size_t>(c)] : kNoColumn;
}

template <typename T>
void ResultTable::SetColumnProperty(ColumnRef column, T Column::*member, const T& value) {
    const int c = Resolve(column);
    if (c < 0 || columns_[static_cast<std::size_t>(c)].*member == value) {
        return;
    }
    columns_[static_cast<std::size_t>(c)].*member = value;
    NotifyColumn(c + 1);
}

void ResultTable::SetHeaderText(ColumnRef column, const QString& text) {
    SetColumnProperty(column, &Column::headerText, text);
}
void ResultTable::SetVisible(ColumnRef column, bool visible) {
    SetColumnProperty(column, &Column::visible, visible);
}
void ResultTable::SetWidth(ColumnRef column, int twips) {
    SetColumnProperty(column, &Column::width, twips);
}
void ResultTable::SetFixedWidth(ColumnRef column, int twips) {
    SetColumnProperty(column, &Column::fixedWidth, twips);
}
void ResultTable::SetSortDirection(ColumnRef column, vastrel::SortDirection direction) {
    SetColumnProperty(column, &Column::sortDirection, direction);
}
void ResultTable::SetSumColumnFlag(ColumnRef column, bool flag) {
    SetColumnProperty(column, &Column::sumColumnFlag, flag);
}
void ResultTable::SetPointsColumnFlag(ColumnRef column, bool flag) {
    SetColumnProperty(column, &Column::pointsColumnFlag, flag);
}

void ResultTable::FitColumn(ColumnRef column) {
    const Column& c = ColumnAt(column);
    const int minimum = c.fixedWidth > 0 ? c.fixedWidth : kDefaultMinimumWidth;
    if (c.width < minimum) {
        SetWidth(column, minimum);
    }
}

int ResultTable::AddRow(const QString& tabJoinedText) {
    std::vector<QStringView> fields;
    for (QStringView field : QStringView(tabJoinedText).tokenize(u'\t')) {
        fields.push_back(field);
    }
    return AddRowFields(fields);
}

int ResultTable::AddRowFields(const std::vector<QStringView>& fields) {
    return AddRowCells(RowCells(fields, columns_.size())); // surplus fields dropped; missing ones empty
}

int ResultTable::AddRowCells(RowCells&& cells) {
    Row row;
    row.cells = std::move(cells);
    row.id = nextRowId_++;
    rows_.push_back(std::move(row));
    if (journal_) {
        RecordRowsAdded(rows_.size() - 1);
    }
    NotifyReset();
    return RowCount();
}

bool ResultTable::DeleteSelectedRows() {
    std::vector<int> doomed;
    for (int r = 1; r <= RowCount(); ++r) {
        if (rows_[static_cast<std::size_t>(r - 1)].selected) {
            doomed.push_back(r);
        }
    }
    // Without a selection the row under the cursor is the one meant.
    if (doomed.empty() && currentRow_ > 0) {
        doomed.push_back(currentRow_);
    }
    if (doomed.empty()) {
        return false;
    }
    bool cancel = false;
    if (events_.beforeRowsDelete) {
        events_.beforeRowsDelete(doomed.size() == 1 ? doomed.front() : 0, cancel);
    }
    if (cancel) {
        return false;
    }
    if (journal_) {
        RecordRowsRemoved(doomed);
    }
    // One pass: the rows that stay close up behind the ones that go.
    std::vector<Row> kept;
    kept.reserve(rows_.size() - doomed.size());
    std::size_t next = 0;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        if (next < doomed.size() && static_cast<std::size_t>(doomed[next] - 1) == i) {
            ++next;
        } else {
            kept.push_back(std::move(rows_[i]));
        }
    }
    rows_ = std::move(kept);
    for (Row& row : rows_) {
        row.selected = false;
    }
    selectedCount_ = 0;
    currentRow_ = std::min(doomed.front(), RowCount());
    NotifyReset();
    return true;
}

bool ResultTable::RowSelected(int row) const {
    const Row* r = RowAt(row);
    return r && r->selected;
}

void ResultTable::SetRowSelected(int row, bool selected) {
    Row* r = RowAt(row);
    if (!r || r->selected == selected) {
        return;
    }
    r->selected = selected;
    selectedCount_ += selected ? 1 : -1;
    NotifyState();
}

void ResultTable::SelectRows(int first, int last) {
    first = std::max(first, 1);
    last = std::min(last, RowCount());
    bool changed = false;
    for (int row = first; row <= last; ++row) {
        Row& r = rows_[static_cast<std::size_t>(row - 1)];
        if (!r.selected) {
            r.selected = true;
            ++selectedCount_;
            changed = true;
        }
    }
    if (changed) {
        NotifyState();
    }
}

void ResultTable::ClearSelection() {
    if (selectedCount_ == 0) {
        return;
    }
    for (Row& row : rows_) {
        row.selected = false;
    }
    selectedCount_ = 0;
    NotifyState();
}

void ResultTable::SetCurrentRow(int row) {
    const int clamped = RowCount() == 0 ? 0 : std::clamp(row, 1, RowCount());
    if (clamped == currentRow_) {
        return;
    }
    currentRow_ = clamped;
    NotifyState();
}

void ResultTable::LockUpdate(bool locked) {
    const bool wasLocked = locked_;
    locked_ = locked;
    if (wasLocked && !locked) {
        NotifyReset(false);
    }
}

void ResultTable::Refresh() {
    if (!locked_) {
        NotifyReset(false);
    }
}

void ResultTable::SetCaption(const QString& caption) {
    if (caption_ != caption) {
        caption_ = caption;
        NotifyState();
    }
}

void ResultTable::SetSearchCaption(const QString& caption) {
    if (searchCaption_ != caption) {
        searchCaption_ = caption;
        NotifyState();
    }
}

void ResultTable::SetSearchText(const QString& text) {
    if (searchText_ != text) {
        searchText_ = text;
        NotifyState();
    }
}

void ResultTable::ResetReport() {
    reportTitle_.clear();
    reportCaption_.clear();
    reportOptionA_ = false;
    reportOptionB_ = false;
}

void ResultTable::NotifyReset(bool changed) {
    revision_ += changed ? 1 : 0;
    if (observer_ && !locked_) {
        observer_->TableReset();
    }
}

void ResultTable::NotifyCell(int row, int column) {
    ++revision_;
    if (observer_ && !locked_) {
        observer_->CellChanged(row, column);
    }
}

void ResultTable::NotifyColumn(int column) {
    ++revision_;
    if (observer_ && !locked_) {
        observer_->ColumnChanged(column);
    }
}

void ResultTable::NotifyState() {
    ++revision_;
    if (observer_ && !locked_) {
        observer_->StateChanged();
    }
}

} // namespace vastrel

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
    copy->data_ = data_;
    copy->columnIndex_ = columnIndex_;
    copy->layoutGeneration_ = layoutGeneration_;
    copy->nextRowId_ = nextRowId_;
    return copy;
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

void ResultTable::IndexColumns() {
    columnIndex_.clear();
    // The first column of a key wins, as lookups by key always meant the leftmost one.
    for (int c = ColumnCount() - 1; c >= 0; --c) {
        columnIndex_.insert(data_.columns[static_cast<std::size_t>(c)].key, c);
    }
    ++layoutGeneration_;
}

Row* ResultTable::RowAt(int row) {
    return (row >= 1 && row <= RowCount()) ? &data_.rows[static_cast<std::size_t>(row - 1)] : nullptr;
}

std::size_t ResultTable::RowBytes() const {
    std::size_t bytes = data_.rows.capacity() * sizeof(Row);
    for (const Row& row : data_.rows) {
        bytes += row.data.cells.Bytes();
    }
    return bytes;
}

RowId ResultTable::IdOf(int row) const {
    return (row >= 1 && row <= RowCount()) ? data_.rows[static_cast<std::size_t>(row - 1)].id : 0;
}

int ResultTable::RowNumberOf(RowId id, int hint) const {
    const std::size_t at = PositionOf(id, hint > 0 ? static_cast<std::size_t>(hint - 1) : 0);
    return at == kNowhere ? 0 : static_cast<int>(at) + 1;
}

// Structure

void ResultTable::Replace(TableData data) {
    if (data.columns.size() > static_cast<std::size_t>(kMaxColumns)) {
        data.columns.resize(static_cast<std::size_t>(kMaxColumns));
    }
    for (const Row& row : data.rows) {
        nextRowId_ = std::max(nextRowId_, row.id + 1); // rows that bring their ids (a server's) keep them
    }
    for (Row& row : data.rows) {
        if (row.id == 0) {
            row.id = nextRowId_++; // rows new to the table, read from a file
        }
    }
    Change::Replacement whole;
    if (Recording()) {
        whole = {std::move(data_), data}; // the new rows' blocks are shared
    }
    data_ = std::move(data);
    IndexColumns();
    if (Recording()) {
        Record(std::move(whole));
    }
}

void ResultTable::ClearTable(bool withColumns) {
    TableData empty;
    empty.values = data_.values;
    if (withColumns) {
        empty.values.sortOrder.clear();
    } else {
        empty.columns = data_.columns;
    }
    Replace(std::move(empty));
}

void ResultTable::AddColumn(const QString& key, const QString& caption, int reservedA, int headerAlignment,
                            bool editable, int reservedB, int cellAlignment, int reservedC, int kind) {
    if (ColumnCount() >= kMaxColumns) {
        return;
    }
    TableData wider = data_; // the rows read the new column as empty
    wider.columns.push_back(
        {key, caption, {reservedA, headerAlignment, editable, reservedB, cellAlignment, reservedC, kind}});
    Replace(std::move(wider));
}

// Cells

QStringView ResultTable::CellView(int row, ColumnRef column) const {
    const int c = Resolve(column);
    return c >= 0 ? CellView(row, c + 1) : QStringView();
}

const RowCells& ResultTable::Cells(int row) const {
    static const RowCells kNoCells;
    return (row >= 1 && row <= RowCount()) ? data_.rows[static_cast<std::size_t>(row - 1)].data.cells
                                           : kNoCells;
}

void ResultTable::SetCellText(int row, ColumnRef column, QStringView text) {
    Row* r = RowAt(row);
    const int c = Resolve(column);
    if (!r || c < 0 || r->data.cells.At(static_cast<std::size_t>(c)) == text) {
        return;
    }
    const bool recording = Recording();
    if (recording) {
        // The texts are kept before the write, which may change the block in place.
        Describing().AddCell(r->id, static_cast<std::size_t>(row - 1), static_cast<std::size_t>(c),
                             r->data.cells.At(static_cast<std::size_t>(c)), text);
    }
    r->data.cells.Set(static_cast<std::size_t>(c), text);
    if (recording) {
        Described();
    }
}

void ResultTable::StoreCells(int row, RowCells cells) {
    Row* r = RowAt(row);
    if (!r) {
        return;
    }
    RowData before = r->data;
    r->data.cells = std::move(cells);
    RecordEdit(static_cast<std::size_t>(row - 1), std::move(before));
}

bool ResultTable::CellFlag(int row, ColumnRef column) const {
    const int c = Resolve(column);
    return row >= 1 && row <= RowCount() && c >= 0 &&
           ((data_.rows[static_cast<std::size_t>(row - 1)].data.flags >> c) & 1u);
}

void ResultTable::SetCellFlag(int row, ColumnRef column, bool flag) {
    Row* r = RowAt(row);
    const int c = Resolve(column);
    if (!r || c < 0 || CellFlag(row, c + 1) == flag) {
        return;
    }
    RowData before = r->data;
    const std::uint64_t bit = std::uint64_t{1} << c;
    r->data.flags = flag ? r->data.flags | bit : r->data.flags & ~bit;
    RecordEdit(static_cast<std::size_t>(row - 1), std::move(before));
}

bool ResultTable::IsCellEditable(int row, ColumnRef column) const {
    const int c = Resolve(column);
    return !readOnly_ && row >= 1 && row <= RowCount() && c >= 0 &&
           data_.columns[static_cast<std::size_t>(c)].layout.editable && !CellFlag(row, c + 1);
}

// Columns

const Column& ResultTable::ColumnAt(ColumnRef column) const {
    const int c = Resolve(column);
    return c >= 0 ? data_.columns[static_cast<std::size_t>(c)] : kNoColumn;
}

vastrel::SortDirection ResultTable::SortDirection(ColumnRef column) const {
    const int c = Resolve(column);
    const QStringView order = data_.values.sortOrder;
    const QStringView lead = order.left(order.indexOf(u','));
    const qsizetype blank = lead.lastIndexOf(u' ');
    if (c < 0 || blank < 0 || lead.left(blank) != data_.columns[static_cast<std::size_t>(c)].key) {
        return SortDirection::None;
    }
    return lead.mid(blank + 1) == u"DESC" ? SortDirection::Descending : SortDirection::Ascending;
}

template <typename T>
void ResultTable::SetColumnProperty(ColumnRef column, T Column::*member, const T& value) {
    const int c = Resolve(column);
    if (c < 0 || data_.columns[static_cast<std::size_t>(c)].*member == value) {
        return;
    }
    data_.columns[static_cast<std::size_t>(c)].*member = value;
    for (ResultTableObserver* observer : observers_) {
        observer->ColumnChanged(c + 1);
    }
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

// Rows

int ResultTable::AddRow(const QString& tabJoinedText) {
    std::vector<QStringView> fields;
    for (QStringView field : QStringView(tabJoinedText).tokenize(u'\t')) {
        fields.push_back(field);
    }
    return AddRowFields(fields);
}

int ResultTable::AddRowFields(std::span<const QStringView> fields) {
    // Surplus fields are dropped, missing ones empty.
    return AddRowCells(RowCells(fields.first(std::min(fields.size(), data_.columns.size()))));
}

int ResultTable::AddRowCells(RowCells cells) {
    RowId id = rowIdSource_ ? rowIdSource_() : 0;
    if (id == 0) {
        id = nextRowId_++;
    }
    nextRowId_ = std::max(nextRowId_, id + 1);
    data_.rows.push_back(Row{id, {std::move(cells), 0}});
    if (Recording()) {
        Record(Change::RowsPlaced{true, {data_.rows.size() - 1}, {data_.rows.back()}});
    }
    return RowCount();
}

void ResultTable::RemoveRows(const std::vector<int>& rows) {
    Change::RowsPlaced gone{false, {}, {}};
    std::vector<Row> kept;
    kept.reserve(data_.rows.size());
    std::size_t next = 0;
    for (std::size_t i = 0; i < data_.rows.size(); ++i) {
        while (next < rows.size() && rows[next] <= static_cast<int>(i)) {
            ++next; // out of range, or named twice
        }
        if (next < rows.size() && rows[next] == static_cast<int>(i) + 1) {
            gone.positions.push_back(i);
            gone.rows.push_back(std::move(data_.rows[i]));
            ++next;
        } else {
            kept.push_back(std::move(data_.rows[i]));
        }
    }
    data_.rows = std::move(kept);
    if (!gone.rows.empty() && Recording()) {
        Record(std::move(gone));
    }
}

// Values

void ResultTable::SetCaption(const QString& caption) {
    TableValues values = data_.values;
    values.caption = caption;
    SetValues(values);
}

void ResultTable::SetLayoutValue(int value) {
    TableValues values = data_.values;
    values.layoutValue = value;
    SetValues(values);
}

void ResultTable::SetValues(const TableValues& values) {
    if (values == data_.values) {
        return;
    }
    Change::ValuesChange change{data_.values, values};
    data_.values = values;
    if (Recording()) {
        Record(std::move(change));
    }
}

// Screen updates

void ResultTable::LockUpdate(bool locked) {
    const bool wasLocked = locked_;
    locked_ = locked;
    if (wasLocked && !locked) {
        Refresh();
    }
}

void ResultTable::Refresh() {
    if (!locked_) {
        for (ResultTableObserver* observer : observers_) {
            observer->Refreshed();
        }
    }
}

// Changes

void ResultTable::BeginChange() {
    ++depth_;
}

Change ResultTable::EndChange() {
    if (depth_ == 0 || --depth_ > 0) {
        return {};
    }
    Change change = std::exchange(open_, Change());
    if (!change.IsEmpty()) {
        Tell(change);
    }
    return change;
}

void ResultTable::Described() {
    if (depth_ == 0) {
        Tell(std::exchange(single_, Change()));
    }
}

void ResultTable::Record(Change::Part part) {
    Describing().Add(std::move(part));
    Described();
}

void ResultTable::RecordEdit(std::size_t position, RowData before) {
    if (!Recording()) {
        return;
    }
    const Row& row = data_.rows[position];
    Describing().Add(
        Change::RowEdit{row.id, static_cast<std::uint32_t>(position), std::move(before), row.data});
    Described();
}

void ResultTable::Tell(const Change& change) {
    for (ResultTableObserver* observer : observers_) {
        observer->ChangeMade(change);
    }
}

void ResultTable::AddObserver(ResultTableObserver* observer) {
    observers_.push_back(observer);
}

void ResultTable::RemoveObserver(ResultTableObserver* observer) {
    observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

std::size_t ResultTable::PositionOf(RowId id, std::size_t hint) const {
    // Undo applies its changes to the table they were made on: the place recorded is the place.
    if (hint < data_.rows.size() && data_.rows[hint].id == id) {
        return hint;
    }
    const auto it =
        std::find_if(data_.rows.begin(), data_.rows.end(), [id](const Row& r) { return r.id == id; });
    return it == data_.rows.end() ? kNowhere : static_cast<std::size_t>(it - data_.rows.begin());
}

void ResultTable::Apply(const Change& change) {
    for (const Change::Part& part : change.Parts()) {
        ApplyPart(part);
    }
    Tell(change);
}

} // namespace vastrel

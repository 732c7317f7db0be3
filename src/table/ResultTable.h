#pragma once

#include "table/Column.h"
#include "table/ResultTableEvents.h"
#include "table/RowCells.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

namespace vastrel {

class ResultTableObserver;
class TableJournal;

// The results table as plain data: columns, rows of cell texts, cell flags, selection, cursor,
// sort state, title line, search text and the report settings. Rows and columns count from 1;
// a column is named by number or key. Out-of-range reads give empty values, writes are ignored.
class ResultTable {
public:
    ResultTable();
    ~ResultTable();
    ResultTable(const ResultTable&) = delete;
    ResultTable& operator=(const ResultTable&) = delete;

    // A copy of the data (columns, cells, flags, order, title and search lines, settings) for
    // another thread to write; cell texts are shared, not duplicated. No observer, no events.
    std::unique_ptr<ResultTable> Copy() const;

    // Structure
    int TableMode() const { return tableMode_; }
    void SetTableMode(int mode) { tableMode_ = mode; }
    void ClearTable(bool withColumns);
    void AddColumn(const QString& key, const QString& caption, int reservedA, int headerAlignment,
                   bool editable, int reservedB, int cellAlignment, int reservedC, int kind);
    void AddColumn(const Column& column); // restores a column with all its settings
    int RowCount() const { return static_cast<int>(rows_.size()); }
    std::size_t RowBytes() const; // what the rows hold in memory, for memory figures
    int ColumnCount() const { return static_cast<int>(columns_.size()); }
    int ColumnNumber(ColumnRef column) const;                  // 0 when there is no such column
    int LayoutGeneration() const { return layoutGeneration_; } // grows whenever columns change

    // Cells
    QString CellText(int row, ColumnRef column) const { return CellView(row, column).toString(); }
    QString CellText(int row, int column) const { return CellView(row, column).toString(); }
    // The hot path of scoring, sorting and writing files: the text without a copy. The view is
    // valid until the row is changed.
    QStringView CellView(int row, ColumnRef column) const;
    QStringView CellView(int row, int column) const {
        if (row >= 1 && row <= RowCount() && column >= 1 && column <= ColumnCount()) {
            return rows_[static_cast<std::size_t>(row - 1)].Cell(static_cast<std::size_t>(column - 1));
        }
        return {};
    }
    void SetCellText(int row, ColumnRef column, const QString& text);
    // The hot path of scoring: row and column by number; allocates only when the text changes.
    void StoreCellText(int row, int column, QStringView text) {
        if (row < 1 || row > RowCount() || column < 1 || column > ColumnCount()) {
            return;
        }
        Row& r = rows_[static_cast<std::size_t>(row - 1)];
        const auto c = static_cast<std::size_t>(column - 1);
        const QStringView old = r.Cell(c);
        if (old.size() == text.size() &&
            std::equal(text.begin(), text.end(), old.begin(),
                       [](QChar a, QChar b) { return a.unicode() == b.unicode(); })) {
            return;
        }
        if (journal_) {
            RecordCellText(r, c);
        }
        r.cells.Set(c, text, columns_.size());
        NotifyCell(row, column);
    }
    bool IsRowEmpty(int row) const { // true for every cell empty, and for no such row
        return row < 1 || row > RowCount() || rows_[static_cast<std::size_t>(row - 1)].cells.IsEmpty();
    }
    // The row's cells as one value (a copy of a row to work on elsewhere); empty for no row.
    const RowCells& Cells(int row) const;
    // A pass over rows spread in memory (after a sort) waits for each row's block: it asks for
    // the row's head some rows ahead, then for the cells it will read once the head has come.
    void PrefetchRow(int row) const { Cells(row).PrefetchHead(); }
    void PrefetchCell(int row, int column) const {
        Cells(row).PrefetchCell(static_cast<std::size_t>(column - 1));
    }
    // Gives the row these cells, as writing each changed cell would (kept for undo, told to
    // the view), in one move. Meant for cells that differ: for undo they may be kept unread.
    void StoreCells(int row, RowCells&& cells);
    // The same, and `cells` gets the row's former cells: a scratch row's block is used again.
    void SwapCells(int row, RowCells& cells);
    bool CellFlag(int row, ColumnRef column) const;
    void SetCellFlag(int row, ColumnRef column, bool flag);
    bool IsCellEditable(int row, ColumnRef column) const;
    // A typed text: validateCellEdit may rewrite it, then it is stored and afterCellEdit raised.
    void EditCell(int row, ColumnRef column, QString text);

    // Columns
    const Column& ColumnAt(ColumnRef column) const;
    QString Key(ColumnRef column) const { return ColumnAt(column).key; }
    QString HeaderText(ColumnRef column) const { return ColumnAt(column).headerText; }
    bool Visible(ColumnRef column) const { return ColumnAt(column).visible; }
    int Width(ColumnRef column) const { return ColumnAt(column).width; }
    int FixedWidth(ColumnRef column) const { return ColumnAt(column).fixedWidth; }
    vastrel::SortDirection SortDirection(ColumnRef column) const { return ColumnAt(column).sortDirection; }
    bool SumColumnFlag(ColumnRef column) const { return ColumnAt(column).sumColumnFlag; }
    bool PointsColumnFlag(ColumnRef column) const { return ColumnAt(column).pointsColumnFlag; }
    void SetHeaderText(ColumnRef column, const QString& text);
    void SetVisible(ColumnRef column, bool visible);
    void SetWidth(ColumnRef column, int twips);
    void SetFixedWidth(ColumnRef column, int twips);
    void SetSortDirection(ColumnRef column, vastrel::SortDirection direction);
    void SetSumColumnFlag(ColumnRef column, bool flag);
    void SetPointsColumnFlag(ColumnRef column, bool flag);
    // Widens the column to at least its narrowest allowed width.
    void FitColumn(ColumnRef column);
    static constexpr int kDefaultMinimumWidth = 300; // twips

    // Rows
    int AddRow(const QString& tabJoinedText);                 // returns the new row's number
    int AddRowFields(const std::vector<QStringView>& fields); // the same with the fields apart
    int AddRowCells(RowCells&& cells); // cells past the table's columns are not looked at
    bool DeleteSelectedRows();         // raises beforeRowsDelete; false when nothing went
    int SelectedRowCount() const { return selectedCount_; }
    bool RowSelected(int row) const;
    void SetRowSelected(int row, bool selected);
    void SelectRows(int first, int last); // first to last, with one notification
    void ClearSelection();
    int CurrentRow() const { return currentRow_; }
    void SetCurrentRow(int row);

    // Sorting: keys joined by ",", major first, all in the one direction.
    // Stable; cells without a value go last in both directions; unknown keys are ignored.
    void SortBy(const QString& keys, vastrel::SortDirection direction);
    QString SortOrder() const { return sortOrder_; } // e.g. "Lauf DESC,Gesamt DESC"
    // Takes over the order a saved table was last sorted in, without sorting again.
    void RestoreSortOrder(const QString& order) { sortOrder_ = order; }

    // Screen updates
    void LockUpdate(bool locked);
    bool IsLocked() const { return locked_; }
    void Refresh();
    // Grows with every change a view could show (cells, flags, rows, order, columns, selection,
    // cursor, title lines), locked or not: a view that has shown this revision is up to date.
    std::uint64_t Revision() const { return revision_; }
    void SetObserver(ResultTableObserver* observer) { observer_ = observer; }

    // Title line, search row, layout
    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption);
    QString SearchCaption() const { return searchCaption_; }
    void SetSearchCaption(const QString& caption);
    int LayoutValue() const { return layoutValue_; }
    void SetLayoutValue(int value) { layoutValue_ = value; }
    QString SearchText() const { return searchText_; }
    void SetSearchText(const QString& text);
    // Finds the next row after the current one, wrapping round, whose cell matches the pattern
    // ("*" any text, "?" one character, case ignored). `column` names the column searched,
    // 0 for every visible column; on a hit it is set to the matching column. 0 when none matches.
    int FindRow(const QString& pattern, int& column) const;

    // Report settings, kept for the report writer
    QString ReportTitle() const { return reportTitle_; }
    void SetReportTitle(const QString& title) { reportTitle_ = title; }
    QString ReportCaption() const { return reportCaption_; }
    void SetReportCaption(const QString& caption) { reportCaption_ = caption; }
    bool ReportOptionA() const { return reportOptionA_; }
    void SetReportOptionA(bool on) { reportOptionA_ = on; }
    bool ReportOptionB() const { return reportOptionB_; }
    void SetReportOptionB(bool on) { reportOptionB_ = on; }
    void ResetReport();

    ResultTableEvents& Events() { return events_; }

    // While a journal is given, every change of the data is kept in it (undo and redo); nullptr
    // stops. Views, selection and cursor are not kept.
    void RecordInto(TableJournal* journal);

private:
    friend class TableJournal;

    // Flags of the columns past the 64th, rare: kept apart, so that a row stays small (a sort of
    // a million rows moves 40 bytes a row, not 64).
    class MoreFlags {
    public:
        MoreFlags() = default;
        MoreFlags(const MoreFlags& other)
            : words_(other.words_ ? std::make_unique<std::vector<std::uint64_t>>(*other.words_) : nullptr) {}
        MoreFlags& operator=(const MoreFlags& other) {
            if (this != &other) {
                MoreFlags copy(other);
                words_ = std::move(copy.words_);
            }
            return *this;
        }
        MoreFlags(MoreFlags&&) noexcept = default;
        MoreFlags& operator=(MoreFlags&&) noexcept = default;
        ~MoreFlags() = default;
        // The 64 flags from column 64 * (word + 1); nullptr for none set.
        const std::uint64_t* Word(std::size_t word) const {
            return words_ && word < words_->size() ? &(*words_)[word] : nullptr;
        }
        std::uint64_t& MakeWord(std::size_t word) {
            if (!words_) {
                words_ = std::make_unique<std::vector<std::uint64_t>>();
            }
            if (words_->size() <= word) {
                words_->resize(word + 1, 0);
            }
            return (*words_)[word];
        }
        std::size_t Bytes() const { return words_ ? words_->capacity() * sizeof(std::uint64_t) : 0; }

    private:
        std::unique_ptr<std::vector<std::uint64_t>> words_;
    };

    struct Row {
        RowCells cells;
        std::uint32_t id = 0; // stays with the row through sorts: undo finds it by this
        // The journal being recorded (its serial) and the columns it already kept: a cell is
        // kept once a step.
        mutable std::uint32_t journalSerial : 31 = 0;
        std::uint32_t selected : 1 = 0;
        mutable std::uint64_t journalColumns = 0;
        QStringView Cell(std::size_t column) const { return cells.At(column); }
        // Cell flags: the first 64 columns in a mask, further ones (rare) apart.
        std::uint64_t flagMask = 0;
        MoreFlags moreFlags;
        bool Flag(std::size_t column) const {
            if (column < 64) {
                return (flagMask >> column) & 1u;
            }
            const std::uint64_t* word = moreFlags.Word(column / 64 - 1);
            return word && ((*word >> (column % 64)) & 1u);
        }
        void SetFlag(std::size_t column, bool on) {
            if (column >= 64 && !on && !moreFlags.Word(column / 64 - 1)) {
                return; // not set, and no room made for clearing it
            }
            std::uint64_t& word = column < 64 ? flagMask : moreFlags.MakeWord(column / 64 - 1);
            const std::uint64_t bit = std::uint64_t{1} << (column % 64);
            word = on ? word | bit : word & ~bit;
        }
    };
    static_assert(sizeof(Row) <= 40, "a sort moves every row");

    int Resolve(ColumnRef column) const; // 0-based index, -1 when none
    void RecordCellText(const Row& row, std::size_t column);
    void RecordCellFlag(const Row& row, std::size_t column);
    void RecordRowCells(Row& row, RowCells&& cells); // the row takes `cells`, its own are kept
    void RecordRowsAdded(std::size_t first);
    void RecordRowsRemoved(const std::vector<int>& rows); // 1-based, ascending
    void RecordOrder();
    void RecordWholeTable(bool takeRows); // takeRows: the rows go to the journal, not a copy
    template <typename T> void SetColumnProperty(ColumnRef column, T Column::*member, const T& value);
    Row* RowAt(int row);
    const Row* RowAt(int row) const;
    void NotifyReset(bool changed = true); // changed: false for a plain refresh
    void NotifyCell(int row, int column);
    void NotifyColumn(int column);
    void NotifyState();
    void ColumnsChanged();

    std::vector<Column> columns_;
    QHash<QString, int> columnIndex_;
    std::vector<Row> rows_;
    int tableMode_ = 0;
    int selectedCount_ = 0;
    int currentRow_ = 0;
    int layoutGeneration_ = 0;
    QString sortOrder_;
    bool locked_ = false;
    std::uint64_t revision_ = 0;
    QString caption_;
    QString searchCaption_;
    QString searchText_;
    int layoutValue_ = 0;
    QString reportTitle_;
    QString reportCaption_;
    bool reportOptionA_ = false;
    bool reportOptionB_ = false;
    ResultTableEvents events_;
    ResultTableObserver* observer_ = nullptr;
    TableJournal* journal_ = nullptr;
    std::uint32_t nextRowId_ = 1;
};

} // namespace vastrel

#pragma once

#include "table/Change.h"
#include "table/Column.h"

#include <QHash>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace vastrel {

class ResultTableObserver;

// The competition's data: columns, rows of cell texts with their flags and ids, and the table's
// values (title line, search caption, the last sort). Rows and columns count from 1; a column is
// named by number or key. Out-of-range reads give empty values, writes are ignored.
//
// Every change is described once, as a Change: those between BeginChange and the matching
// EndChange make one, any other makes one of its own. A change is told to the observers when it
// is complete. Where the window looks and what it selected is not the table's (TableView).
class ResultTable {
public:
    ResultTable();
    ~ResultTable();
    ResultTable(const ResultTable&) = delete;
    ResultTable& operator=(const ResultTable&) = delete;

    // A copy for another thread to read (the autosave): the rows' blocks are shared, not copied.
    std::unique_ptr<ResultTable> Copy() const;
    const TableData& Data() const { return data_; }

    // Structure
    int TableMode() const { return data_.values.tableMode; }
    void ClearTable(bool withColumns);
    // At most kMaxColumns; more are not added.
    void AddColumn(const QString& key, const QString& caption, int reservedA, int headerAlignment,
                   bool editable, int reservedB, int cellAlignment, int reservedC, int kind);
    // The whole table at once: an open.
    void Replace(TableData data);
    int RowCount() const { return static_cast<int>(data_.rows.size()); }
    int ColumnCount() const { return static_cast<int>(data_.columns.size()); }
    int ColumnNumber(ColumnRef column) const { return Resolve(column) + 1; } // 0 for none
    int LayoutGeneration() const { return layoutGeneration_; }               // grows whenever columns change
    std::size_t RowBytes() const; // what the rows hold in memory, for memory figures
    RowId IdOf(int row) const;    // 0 for no such row
    // The number of the row with this id, 0 for none; quick where it stands at `hint`.
    int RowNumberOf(RowId id, int hint = 0) const;
    RowId NextRowId() const { return nextRowId_; }
    // Where new rows get their ids (a server's competition hands out blocks of its own, so that
    // no two stations add a row under one id); the table's own count when none, or when it gives 0.
    void SetRowIdSource(std::function<RowId()> source) { rowIdSource_ = std::move(source); }

    // Cells
    QString CellText(int row, ColumnRef column) const { return CellView(row, column).toString(); }
    // The text without a copy; valid until the row changes.
    QStringView CellView(int row, ColumnRef column) const;
    QStringView CellView(int row, int column) const {
        return row >= 1 && row <= RowCount() && column >= 1 && column <= ColumnCount()
                   ? data_.rows[static_cast<std::size_t>(row - 1)].data.cells.At(
                         static_cast<std::size_t>(column - 1))
                   : QStringView();
    }
    void SetCellText(int row, ColumnRef column, QStringView text);
    // The row's cells as one value; empty for no row.
    const RowCells& Cells(int row) const;
    // Gives the row all its cells at once (scoring writes fifteen cells of a row).
    void StoreCells(int row, RowCells cells);
    bool IsRowEmpty(int row) const { return Cells(row).IsEmpty(); } // every cell empty, or no row
    bool CellFlag(int row, ColumnRef column) const;
    void SetCellFlag(int row, ColumnRef column, bool flag);
    bool IsCellEditable(int row, ColumnRef column) const;
    // A table shown for reading alone (a read-only login to the server): no cell takes typing.
    void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
    bool IsReadOnly() const { return readOnly_; }

    // Columns
    const Column& ColumnAt(ColumnRef column) const;
    QString Key(ColumnRef column) const { return ColumnAt(column).key; }
    QString HeaderText(ColumnRef column) const { return ColumnAt(column).headerText; }
    bool Visible(ColumnRef column) const { return ColumnAt(column).visible; }
    int Width(ColumnRef column) const { return ColumnAt(column).width; }
    int FixedWidth(ColumnRef column) const { return ColumnAt(column).fixedWidth; }
    bool SumColumnFlag(ColumnRef column) const { return ColumnAt(column).sumColumnFlag; }
    bool PointsColumnFlag(ColumnRef column) const { return ColumnAt(column).pointsColumnFlag; }
    // The direction of the last sort for its lead key, None for every other column.
    vastrel::SortDirection SortDirection(ColumnRef column) const;
    void SetHeaderText(ColumnRef column, const QString& text);
    void SetVisible(ColumnRef column, bool visible);
    void SetWidth(ColumnRef column, int twips);
    void SetFixedWidth(ColumnRef column, int twips);
    void SetSumColumnFlag(ColumnRef column, bool flag);
    void SetPointsColumnFlag(ColumnRef column, bool flag);
    // Widens the column to at least its narrowest allowed width.
    void FitColumn(ColumnRef column);
    static constexpr int kDefaultMinimumWidth = 300; // twips

    // Rows
    int AddRow(const QString& tabJoinedText); // returns the new row's number
    int AddRowFields(std::span<const QStringView> fields);
    int AddRowCells(RowCells cells);               // cells past the table's columns are not looked at
    void RemoveRows(const std::vector<int>& rows); // row numbers, ascending

    // Sorting: keys joined by ",", major first, all in the one direction. Stable; cells without a
    // value go last in both directions; unknown keys are ignored.
    void SortBy(const QString& keys, vastrel::SortDirection direction);
    QString SortOrder() const { return data_.values.sortOrder; } // e.g. "Lauf DESC,Gesamt DESC"

    // Values
    QString Caption() const { return data_.values.caption; }
    void SetCaption(const QString& caption);
    QString SearchCaption() const { return data_.values.searchCaption; }
    int LayoutValue() const { return data_.values.layoutValue; }
    void SetLayoutValue(int value);
    void SetValues(const TableValues& values);

    // Screen updates: while locked the views paint nothing; unlocking or Refresh shows all anew.
    void LockUpdate(bool locked);
    bool IsLocked() const { return locked_; }
    void Refresh();

    // Changes. EndChange of the outermost BeginChange tells the change and hands it over (inner
    // ones hand over nothing).
    void BeginChange();
    Change EndChange();
    // Applies a change made elsewhere: another station's, or a change turned round by undo.
    void Apply(const Change& change);
    void AddObserver(ResultTableObserver* observer);
    void RemoveObserver(ResultTableObserver* observer);

private:
    int Resolve(ColumnRef column) const; // 0-based index, -1 when none
    Row* RowAt(int row);
    // Whether changes are described: inside a change, or with someone to tell.
    bool Recording() const { return depth_ > 0 || !observers_.empty(); }
    // Where a change is described: the open one, or one of its own, told once Described.
    Change& Describing() { return depth_ > 0 ? open_ : single_; }
    void Described();
    void Record(Change::Part part);
    void RecordEdit(std::size_t position, RowData before);
    void Tell(const Change& change);
    void TellColumn(int column);
    void IndexColumns();
    template <typename T> void SetColumnProperty(ColumnRef column, T Column::*member, const T& value);
    static constexpr std::size_t kNowhere = static_cast<std::size_t>(-1);
    std::size_t PositionOf(RowId id, std::size_t hint) const; // kNowhere for none
    void ApplyPart(const Change::Part& part);
    void PutRows(const Change::RowsPlaced& placed);
    void TakeRows(const Change::RowsPlaced& placed);
    void Reorder(const std::vector<RowId>& order);

    TableData data_;
    QHash<QString, int> columnIndex_;
    int layoutGeneration_ = 0;
    RowId nextRowId_ = 1;
    std::function<RowId()> rowIdSource_;
    bool locked_ = false;
    bool readOnly_ = false;
    int depth_ = 0;
    Change open_;
    Change single_;
    std::vector<ResultTableObserver*> observers_;
};

} // namespace vastrel

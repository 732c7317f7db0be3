#pragma once

#include "table/ResultTableObserver.h"

#include "table/Change.h"

#include <QAbstractTableModel>

#include <functional>

#include <cstdint>

#include <utility>
#include <vector>

namespace vastrel {

class ResultTable;
class TableView;

// Shows a ResultTable to Qt's item views. The table stays plain data: this adapter turns the
// changes it is told into model signals, and hands a typed text to whoever edits cells.
class ResultTableModel : public QAbstractTableModel, private ResultTableObserver {
    Q_OBJECT
public:
    // A cell whose text is not yet on the server: marked, and said in its tool tip.
    static constexpr int kWaitingRole = Qt::UserRole + 1;
    using WaitingCells = std::function<bool(RowId id, int column)>; // column from 0

    ResultTableModel(ResultTable& table, TableView& view, QObject* parent = nullptr);
    ~ResultTableModel() override;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    void ShowWaiting(WaitingCells waiting) { waiting_ = std::move(waiting); }

Q_SIGNALS:
    void CellEdited(int row, int column, const QString& text); // from 1; the edit is not stored yet
    void ColumnLayoutChanged(); // visibility or widths: the view re-applies them
    void TableStateChanged();   // title line, cursor, selection, search text
    // The row numbers that carry the cursor's marker: rows `previous` and `current` (from 1, 0 for
    // none) show anew. Not a header data change, on which item views lay out all items again.
    void CursorRowChanged(int previous, int current);

private:
    void ChangeMade(const Change& change) override;
    void ColumnChanged(int column) override;
    void Refreshed() override;
    void ViewChanged() override;

    void Reset();
    void TellChangedHeaders(); // the column captions that differ from those last told

    ResultTable& table_;
    TableView& view_;
    // The counts the views were last told; kept so that a change is announced against them.
    int rows_ = 0;
    int columns_ = 0;
    // Which columns the scoring writes, by column from 0, for the table's columns as they were
    // at computedLayout_: flags() is asked for every cell a selection covers.
    bool IsComputed(int column) const;
    mutable std::uint64_t computedColumns_ = 0;
    mutable int computedLayout_ = -1;
    bool editing_ = false; // inside setData: the view's editor is still committing
    bool resetPending_ = false;
    bool changedUnseen_ = false;                        // cells changed while the table was locked
    int markedRow_ = 0;                                 // the row header that carries the cursor's marker
    std::vector<std::pair<QString, int>> shownHeaders_; // caption and alignment per column
    WaitingCells waiting_;
};

} // namespace vastrel

#pragma once

#include "table/ResultTableObserver.h"

#include <QAbstractTableModel>

#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

namespace vastrel {

class ResultTable;

// Shows a ResultTable to Qt's item views. The table stays plain data; this adapter turns its
// notifications into model signals and typed texts into the table's edit path.
class ResultTableModel : public QAbstractTableModel, private ResultTableObserver {
    Q_OBJECT
public:
    explicit ResultTableModel(ResultTable& table, QObject* parent = nullptr);
    ~ResultTableModel() override;

    ResultTable& Table() const { return table_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

Q_SIGNALS:
    void ColumnLayoutChanged(); // visibility or widths: the view re-applies them
    void TableStateChanged();   // title line, cursor, selection
    // The row numbers that carry the cursor's marker: rows `previous` and `current` (from 1, 0 for
    // none) show anew. Not a header data change, on which item views lay out all items again.
    void CursorRowChanged(int previous, int current);

private:
    void TableReset() override;
    void CellChanged(int row, int column) override;
    void ColumnChanged(int column) override;
    void StateChanged() override;

    void ApplyReset();
    void TellChangedHeaders(); // the column captions that differ from those last told

    ResultTable& table_;
    // The counts the views were last told; kept so that a change is announced against them.
    int rows_ = 0;
    int columns_ = 0;
    bool editing_ = false; // inside setData: the view's editor is still committing
    bool resetPending_ = false;
    int markedRow_ = 0;                                 // the row header that carries the cursor's marker
    std::vector<std::pair<QString, int>> shownHeaders_; // caption and alignment per column
    // The table's revision the views were last told of in whole: a refresh without a change
    // since then repaints nothing (a command's own refresh is followed by the dispatcher's).
    std::uint64_t shownRevision_ = std::numeric_limits<std::uint64_t>::max();
};

} // namespace vastrel

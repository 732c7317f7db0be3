#pragma once

#include "table/ResultTable.h"
#include "table/ResultTableObserver.h"

#include <QString>
#include <QStringList>

namespace vastrel::testing {

// Counts what the table tells its view.
struct CountingObserver : ResultTableObserver {
    int resets = 0;
    int cells = 0;
    int columns = 0;
    int states = 0;
    void TableReset() override { ++resets; }
    void CellChanged(int, int) override { ++cells; }
    void ColumnChanged(int) override { ++columns; }
    void StateChanged() override { ++states; }
    int Total() const { return resets + cells + columns + states; }
};

// A small table: key, kind per column.
inline void AddColumns(ResultTable& table, const QList<QPair<QString, int>>& columns) {
    for (const auto& [key, kind] : columns) {
        table.AddColumn(key, key, 10, 2, true, 1, 2, 0, kind);
    }
}

inline QStringList ColumnTexts(const ResultTable& table, int column) {
    QStringList texts;
    for (int r = 1; r <= table.RowCount(); ++r) {
        texts << table.CellText(r, column);
    }
    return texts;
}

} // namespace vastrel::testing

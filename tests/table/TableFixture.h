#pragma once

#include "table/Change.h"
#include "table/ResultTable.h"
#include "table/ResultTableObserver.h"

#include <QString>
#include <QStringList>

namespace vastrel::testing {

// Counts what the table and its view tell.
struct CountingObserver : ResultTableObserver {
    int changes = 0;
    int columns = 0;
    int refreshes = 0;
    int views = 0;
    void ChangeMade(const Change&) override { ++changes; }
    void ColumnChanged(int) override { ++columns; }
    void Refreshed() override { ++refreshes; }
    void ViewChanged() override { ++views; }
    int Total() const { return changes + columns + refreshes + views; }
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

// Everything a change holds, as text: the values, and per row its id, cells and flags.
inline QStringList Snapshot(const ResultTable& table) {
    const TableValues& v = table.Data().values;
    QStringList lines{v.caption, v.searchCaption, QString::number(v.tableMode),
                      QString::number(v.layoutValue), QString::number(table.ColumnCount())};
    for (int r = 1; r <= table.RowCount(); ++r) {
        QStringList cells{QString::number(table.IdOf(r))};
        for (int c = 1; c <= table.ColumnCount(); ++c) {
            cells << table.CellText(r, c) + (table.CellFlag(r, c) ? QStringLiteral("*") : QString());
        }
        lines << cells.join(u'|');
    }
    return lines;
}

} // namespace vastrel::testing

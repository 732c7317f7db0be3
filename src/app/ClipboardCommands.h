#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

namespace vastrel {

class Scorer;
class TableView;
class Ui;

// The cells of a text from the clipboard, row by row: tab-separated as spreadsheets copy them, or
// semicolon text where no tab occurs; a quoted field may hold the separator, quotes ("") and line
// breaks.
std::vector<QStringList> ClipboardCells(const QString& text);

// The selected rows' visible cells as tab-separated lines, as a spreadsheet pastes them.
QString CopiedRows(const TableView& view);
// Cells of one row (columns from 1, left to right) as one such line.
QString CopiedCells(const TableView& view, int row, const QList<int>& columns);

// Pastes a rectangle of cells with its top left at (row, column), across the visible columns:
// every text through the entry check as if typed, every row scored. Rows past the end are made
// when the user says so; points, sums, the total and what lies past the last column are left out,
// and one message says what was left out or did not fit its entry form.
void PasteCells(TableView& view, Scorer& scorer, Ui& ui, int row, int column, const QString& text);

} // namespace vastrel

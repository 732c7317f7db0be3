#pragma once

#include <QList>
#include <QString>

namespace vastrel {

class MainWindowPort;
class ResultTable;
class Scorer;
class TableView;
class Ui;
class UndoStack;
struct MainWindowState;

// Before a typed text is stored: a time gets its distance's entry form (ValidateTimeEntry), an
// age factor its point, a date its year; other columns take the text as typed.
void ValidateCellEdit(const ResultTable& table, int column, QString& text, Ui& ui);

// Whether a user may type into the cell: not into what the scoring writes (points, sums, the
// total), whose text the next scoring would replace, nor into a cell the table keeps read-only.
bool TakesTypedText(const ResultTable& table, int row, int column);

// After a typed text was stored: its row is scored again (RecalculateRow).
void AfterCellEdit(ResultTable& table, Scorer& scorer, int row);

// What the grid starts: a typed cell, a click on the title line or on a header, the search row,
// a mouse button on a row. Each typed cell (with the scoring it starts), a new event name and a
// header sort is one step of `undo`.
class GridCommands {
public:
    GridCommands(TableView& view, Scorer& scorer, Ui& ui, MainWindowState& state, MainWindowPort& window,
                 UndoStack* undo = nullptr);

    // A text typed into a cell: checked, stored, the row scored, as one step.
    void EditCell(int row, int column, QString text);
    // "Entf" on cells of a row: each emptied (computed ones stay), the row
    // scored, as one step. Columns from 1.
    void ClearCells(int row, const QList<int>& columns);
    // Cells from the clipboard with their top left at the cell, as one step.
    void Paste(int row, int column, const QString& text);
    // The title line: the event's name.
    void CaptionClick();
    // A key typed into a cell that takes none: why not (computed, or nothing may be changed here).
    void LockedCellTyped(int column);
    void HeaderClick(int column);
    // The search row's text, entered; `number` names the column searched, 0 for all.
    void SearchRequest(const QString& text, int& number);
    // The right mouse button (2) on a row opens the context menu, unless the row lies outside a
    // selection; other buttons do nothing.
    void CellMouseUp(int button, int row);

private:
    bool Refused();                     // nothing may be changed here: says why
    bool HoldsNul(const QString& text); // a text no format keeps: says so

    TableView& view_;
    ResultTable& table_;
    Scorer& scorer_;
    Ui& ui_;
    MainWindowState& state_;
    MainWindowPort& window_;
    UndoStack* undo_;
};

} // namespace vastrel

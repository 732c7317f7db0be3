#pragma once

namespace vastrel {

class ResultTable;
class Ui;
struct MainWindowState;

// The question before rows are deleted: the one row by number, or several by count.
void ConfirmRowsDelete(ResultTable& table, Ui& ui, int row, bool& cancel);

// Empties the run data (remark, times, points, sums: every column from the remark on) of the
// selected rows after asking; the person columns stay.
void ClearRunData(ResultTable& table, Ui& ui);

// The context menu's new row: appended without flagged sum cells, and made current.
void AddRowFromContextMenu(ResultTable& table);

// Asks for the event's name and puts it in the title line. Cancel leaves the title as it was.
void EnterEventName(ResultTable& table, MainWindowState& state, Ui& ui);

// A click on a column header sorts by that column, the other way round from the last sort.
void SortByHeader(ResultTable& table, int column);

// The search row: the next row whose cell starts with the search text becomes current and the
// one selected row.
void SearchRow(ResultTable& table, int& number);

// A row action on a row outside a selection is refused.
void GuardRowAction(const ResultTable& table, int row, bool& cancel);

} // namespace vastrel

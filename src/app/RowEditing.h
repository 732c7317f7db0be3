#pragma once

namespace vastrel {

class ResultTable;
class TableView;
class Ui;
struct MainWindowState;

// The question before rows are deleted (BeforeRowsDelete): the one row by number, or several
// by count.
void ConfirmRowsDelete(const TableView& view, Ui& ui, int row, bool& cancel);

// "Zeile(n) löschen": the selected rows, or the cursor's row without a selection, once the
// question is answered Yes. False when nothing went.
bool DeleteSelectedRows(TableView& view, Ui& ui);

// Empties the run data (remark, times, points, sums: every column from the remark on) of the
// selected rows after asking; the person columns stay.
void ClearRunData(TableView& view, Ui& ui);

// The context menu's new row: appended without flagged sum cells, and made current.
void AddRowFromContextMenu(TableView& view);

// Asks for the event's name and puts it in the title line. Cancel leaves the title as it was.
void EnterEventName(ResultTable& table, MainWindowState& state, Ui& ui);

// A click on a column header sorts by that column, the other way round from the last sort.
void SortByHeader(TableView& view, int column);

// The search row: the next row whose cell starts with the search text becomes current and the
// one selected row.
void SearchRow(TableView& view, int& number);

// A row action on a row outside a selection is refused.
void GuardRowAction(const TableView& view, int row, bool& cancel);

} // namespace vastrel

#pragma once

namespace vastrel {

class MainWindowPort;
class ResultTable;
class Scorer;
class Ui;
class UndoStack;
struct MainWindowState;

// What the table's notifications start. A typed text is checked against its distance's entry
// form before the table stores it (ValidateTimeEntry; a typed age factor gets its comma as the
// point), and its row is scored again right after
// (RecalculateRow); deleting asks first; a click on the title line names the event, one on a
// header sorts, the search row searches, the right mouse button opens the row menu.
// The window wires them once, at start-up.
// Each typed cell (with the scoring it starts), a new event name and a header sort is one
// step of `undo`.
void ConnectTableNotifications(ResultTable& table, Scorer& scorer, Ui& ui, MainWindowState& state,
                               MainWindowPort& window, UndoStack* undo = nullptr);

// The right mouse button (2) on a row opens the context menu, unless the row lies outside a
// selection; other buttons do nothing.
void ShowRowMenu(ResultTable& table, MainWindowPort& window, int button, int row);

} // namespace vastrel

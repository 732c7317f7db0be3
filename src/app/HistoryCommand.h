#pragma once

#include <QString>

namespace vastrel {

class StationCommands;
class TableView;
class Ui;
class UndoStack;

// "Verlauf …" of the row menu: every change of the current row, the newest first, as a page to
// read, print or save as PDF. On a server competition from its change log (the server's time and
// the station); on a file from the undo steps, as far back as they go.
void ShowRowHistory(TableView& view, Ui& ui, StationCommands& station, const UndoStack* undo,
                    const QString& reportFolder);

} // namespace vastrel

#pragma once

#include <QString>

namespace vastrel {

class DatabaseCommands;
class Ui;

enum class EndDecision { Stay, End };

// The end command ("Ende"): save, don't save, or go on. A save that is cancelled or fails keeps
// the program running with its data.
EndDecision EndProgram(Ui& ui, DatabaseCommands& database, const QString& reportFolder);

// The window's close request: the same question with Yes and No only and no icon.
EndDecision CloseWindow(Ui& ui, DatabaseCommands& database, const QString& reportFolder);

} // namespace vastrel

#pragma once

#include <QStringList>
#include <QTextStream>

namespace vastrel {

// Exit codes of vastrel-cli.
enum CliExit : int {
    kCliOk = 0,
    kCliFileError = 1,
    kCliUsageError = 2,
    kCliMessagesShown = 3,
};

class ConsoleUi;
class ResultTable;

// Reads a csv or fil file as "öffnen" does; its notice and its failure go out as messages.
bool LoadTableFile(ResultTable& table, const QString& path, ConsoleUi& ui);

// Whether the command draws PDF pages or measures fonts: it needs a QGuiApplication.
bool NeedsGuiApplication(const QStringList& arguments);

// What becomes of the competition read once the command is done. The tool ends right after
// it, and the system takes the memory back at once, where freeing a million rows one by one
// costs a quarter of a second.
enum class TableAtEnd { Freed, LeftToTheSystem };

// Runs the command line (without the program name) and answers the exit code.
int RunCommandLine(const QStringList& arguments, QTextStream& out, QTextStream& errors,
                   TableAtEnd atEnd = TableAtEnd::Freed);

} // namespace vastrel

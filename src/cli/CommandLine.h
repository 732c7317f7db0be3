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

// Whether the command draws PDF pages or measures fonts: it needs a QGuiApplication.
bool NeedsGuiApplication(const QStringList& arguments);

// Runs the command line (without the program name) and answers the exit code.
int RunCommandLine(const QStringList& arguments, QTextStream& out, QTextStream& errors);

} // namespace vastrel

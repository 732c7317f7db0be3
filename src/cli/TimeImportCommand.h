#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

namespace vastrel {

class ConsoleUi;

// vastrel-cli import-times --distance KEY [--lauf L] [--replace] [--station NAME] TIMES… IN OUT,
// without the command's name: each timing file's summary to `out`, its times into IN, written to
// OUT (a competition on a server is entered into as a station enters, IN and OUT the same).
// Answers the exit code; a wrong call is told in `problem`.
int RunImportTimes(const QStringList& arguments, QTextStream& out, ConsoleUi& ui, QString& problem);

} // namespace vastrel

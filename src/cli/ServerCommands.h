#pragma once

#include "server/ServerCompetition.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

namespace vastrel {

class ConsoleUi;
class ResultTable;

// The tool's side of a competition on a server: read as "öffnen" reads a file, written as a new
// competition, and values entered for one competitor as a station enters them.

// False, with the message shown, when the competition cannot be read; as it stood then, when
// `asOf` is given.
bool LoadFromServer(ResultTable& table, const QString& address, const QString& station, ConsoleUi& ui,
                    const std::optional<ServerCompetition::AsOf>& asOf = std::nullopt);
// "--as-of": a number of the change log, or a time ("11.12.2026 14:05", ISO 8601 too).
std::optional<ServerCompetition::AsOf> ParseAsOf(const QString& text);
// An existing competition is replaced only when `replace` is set.
bool SaveToServer(const ResultTable& table, const QString& address, const QString& station, bool replace,
                  QString* error);

// vastrel-cli enter ADDRESS --nr N [--lauf L] [--replace] [--station NAME] KEY=TEXT …, without
// the command's name; answers the exit code. A wrong call is told in `problem`.
int RunEnter(const QStringList& arguments, ConsoleUi& ui, QString& problem);
// vastrel-cli history ADDRESS --nr N [--lauf L]: every change of the competitor's row, newest first.
int RunHistory(const QStringList& arguments, QTextStream& out, ConsoleUi& ui, QString& problem);

// The name the tool writes under when none is given: the machine's with the tool's.
QString ToolStation();

} // namespace vastrel

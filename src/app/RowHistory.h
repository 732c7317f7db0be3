#pragma once

#include <QDateTime>
#include <QString>

#include <vector>

namespace vastrel {

struct LoggedChange;

// One change of a row, as "Verlauf …" and the tool's history list it: when (the server's clock),
// by whom, which column, the text before and after. No column: the row was added or removed.
struct HistoryLine {
    QDateTime time;
    QString station;
    QString column;
    QString before, after;
    bool rowAdded = false, rowRemoved = false;
};

// A row's change log as history lines, in the log's order.
std::vector<HistoryLine> HistoryLines(const std::vector<LoggedChange>& log);

// The history under its heading, a line a change: for the terminal, and as a page to print
// (`who` heads the column of the station, or of the command for a file's own history).
QString HistoryText(const QString& heading, const std::vector<HistoryLine>& lines);
QString HistoryPage(const QString& heading, const std::vector<HistoryLine>& lines, const QString& who);

} // namespace vastrel

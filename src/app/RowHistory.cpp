#include "app/RowHistory.h"

#include "server/ServerCompetition.h"

#include <QStringList>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace vastrel {

namespace {

QString TimeText(const QDateTime& time) {
    return time.isValid() ? time.toLocalTime().toString(u"dd.MM.yyyy HH:mm:ss"_s) : QString();
}

QString WhatText(const HistoryLine& line) {
    if (line.rowAdded) {
        return u"Zeile angelegt"_s;
    }
    if (line.rowRemoved) {
        return u"Zeile gelöscht"_s;
    }
    return u"\"%1\" → \"%2\""_s.arg(line.before, line.after);
}

} // namespace

std::vector<HistoryLine> HistoryLines(const std::vector<LoggedChange>& log) {
    std::vector<HistoryLine> lines;
    lines.reserve(log.size());
    for (const LoggedChange& change : log) {
        lines.push_back({change.serverTime, change.station, change.columnKey, change.oldText, change.newText,
                         change.rowAdded, change.rowRemoved});
    }
    return lines;
}

QString HistoryText(const QString& heading, const std::vector<HistoryLine>& lines) {
    qsizetype stationWidth = 0, columnWidth = 0;
    for (const HistoryLine& line : lines) {
        stationWidth = std::max(stationWidth, line.station.size());
        columnWidth = std::max(columnWidth, line.column.size());
    }
    QStringList text{heading};
    for (const HistoryLine& line : lines) {
        text << u"%1  %2  %3  %4"_s.arg(TimeText(line.time), line.station.leftJustified(stationWidth),
                                        line.column.leftJustified(columnWidth), WhatText(line));
    }
    if (lines.empty()) {
        text << u"Keine Änderungen verzeichnet."_s;
    }
    return text.join(u'\n') + u'\n';
}

QString HistoryPage(const QString& heading, const std::vector<HistoryLine>& lines, const QString& who) {
    QString page = u"<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>%1</title>"
                   u"<style>body{font-family:sans-serif}table{border-collapse:collapse}"
                   u"td,th{border:1px solid #999;padding:2px 6px;text-align:left;vertical-align:top}</style>"
                   u"</head><body><h2>%1</h2>\n"_s.arg(heading.toHtmlEscaped());
    if (lines.empty()) {
        return page + u"<p>Keine Änderungen verzeichnet.</p></body></html>\n"_s;
    }
    page += u"<table><tr><th>Zeit</th><th>%1</th><th>Spalte</th><th>vorher</th><th>nachher</th></tr>\n"_s.arg(
        who.toHtmlEscaped());
    for (const HistoryLine& line : lines) {
        const bool row = line.rowAdded || line.rowRemoved;
        page += u"<tr><td>%1</td><td>%2</td><td>%3</td>"_s.arg(
            TimeText(line.time), line.station.toHtmlEscaped(), line.column.toHtmlEscaped());
        page += row ? u"<td colspan=\"2\">%1</td></tr>\n"_s.arg(WhatText(line))
                    : u"<td>%1</td><td>%2</td></tr>\n"_s.arg(line.before.toHtmlEscaped(),
                                                             line.after.toHtmlEscaped());
    }
    return page + u"</table></body></html>\n"_s;
}

} // namespace vastrel

#include "cli/TimeImportCommand.h"

#include "app/TimeImport.h"
#include "cli/CommandLine.h"
#include "cli/ConsoleUi.h"
#include "cli/ServerCommands.h"
#include "formats/FileFormats.h"
#include "scoring/Scorer.h"
#include "server/ServerAddress.h"
#include "server/ServerCompetition.h"
#include "server/ServerConnection.h"
#include "table/CompetitionLayout.h"
#include "table/ResultTable.h"

#include <QFile>

using namespace Qt::StringLiterals;

namespace vastrel {

namespace {

void Show(ConsoleUi& ui, const QString& text) {
    ui.MessageBox(text, u"Vastrel"_s, MessageButtons::Ok, MessageIcon::Exclamation);
}

// The plan's times into the server's rows as a station enters them: each over the revision read
// with the competition, so that what another station changed meanwhile is refused, not replaced.
int EnterOnServer(ServerCompetition& competition, ResultTable& table, const TimeImportPlan& plan,
                  bool replace, ConsoleUi& ui) {
    const int column = table.ColumnNumber(plan.distance) - 1;
    std::vector<RowEntry> entries;
    for (const auto* times : {&plan.enter, replace ? &plan.replace : nullptr}) {
        for (const auto& time : times ? *times : std::vector<TimeImportPlan::Time>()) {
            entries.push_back(
                {time.id, {{column, time.after, competition.Revision(time.id, column)}}, time.row});
        }
    }
    int entered = 0;
    const std::vector<EnterResult> results = competition.EnterRows(entries, false);
    for (std::size_t e = 0; e < results.size(); ++e) {
        const EnterResult& result = results[e];
        if (result.status == EnterResult::Status::Entered) {
            table.StoreCells(table.RowNumberOf(entries[e].row, entries[e].shownRow), result.cells);
            ++entered;
        } else if (result.status == EnterResult::Status::Conflict) {
            Show(ui, u"Nicht eingetragen: Nr %1 hält inzwischen \"%2\" (von \"%3\")."_s.arg(
                         table.CellText(entries[e].shownRow, u"Nr"_s), result.conflicts.front().theirText,
                         result.conflicts.front().station));
        } else {
            Show(ui, result.error.isEmpty() ? u"Eine Zeile ist nicht mehr auf dem Server."_s : result.error);
        }
    }
    return entered;
}

} // namespace

int RunImportTimes(const QStringList& arguments, QTextStream& out, ConsoleUi& ui, QString& problem) {
    QString distance, run, station = ToolStation();
    bool replace = false;
    QStringList files;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments.at(i);
        const bool hasValue = i + 1 < arguments.size();
        if (a == u"--distance" && hasValue) {
            distance = arguments.at(++i);
        } else if (a == u"--lauf" && hasValue) {
            run = arguments.at(++i);
        } else if (a == u"--station" && hasValue) {
            station = arguments.at(++i);
        } else if (a == u"--replace") {
            replace = true;
        } else if (a.startsWith(u"--"_s)) {
            problem = u"Unbekannte Option: %1"_s.arg(a);
            return kCliUsageError;
        } else {
            files << a;
        }
    }
    if (files.size() < 3 || !DistanceGroupOf(distance)) {
        problem =
            u"import-times erwartet --distance mit einer der zehn Strecken, mindestens eine Zeitendatei, "
            u"EINGABE und AUSGABE."_s;
        return kCliUsageError;
    }
    const QString output = files.takeLast();
    const QString input = files.takeLast();
    const bool onServer = IsServerAddress(input);
    if ((onServer || IsServerAddress(output)) && input != output) {
        problem =
            u"In einen Wettkampf auf dem Server liest import-times nur mit EINGABE gleich AUSGABE ein."_s;
        return kCliUsageError;
    }
    ResultTable table;
    ServerConnection connection;
    ServerCompetition competition(connection);
    if (onServer) {
        const auto address = ParseServerAddress(input, &problem);
        TableData data;
        QString error;
        if (!address || !connection.Open(*address, station, &error) ||
            !competition.Load(address->competition, data, &error)) {
            Show(ui, address ? error : problem);
            return kCliFileError;
        }
        table.Replace(std::move(data));
    } else if (!LoadTableFile(table, input, ui)) {
        return kCliFileError;
    }
    Scorer scorer(table, ui);
    bool incomplete = false;
    for (const QString& path : files) {
        QFile times(path);
        if (!times.open(QIODevice::ReadOnly)) {
            Show(ui, u"Die Zeitendatei \"%1\" lässt sich nicht lesen: %2"_s.arg(path, times.errorString()));
            return kCliFileError;
        }
        const TimeImportPlan plan = PlanTimeImport(table, ReadTimingFile(times.readAll()), distance, run);
        out << path << u":\n"_s << QString(TimeImportSummary(plan)).replace(u"\r\n"_s, u"\n"_s) << u"\n"_s;
        onServer ? EnterOnServer(competition, table, plan, replace, ui)
                 : ApplyTimeImport(table, scorer, plan, replace);
        incomplete = incomplete || !plan.notFound.empty() || !plan.refused.empty() ||
                     (!replace && !plan.replace.empty());
    }
    if (!onServer) {
        QString error;
        if (!SaveTable(table, output, FormatOfPath(output), &error)) {
            Show(ui, error);
            return kCliFileError;
        }
    }
    if (incomplete) {
        Show(ui, u"Nicht jede Zeile der Zeitendateien wurde eingetragen; die Übersicht nennt sie "
                 u"(eine Zeit, die eine andere ersetzen würde, nur mit --replace)."_s);
    }
    return ui.MessageCount() > 0 ? kCliMessagesShown : kCliOk;
}

} // namespace vastrel

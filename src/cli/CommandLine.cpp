#include "cli/CommandLine.h"

#include "cli/ConsoleUi.h"
#include "formats/ExportFile.h"
#include "formats/TextImport.h"
#include "scoring/AgeFactors.h"
#include "scoring/Recalculation.h"
#include "scoring/Scorer.h"
#include "table/ResultTable.h"

#include <optional>

using namespace Qt::StringLiterals;

namespace vastrel {

namespace {

const QString kUsage =
    u"Aufruf: vastrel-cli recalc [--age-factors=mit|ohne] EINGABE.csv AUSGABE.csv\n"
    u"\n"
    u"Liest EINGABE.csv wie \"öffnen\", weist auf Wunsch die Altersfaktoren zu (mit oder ohne\n"
    u"AK-Wertung), berechnet alle Zeilen wie \"komplette Neuberechnung\" neu und schreibt das\n"
    u"Ergebnis als Semikolon-Text nach AUSGABE.csv.\n"
    u"\n"
    u"Jede Meldung erscheint als eine Zeile \"TITEL: TEXT\" auf der Fehlerausgabe.\n"
    u"Rückgabewert: 0 ohne Meldung, 3 nach Meldungen, 1 wenn eine Datei nicht gelesen oder\n"
    u"geschrieben werden konnte, 2 bei falschem Aufruf.\n"_s;

struct RecalcCall {
    std::optional<bool> withAgeClasses; // nothing: the age factors stay as they are
    QString input;
    QString output;
};

std::optional<RecalcCall> ParseRecalc(const QStringList& arguments, QString& problem) {
    RecalcCall call;
    QStringList files;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& a = arguments.at(i);
        if (a == u"--age-factors=mit") {
            call.withAgeClasses = true;
        } else if (a == u"--age-factors=ohne") {
            call.withAgeClasses = false;
        } else if (a.startsWith(u"--"_s)) {
            problem = u"Unbekannte Option: %1"_s.arg(a);
            return std::nullopt;
        } else {
            files << a;
        }
    }
    if (files.size() != 2) {
        problem = u"Es werden genau eine Eingabe- und eine Ausgabedatei erwartet."_s;
        return std::nullopt;
    }
    call.input = files.at(0);
    call.output = files.at(1);
    return call;
}

int RunRecalc(const RecalcCall& call, QTextStream& errors) {
    ConsoleUi ui(errors);
    ResultTable table;
    Scorer scorer(table, ui);
    ImportReport report;
    const bool read = ImportCsvFile(
        table, call.input, [&ui](const QString& t) { return ui.TextWidthTwips(t); }, &report);
    if (!report.notice.isEmpty()) {
        ui.MessageBox(report.notice, u"Vastrel"_s, MessageButtons::Ok, MessageIcon::Exclamation);
    }
    if (!read) {
        ui.MessageBox(report.error, u"Vastrel"_s, MessageButtons::Ok, MessageIcon::Exclamation);
        return kCliFileError;
    }
    if (call.withAgeClasses) {
        AssignAgeFactors(table, ui, *call.withAgeClasses);
    }
    RecalculateAll(table, scorer, ui);

    ExportRequest request;
    request.columnList = AllColumnsList();
    QString error;
    if (!ExportFile(table, call.output, request, &error)) {
        ui.MessageBox(error, u"Vastrel"_s, MessageButtons::Ok, MessageIcon::Exclamation);
        return kCliFileError;
    }
    return ui.MessageCount() > 0 ? kCliMessagesShown : kCliOk;
}

} // namespace

int RunCommandLine(const QStringList& arguments, QTextStream& out, QTextStream& errors) {
    if (arguments.size() == 1 && (arguments.at(0) == u"--help" || arguments.at(0) == u"-h")) {
        out << kUsage;
        return kCliOk;
    }
    QString problem;
    if (!arguments.isEmpty() && arguments.at(0) == u"recalc") {
        if (const auto call = ParseRecalc(arguments, problem)) {
            return RunRecalc(*call, errors);
        }
    } else {
        problem = arguments.isEmpty() ? u"Es fehlt der Befehl."_s
                                      : u"Unbekannter Befehl: %1"_s.arg(arguments.at(0));
    }
    errors << u"vastrel-cli: "_s << problem << u"\n\n"_s << kUsage;
    return kCliUsageError;
}

} // namespace vastrel

#include "cli/ServerCommands.h"

#include "app/GridCommands.h"
#include "app/RowHistory.h"
#include "cli/CommandLine.h"
#include "cli/ConsoleUi.h"
#include "server/ServerCompetition.h"
#include "server/ServerConnection.h"
#include "table/CompetitionLayout.h"
#include "table/ResultTable.h"

#include <QDateTime>
#include <QSysInfo>

using namespace Qt::StringLiterals;

namespace vastrel {

namespace {

std::optional<ServerAddress> CompetitionAddress(const QString& text, QString* problem) {
    auto address = ParseServerAddress(text, problem);
    if (address && address->competition.isEmpty()) {
        if (problem) {
            *problem = u"Die Serveradresse \"%1\" nennt keinen Wettkampf (?competition=NAME)."_s.arg(
                address->Shown());
        }
        return std::nullopt;
    }
    return address;
}

void Show(ConsoleUi& ui, const QString& text) {
    ui.MessageBox(text, u"Vastrel"_s, MessageButtons::Ok, MessageIcon::Exclamation);
}

// Connects and opens the competition the address names; false, with the message shown, when
// either fails.
bool OpenNamed(const ServerAddress& address, const QString& station, ServerConnection& connection,
               ServerCompetition& competition, TableData& head, ConsoleUi& ui) {
    QString error;
    if (connection.Open(address, station, &error) && competition.Open(address.competition, head, &error)) {
        return true;
    }
    Show(ui, error);
    return false;
}

// The row of start number `number` (in run `run`); none, with the message shown and `code` set,
// when there is none or more than one.
std::optional<RowId> FindCompetitor(ServerCompetition& competition, const QString& number, const QString& run,
                                    ConsoleUi& ui, int& code) {
    QString error;
    const qint64 row =
        competition.FindRow(u"Nr"_s, number, run.isEmpty() ? QString() : u"Lauf"_s, run, &error);
    if (row > 0) {
        return static_cast<RowId>(row);
    }
    Show(ui, !error.isEmpty() ? error
             : row == 0       ? u"Die Startnummer %1 gibt es im Wettkampf \"%2\" nicht."_s.arg(
                                    number + (run.isEmpty() ? QString() : u" im Lauf "_s + run), competition.Name())
                        : u"Die Startnummer %1 gibt es mehrmals; --lauf nennt den Lauf."_s.arg(number));
    code = error.isEmpty() ? kCliMessagesShown : kCliFileError;
    return std::nullopt;
}

} // namespace

QString ToolStation() {
    return u"vastrel-cli@%1"_s.arg(QSysInfo::machineHostName());
}

std::optional<ServerCompetition::AsOf> ParseAsOf(const QString& text) {
    bool isNumber = false;
    const qint64 sequence = text.toLongLong(&isNumber);
    if (isNumber) {
        return sequence >= 0 ? std::optional(ServerCompetition::AsOf{sequence, {}}) : std::nullopt;
    }
    for (const QString& format : {u"dd.MM.yyyy HH:mm:ss"_s, u"dd.MM.yyyy HH:mm"_s}) {
        if (const QDateTime time = QDateTime::fromString(text, format); time.isValid()) {
            return ServerCompetition::AsOf{std::nullopt, time};
        }
    }
    if (const QDateTime time = QDateTime::fromString(text, Qt::ISODate); time.isValid()) {
        return ServerCompetition::AsOf{std::nullopt, time};
    }
    return std::nullopt;
}

bool LoadFromServer(ResultTable& table, const QString& text, const QString& station, ConsoleUi& ui,
                    const std::optional<ServerCompetition::AsOf>& asOf) {
    QString problem;
    const auto address = CompetitionAddress(text, &problem);
    ServerConnection connection;
    ServerCompetition competition(connection);
    TableData data;
    if (!address || !connection.Open(*address, station, &problem) ||
        !(asOf ? competition.LoadAsOf(address->competition, *asOf, data, &problem)
               : competition.Load(address->competition, data, &problem))) {
        Show(ui, problem);
        return false;
    }
    table.Replace(std::move(data));
    return true;
}

bool SaveToServer(const ResultTable& table, const QString& text, const QString& station, bool replace,
                  QString* error) {
    const auto address = CompetitionAddress(text, error);
    ServerConnection connection;
    if (!address || !connection.Open(*address, station, error)) {
        return false;
    }
    bool exists = false;
    if (ServerCompetition(connection).Create(address->competition, table.Data(), replace, &exists, error)) {
        return true;
    }
    if (exists && error) {
        *error = u"Den Wettkampf \"%1\" gibt es auf dem Server \"%2\" schon; --replace ersetzt ihn."_s.arg(
            address->competition, address->host);
    }
    return false;
}

int RunEnter(const QStringList& arguments, ConsoleUi& ui, QString& problem) {
    QString addressText, number, run, station = ToolStation();
    bool replace = false;
    QList<std::pair<QString, QString>> values;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments.at(i);
        const bool hasValue = i + 1 < arguments.size();
        if (a == u"--nr" && hasValue) {
            number = arguments.at(++i);
        } else if (a == u"--lauf" && hasValue) {
            run = arguments.at(++i);
        } else if (a == u"--station" && hasValue) {
            station = arguments.at(++i);
        } else if (a == u"--replace") {
            replace = true;
        } else if (a.startsWith(u"--"_s)) {
            problem = u"Unbekannte Option: %1"_s.arg(a);
            return kCliUsageError;
        } else if (addressText.isEmpty()) {
            addressText = a;
        } else if (const qsizetype equals = a.indexOf(u'='); equals > 0) {
            values.append({a.left(equals), a.mid(equals + 1)});
        } else {
            problem = u"Erwartet wird SPALTE=TEXT: %1"_s.arg(a);
            return kCliUsageError;
        }
    }
    if (addressText.isEmpty() || number.isEmpty() || values.isEmpty()) {
        problem = u"enter erwartet eine Serveradresse, --nr und mindestens ein SPALTE=TEXT."_s;
        return kCliUsageError;
    }
    const auto address = CompetitionAddress(addressText, &problem);
    if (!address) {
        return kCliUsageError;
    }
    ServerConnection connection;
    ServerCompetition competition(connection);
    TableData head;
    if (!OpenNamed(*address, station, connection, competition, head, ui)) {
        return kCliFileError;
    }
    ResultTable columns; // the competition's columns, for the entry check
    columns.Replace(std::move(head));
    std::vector<TypedCell> cells;
    const int messagesBefore = ui.MessageCount();
    for (auto [key, text] : values) {
        const int column = columns.ColumnNumber(key);
        if (column == 0) {
            problem = u"Unbekannte Spalte: %1"_s.arg(key);
            return kCliUsageError;
        }
        if (IsComputedColumn(key) || !columns.ColumnAt(column).layout.editable) {
            problem = u"\"%1\" wird berechnet und lässt sich nicht eingeben."_s.arg(key);
            return kCliUsageError;
        }
        ValidateCellEdit(columns, column, text, ui);
        cells.push_back({column - 1, text, std::nullopt});
    }
    if (ui.MessageCount() > messagesBefore) {
        return kCliMessagesShown; // a value the entry check refused: nothing is entered
    }
    int code = kCliOk;
    const std::optional<RowId> row = FindCompetitor(competition, number, run, ui, code);
    if (!row) {
        return code;
    }
    const EnterResult result = competition.Enter(*row, cells, replace);
    for (const ScoringMessage& message : result.messages) {
        ui.MessageBox(message.text, message.title, MessageButtons::Ok, message.icon);
    }
    switch (result.status) {
    case EnterResult::Status::Entered:
        return ui.MessageCount() > 0 ? kCliMessagesShown : kCliOk;
    case EnterResult::Status::Conflict:
        for (const CellConflict& conflict : result.conflicts) {
            Show(ui, u"Nicht eingetragen: \"%1\" von Nr %2 hält schon \"%3\" (von \"%4\"), nicht \"%5\"; "
                     u"--replace überschreibt."_s.arg(conflict.columnKey, number, conflict.theirText,
                                                      conflict.station, conflict.yourText));
        }
        return kCliMessagesShown;
    case EnterResult::Status::NoSuchRow:
        Show(ui, u"Die Startnummer %1 gibt es im Wettkampf \"%2\" nicht mehr."_s.arg(number,
                                                                                     address->competition));
        return kCliMessagesShown;
    case EnterResult::Status::Failed:
        break;
    }
    Show(ui, result.error);
    return kCliFileError;
}

int RunHistory(const QStringList& arguments, QTextStream& out, ConsoleUi& ui, QString& problem) {
    QString addressText, number, run;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments.at(i);
        const bool hasValue = i + 1 < arguments.size();
        if (a == u"--nr" && hasValue) {
            number = arguments.at(++i);
        } else if (a == u"--lauf" && hasValue) {
            run = arguments.at(++i);
        } else if (a.startsWith(u"--"_s) || !addressText.isEmpty()) {
            problem = u"Unbekannte Angabe: %1"_s.arg(a);
            return kCliUsageError;
        } else {
            addressText = a;
        }
    }
    if (addressText.isEmpty() || number.isEmpty()) {
        problem = u"history erwartet eine Serveradresse und --nr."_s;
        return kCliUsageError;
    }
    const auto address = CompetitionAddress(addressText, &problem);
    if (!address) {
        return kCliUsageError;
    }
    ServerConnection connection;
    ServerCompetition competition(connection);
    TableData head;
    if (!OpenNamed(*address, ToolStation(), connection, competition, head, ui)) {
        return kCliFileError;
    }
    QString error;
    int code = kCliOk;
    const std::optional<RowId> row = FindCompetitor(competition, number, run, ui, code);
    if (!row) {
        return code;
    }
    const auto log = competition.HistoryOf(*row, &error);
    if (!log) {
        Show(ui, error);
        return kCliFileError;
    }
    out << HistoryText(
        u"Verlauf der Startnummer %1%2 im Wettkampf \"%3\""_s.arg(
            number, run.isEmpty() ? QString() : u" (Lauf %1)"_s.arg(run), address->competition),
        HistoryLines(*log));
    out.flush();
    return kCliOk;
}

} // namespace vastrel

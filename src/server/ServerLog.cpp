// The change log read back: what the other stations did since a station last looked, and the
// history of one row.
#include "server/ServerCompetition.h"
#include "server/ServerConnection.h"
#include "server/Sql.h"

#include <QVariant>

using namespace Qt::StringLiterals;

namespace vastrel {

namespace {

const QString kLogColumns =
    u"SELECT seq, row_id, column_key, old_text, new_text, station, server_time, revision "
    u"FROM vastrel_changes "_s;

std::optional<std::vector<LoggedChange>> ReadLog(QSqlQuery& query, const QString& where,
                                                 const QVariantList& values, QString* error) {
    query.setForwardOnly(true);
    if (!Run(query, kLogColumns + where, values)) {
        if (error) {
            *error = ServerFailure(query);
        }
        return std::nullopt;
    }
    std::vector<LoggedChange> changes;
    while (query.next()) {
        LoggedChange change;
        change.sequence = query.value(0).toLongLong();
        change.row = static_cast<RowId>(query.value(1).toLongLong());
        change.columnKey = query.value(2).toString();
        change.oldText = query.value(3).toString();
        change.newText = query.value(4).toString();
        change.eventName = query.value(1).isNull();
        change.rowAdded = change.columnKey.isEmpty() && query.value(3).isNull();
        change.rowRemoved = change.columnKey.isEmpty() && query.value(4).isNull();
        change.station = query.value(5).toString();
        change.serverTime = query.value(6).toDateTime();
        change.revision = query.value(7).toInt();
        changes.push_back(std::move(change));
    }
    return changes;
}

} // namespace

std::optional<std::vector<LoggedChange>> ServerCompetition::ChangesSince(qint64 sequence,
                                                                         QString* error) const {
    QSqlQuery query(connection_.Database());
    return ReadLog(query, u"WHERE competition = :id AND seq > :seq ORDER BY seq"_s, {id_, sequence}, error);
}

std::optional<std::vector<LoggedChange>> ServerCompetition::ChangesUpTo(qint64 last, QString* error) const {
    QSqlQuery query(connection_.Database());
    return ReadLog(query, u"WHERE competition = :id AND seq <= :last ORDER BY seq"_s, {id_, last}, error);
}

std::optional<std::vector<LoggedChange>> ServerCompetition::ChangesUntil(const QDateTime& time,
                                                                         QString* error) const {
    QSqlQuery query(connection_.Database());
    return ReadLog(query, u"WHERE competition = :id AND server_time <= :time ORDER BY seq"_s, {id_, time},
                   error);
}

std::optional<std::vector<LoggedChange>> ServerCompetition::HistoryOf(RowId row, QString* error) const {
    QSqlQuery query(connection_.Database());
    return ReadLog(query, u"WHERE competition = :id AND row_id = :row ORDER BY server_time DESC, seq"_s,
                   {id_, static_cast<qint64>(row)}, error);
}

} // namespace vastrel

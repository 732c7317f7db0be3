#include "server/PgTextArray.h"
#include "server/ServerCompetition.h"
#include "server/ServerConnection.h"
#include "server/Sql.h"

#include <QVariant>

using namespace Qt::StringLiterals;

namespace vastrel {

EnterResult ServerCompetition::Enter(RowId row, std::span<const TypedCell> cells, bool overwrite,
                                     int shownRow) {
    EnterResult result;
    QSqlDatabase db = connection_.Database();
    QSqlQuery query(db);
    const auto failed = [&](const QString& error) {
        result.status = EnterResult::Status::Failed;
        result.error = error;
        db.rollback();
        return result;
    };
    // The competition's writers take turns; the row stays locked while it is scored.
    if (!db.transaction() ||
        !Run(query, u"SELECT 1 FROM vastrel_competitions WHERE id = :id FOR UPDATE"_s, {id_})) {
        return failed(ServerFailure(query));
    }
    if (!query.next()) {
        return failed(u"Den Wettkampf \"%1\" gibt es auf dem Server nicht mehr."_s.arg(name_));
    }
    if (!Run(query,
             u"SELECT cells::text, revisions::text FROM vastrel_rows WHERE competition = :id AND row_id = "
             u":row "
             u"FOR UPDATE"_s,
             {id_, static_cast<qint64>(row)})) {
        return failed(ServerFailure(query));
    }
    if (!query.next()) {
        db.rollback();
        result.status = EnterResult::Status::NoSuchRow;
        return result;
    }
    QString buffer;
    std::vector<QStringView> texts;
    if (!ReadTextArray(query.value(0).toString(), buffer, texts) ||
        !ReadIntArray(query.value(1).toString(), result.revisions)) {
        return failed(u"Eine Zeile des Wettkampfs \"%1\" ist nicht zu lesen."_s.arg(name_));
    }
    const std::size_t width = static_cast<std::size_t>(keys_.size());
    texts.resize(width);
    result.revisions.resize(width, 0);
    const RowCells held(texts);
    RowCells typed = held;
    for (const TypedCell& cell : cells) {
        const std::size_t column = static_cast<std::size_t>(cell.column);
        if (cell.column < 0 || column >= width) {
            continue;
        }
        const QStringView current = held.At(column);
        const bool free = cell.seenRevision ? *cell.seenRevision == result.revisions[column]
                                            : current.isEmpty() || current == cell.text;
        if (!overwrite && !free && current != cell.text) {
            result.conflicts.push_back(
                {cell.column, keys_.at(cell.column), current.toString(), cell.text, {}});
        }
        typed.Set(column, cell.text);
    }
    if (!result.conflicts.empty()) {
        for (CellConflict& conflict : result.conflicts) {
            if (Run(query,
                    u"SELECT station FROM vastrel_changes WHERE competition = :id AND row_id = :row "
                    u"AND column_key = :key ORDER BY seq DESC LIMIT 1"_s,
                    {id_, static_cast<qint64>(row), conflict.columnKey}) &&
                query.next()) {
                conflict.station = query.value(0).toString();
            }
        }
        db.rollback();
        result.status = EnterResult::Status::Conflict;
        result.cells = held;
        return result;
    }
    if (!typed.IsEmpty()) {
        RowScoring scoring(scoringColumns_, coefficients_);
        ScoredRow scored = ScoreRow(scoring, typed, shownRow, true);
        result.messages = std::move(scored.messages);
        if (scored.changed) {
            typed = std::move(scored.cells);
        }
    }
    if (!(typed == held)) {
        if (!Run(query,
                 u"UPDATE vastrel_rows SET cells = CAST(:cells AS text[]) WHERE competition = :id AND row_id "
                 u"= :row "
                 u"RETURNING revisions::text"_s,
                 {RowCellsLiteral(typed, width), id_, static_cast<qint64>(row)}) ||
            !query.next() || !ReadIntArray(query.value(0).toString(), result.revisions)) {
            return failed(ServerFailure(query));
        }
    }
    if (!db.commit()) {
        return failed(ServerFailure(query));
    }
    revisions_[row] = result.revisions;
    result.status = EnterResult::Status::Entered;
    result.cells = typed;
    return result;
}

qint64 ServerCompetition::FindRow(const QString& key, const QString& text, const QString& second,
                                  const QString& secondText, QString* error) {
    const qsizetype column = keys_.indexOf(key);
    const qsizetype secondColumn = second.isEmpty() ? -1 : keys_.indexOf(second);
    QSqlQuery query(connection_.Database());
    if (column < 0 || (!second.isEmpty() && secondColumn < 0)) {
        return 0;
    }
    QString statement =
        u"SELECT row_id FROM vastrel_rows WHERE competition = :id AND cells[:column] = :text"_s;
    QVariantList values = {id_, static_cast<int>(column + 1), text};
    if (secondColumn >= 0) {
        statement += u" AND cells[:second] = :secondText"_s;
        values << static_cast<int>(secondColumn + 1) << secondText;
    }
    if (!Run(query, statement + u" ORDER BY position LIMIT 2"_s, values)) {
        if (error) {
            *error = ServerFailure(query);
        }
        return 0;
    }
    if (!query.next()) {
        return 0;
    }
    const qint64 found = query.value(0).toLongLong();
    return query.next() ? -1 : found;
}

std::optional<QStringList> ServerCompetition::Heartbeat(QString* error) {
    QSqlQuery query(connection_.Database());
    if (!Run(query,
             u"INSERT INTO vastrel_stations (competition, station, heartbeat) VALUES (:id, "
             u"vastrel_station(), now()) "
             u"ON CONFLICT (competition, station) DO UPDATE SET heartbeat = now()"_s,
             {id_}) ||
        !Run(query,
             u"SELECT station FROM vastrel_stations WHERE competition = :id "
             u"AND heartbeat > now() - interval '15 seconds' ORDER BY station"_s,
             {id_})) {
        if (error) {
            *error = ServerFailure(query);
        }
        return std::nullopt;
    }
    return FirstColumnTexts(query);
}

RowId ServerCompetition::ReserveRowIds(int count, QString* error) {
    QSqlQuery query(connection_.Database());
    if (!Run(
            query,
            u"UPDATE vastrel_competitions SET next_row = next_row + :count WHERE id = :id RETURNING next_row - :again"_s,
            {count, id_, count}) ||
        !query.next()) {
        if (error) {
            *error = ServerFailure(query);
        }
        return 0;
    }
    return static_cast<RowId>(query.value(0).toLongLong());
}

bool ServerCompetition::AddRows(const std::vector<Row>& rows, QString* error) {
    QSqlDatabase db = connection_.Database();
    QSqlQuery query(db);
    const std::size_t width = static_cast<std::size_t>(keys_.size());
    const auto failed = [&] {
        if (error) {
            *error = ServerFailure(query);
        }
        db.rollback();
        return false;
    };
    if (!db.transaction() ||
        !Run(query, u"SELECT 1 FROM vastrel_competitions WHERE id = :id FOR UPDATE"_s, {id_})) {
        return failed();
    }
    for (const Row& row : rows) {
        if (!Run(
                query,
                u"INSERT INTO vastrel_rows (competition, row_id, position, flags, cells, revisions) "
                u"SELECT :id, :row, coalesce(max(position), -1) + 1, :flags, CAST(:cells AS text[]), "
                u"array_fill(0, ARRAY[CAST(:width AS integer)]) FROM vastrel_rows WHERE competition = :again "
                u"ON CONFLICT (competition, row_id) DO NOTHING"_s,
                {id_, static_cast<qint64>(row.id), static_cast<qint64>(row.data.flags),
                 RowCellsLiteral(row.data.cells, width), static_cast<int>(width), id_})) {
            return failed();
        }
        revisions_.insert(row.id, std::vector<int>(width, 0));
    }
    return db.commit() || failed();
}

bool ServerCompetition::RemoveRows(const std::vector<RowId>& ids, QString* error) {
    std::vector<int> values(ids.begin(), ids.end());
    QSqlDatabase db = connection_.Database();
    QSqlQuery query(db);
    // The competition first, as every writer takes it: the rows' locks come after it.
    if (!db.transaction() ||
        !Run(query, u"SELECT 1 FROM vastrel_competitions WHERE id = :id FOR UPDATE"_s, {id_}) ||
        !Run(query,
             u"DELETE FROM vastrel_rows WHERE competition = :id AND row_id = ANY(CAST(:ids AS integer[]))"_s,
             {id_, IntArrayLiteral(values)}) ||
        !db.commit()) {
        if (error) {
            *error = ServerFailure(query);
        }
        db.rollback();
        return false;
    }
    for (RowId id : ids) {
        revisions_.remove(id);
    }
    return true;
}

std::optional<std::vector<LoggedChange>> ServerCompetition::ChangesSince(qint64 sequence,
                                                                         QString* error) const {
    QSqlQuery query(connection_.Database());
    query.setForwardOnly(true);
    if (!Run(query,
             u"SELECT seq, row_id, column_key, old_text, new_text, station, server_time, revision FROM "
             u"vastrel_changes "
             u"WHERE competition = :id AND seq > :seq ORDER BY seq"_s,
             {id_, sequence})) {
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
        change.rowAdded = change.columnKey.isEmpty() && query.value(3).isNull();
        change.rowRemoved = change.columnKey.isEmpty() && query.value(4).isNull();
        change.station = query.value(5).toString();
        change.serverTime = query.value(6).toDateTime();
        change.revision = query.value(7).toInt();
        changes.push_back(std::move(change));
    }
    return changes;
}

} // namespace vastrel

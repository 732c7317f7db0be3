#include "server/PgTextArray.h"
#include "server/ServerCompetition.h"
#include "server/ServerConnection.h"
#include "server/Sql.h"

#include <QVariant>

using namespace Qt::StringLiterals;

namespace vastrel {

namespace {

// Checks a row's typed cells against what the server holds and scores it: `result` gets the
// conflicts, or the row as it is to be stored.
void EnterInto(const RowCells& held, const RowEntry& entry, bool overwrite, const QStringList& keys,
               RowScoring& scoring, EnterResult& result) {
    const std::size_t width = static_cast<std::size_t>(keys.size());
    RowCells typed = held;
    for (const TypedCell& cell : entry.cells) {
        const std::size_t column = static_cast<std::size_t>(cell.column);
        if (cell.column < 0 || column >= width) {
            continue;
        }
        const QStringView current = held.At(column);
        const bool free = cell.seenRevision ? *cell.seenRevision == result.revisions[column]
                                            : current.isEmpty() || current == cell.text;
        if (!overwrite && !free && current != cell.text) {
            result.conflicts.push_back(
                {cell.column, keys.at(cell.column), current.toString(), cell.text, {}});
        }
        typed.Set(column, cell.text);
    }
    if (!result.conflicts.empty()) {
        result.status = EnterResult::Status::Conflict;
        result.cells = held;
        return;
    }
    if (!typed.IsEmpty()) {
        ScoredRow scored = ScoreRow(scoring, typed, entry.shownRow, true);
        result.messages = std::move(scored.messages);
        if (scored.changed) {
            typed = std::move(scored.cells);
        }
    }
    result.status = EnterResult::Status::Entered;
    result.cells = std::move(typed);
}

} // namespace

EnterResult ServerCompetition::Enter(RowId row, std::span<const TypedCell> cells, bool overwrite,
                                     int shownRow) {
    const RowEntry entry{row, {cells.begin(), cells.end()}, shownRow};
    return std::move(EnterRows({&entry, 1}, overwrite).front());
}

std::vector<EnterResult> ServerCompetition::EnterRows(std::span<const RowEntry> entries, bool overwrite) {
    std::vector<EnterResult> results(entries.size());
    QSqlDatabase db = connection_.Database();
    QSqlQuery query(db);
    query.setForwardOnly(true);
    const auto failed = [&](const QString& error) {
        db.rollback();
        for (EnterResult& result : results) {
            result = EnterResult();
            result.error = error;
        }
        return std::move(results);
    };
    std::vector<int> ids;
    for (const RowEntry& entry : entries) {
        ids.push_back(static_cast<int>(entry.row));
    }
    // The competition's writers take turns; the rows stay locked while they are scored.
    if (!db.transaction() ||
        !Run(query, u"SELECT 1 FROM vastrel_competitions WHERE id = :id FOR UPDATE"_s, {id_})) {
        return failed(ServerFailure(query));
    }
    if (!query.next()) {
        return failed(u"Den Wettkampf \"%1\" gibt es auf dem Server nicht mehr."_s.arg(name_));
    }
    if (!Run(query,
             u"SELECT row_id, cells::text, revisions::text FROM vastrel_rows WHERE competition = :id "
             u"AND row_id = ANY(CAST(:ids AS integer[])) FOR UPDATE"_s,
             {id_, IntArrayLiteral(ids)})) {
        return failed(ServerFailure(query));
    }
    QHash<RowId, std::pair<QString, QString>> held; // cells and revisions in their text forms
    while (query.next()) {
        held.insert(static_cast<RowId>(query.value(0).toLongLong()),
                    {query.value(1).toString(), query.value(2).toString()});
    }
    const std::size_t width = static_cast<std::size_t>(keys_.size());
    RowScoring scoring(scoringColumns_, coefficients_);
    QString buffer;
    std::vector<QStringView> texts;
    std::vector<int> changedIds;
    QStringList changedCells;
    QHash<RowId, std::size_t> changedEntries;
    for (std::size_t e = 0; e < entries.size(); ++e) {
        EnterResult& result = results[e];
        const auto row = held.constFind(entries[e].row);
        if (row == held.constEnd()) {
            result.status = EnterResult::Status::NoSuchRow;
            continue;
        }
        if (!ReadTextArray(row->first, buffer, texts) || !ReadIntArray(row->second, result.revisions)) {
            return failed(u"Eine Zeile des Wettkampfs \"%1\" ist nicht zu lesen."_s.arg(name_));
        }
        texts.resize(width);
        result.revisions.resize(width, 0);
        const RowCells before(texts);
        EnterInto(before, entries[e], overwrite, keys_, scoring, result);
        if (result.status == EnterResult::Status::Entered && !(result.cells == before)) {
            changedIds.push_back(static_cast<int>(entries[e].row));
            changedCells << RowCellsLiteral(result.cells, width);
            changedEntries.insert(entries[e].row, e);
        }
    }
    for (std::size_t e = 0; e < entries.size(); ++e) {
        for (CellConflict& conflict : results[e].conflicts) {
            if (Run(query,
                    u"SELECT station FROM vastrel_changes WHERE competition = :id AND row_id = :row "
                    u"AND column_key = :key ORDER BY seq DESC LIMIT 1"_s,
                    {id_, static_cast<qint64>(entries[e].row), conflict.columnKey}) &&
                query.next()) {
                conflict.station = query.value(0).toString();
            }
        }
    }
    if (!changedIds.empty()) {
        // One statement for every changed row: a statement a row would take a round trip each.
        std::vector<QStringView> cellViews(changedCells.begin(), changedCells.end());
        if (!Run(query,
                 u"UPDATE vastrel_rows r SET cells = CAST(u.cells AS text[]) "
                 u"FROM unnest(CAST(:ids AS integer[]), CAST(:cells AS text[])) AS u(row_id, cells) "
                 u"WHERE r.competition = :id AND r.row_id = u.row_id RETURNING r.row_id, r.revisions::text"_s,
                 {IntArrayLiteral(changedIds), TextArrayLiteral(cellViews), id_})) {
            return failed(ServerFailure(query));
        }
        while (query.next()) {
            const auto entry = changedEntries.constFind(static_cast<RowId>(query.value(0).toLongLong()));
            if (entry == changedEntries.constEnd() ||
                !ReadIntArray(query.value(1).toString(), results[*entry].revisions)) {
                return failed(u"Eine Zeile des Wettkampfs \"%1\" ist nicht zu lesen."_s.arg(name_));
            }
        }
    }
    if (!db.commit()) {
        return failed(ServerFailure(query));
    }
    for (std::size_t e = 0; e < entries.size(); ++e) {
        if (results[e].status == EnterResult::Status::Entered) {
            revisions_[entries[e].row] = results[e].revisions;
        }
    }
    return results;
}

EventNameResult ServerCompetition::SetEventName(const QString& name, const QString& seen, bool overwrite) {
    EventNameResult result;
    QSqlDatabase db = connection_.Database();
    QSqlQuery query(db);
    const auto failed = [&] {
        result.status = EventNameResult::Status::Failed;
        result.error = ServerFailure(query);
        db.rollback();
        return result;
    };
    if (!db.transaction() ||
        !Run(
            query,
            u"SELECT coalesce(table_values->>'caption', '') FROM vastrel_competitions WHERE id = :id FOR UPDATE"_s,
            {id_}) ||
        !query.next()) {
        return failed();
    }
    const QString current = query.value(0).toString();
    if (!overwrite && current != seen && current != name) {
        result.status = EventNameResult::Status::Conflict;
        result.theirs = current;
        if (Run(query,
                u"SELECT station FROM vastrel_changes WHERE competition = :id AND row_id IS NULL "
                u"AND column_key = 'Veranstaltung' ORDER BY seq DESC LIMIT 1"_s,
                {id_}) &&
            query.next()) {
            result.station = query.value(0).toString();
        }
        db.rollback();
        return result;
    }
    if (!Run(query,
             u"UPDATE vastrel_competitions SET table_values = jsonb_set(table_values, '{caption}', "
             u"to_jsonb(CAST(:name AS text))) WHERE id = :id"_s,
             {name, id_}) ||
        !db.commit()) {
        return failed();
    }
    result.status = EventNameResult::Status::Set;
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
    // A read-only login (a display) is no station that enters: it only looks who is there.
    if ((connection_.MayChange() &&
         !Run(query,
              u"INSERT INTO vastrel_stations (competition, station, heartbeat) VALUES (:id, "
              u"vastrel_station(), now()) "
              u"ON CONFLICT (competition, station) DO UPDATE SET heartbeat = now()"_s,
              {id_})) ||
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

} // namespace vastrel

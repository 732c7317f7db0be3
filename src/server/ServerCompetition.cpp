#include "server/ServerCompetition.h"

#include "server/CompetitionJson.h"
#include "server/PgTextArray.h"
#include "server/ServerConnection.h"
#include "server/Sql.h"
#include "table/ResultTable.h"

#include <QSqlQuery>
#include <QVariant>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace vastrel {

namespace {

constexpr int kRowsPerInsert = 2000;

ScoringColumns ScoringColumnsOfColumns(const std::vector<Column>& columns) {
    ResultTable table;
    TableData data;
    data.columns = columns;
    table.Replace(std::move(data));
    return ScoringColumnsOf(table);
}

} // namespace

ServerCompetition::ServerCompetition(ServerConnection& connection) : connection_(connection) {
    LoadPointsCoefficients(coefficients_);
}

std::optional<QStringList> ServerCompetition::List(ServerConnection& connection, QString* error) {
    QSqlQuery query(connection.Database());
    if (!query.exec(u"SELECT name FROM vastrel_competitions ORDER BY name"_s)) {
        if (error) {
            *error = ServerFailure(query);
        }
        return std::nullopt;
    }
    return FirstColumnTexts(query);
}

bool ServerCompetition::Create(const QString& name, const TableData& data, bool replace, bool* exists,
                               QString* error) {
    QSqlDatabase db = connection_.Database();
    QSqlQuery query(db);
    const auto failed = [&] {
        if (error) {
            *error = ServerFailure(query);
        }
        db.rollback();
        return false;
    };
    if (exists) {
        *exists = false;
    }
    // PostgreSQL's texts hold no NUL: the cell would fail the whole competition.
    for (std::size_t r = 0; r < data.rows.size(); ++r) {
        for (std::size_t c = 0; c < data.columns.size(); ++c) {
            if (data.rows[r].data.cells.At(c).contains(QChar(0))) {
                if (error) {
                    *error =
                        u"Zeile %1, \"%2\": der Text enthält ein Nullzeichen (NUL), das der Server nicht "
                        u"speichern kann. Bitte den Text ändern."_s.arg(r + 1)
                            .arg(data.columns[c].key);
                }
                return false;
            }
        }
    }
    if (!db.transaction() ||
        !Run(query, u"SELECT id FROM vastrel_competitions WHERE name = :name FOR UPDATE"_s, {name})) {
        return failed();
    }
    if (query.next()) {
        const int old = query.value(0).toInt();
        if (!replace) {
            if (exists) {
                *exists = true;
            }
            db.rollback();
            return false;
        }
        if (!Run(query, u"DELETE FROM vastrel_rows WHERE competition = :id"_s, {old}) ||
            !Run(query, u"DELETE FROM vastrel_competitions WHERE id = :id"_s, {old})) {
            return failed();
        }
    }
    QStringList keys;
    for (const Column& column : data.columns) {
        keys << column.key;
    }
    std::vector<QStringView> keyViews(keys.begin(), keys.end());
    RowId nextRow = 1;
    for (const Row& row : data.rows) {
        nextRow = std::max(nextRow, row.id + 1);
    }
    if (!Run(query,
             u"INSERT INTO vastrel_competitions (name, keys, columns, table_values, next_row) "
             u"VALUES (:name, CAST(:keys AS text[]), CAST(:columns AS jsonb), CAST(:values AS jsonb), :next) "
             u"RETURNING id"_s,
             {name, TextArrayLiteral(keyViews), ColumnsAsJson(data.columns), ValuesAsJson(data.values),
              static_cast<qint64>(nextRow)}) ||
        !query.next()) {
        return failed();
    }
    const int id = query.value(0).toInt();
    const std::size_t width = data.columns.size();
    // Rows go in thousands to a statement: one statement a row would take a round trip each.
    for (std::size_t first = 0; first < data.rows.size(); first += kRowsPerInsert) {
        const std::size_t last = std::min(data.rows.size(), first + kRowsPerInsert);
        std::vector<int> ids;
        QStringList positions, flags, cells;
        for (std::size_t r = first; r < last; ++r) {
            const Row& row = data.rows[r];
            ids.push_back(static_cast<int>(row.id));
            positions << QString::number(r);
            flags << QString::number(static_cast<qint64>(row.data.flags));
            cells << RowCellsLiteral(row.data.cells, width);
        }
        std::vector<QStringView> cellViews(cells.begin(), cells.end());
        if (!Run(query,
                 u"INSERT INTO vastrel_rows (competition, row_id, position, flags, cells, revisions) "
                 u"SELECT :id, r.id, r.position, r.flags, CAST(r.cells AS text[]), array_fill(0, "
                 u"ARRAY[CAST(:width AS integer)]) "
                 u"FROM unnest(CAST(:ids AS integer[]), CAST(:positions AS bigint[]), CAST(:flags AS "
                 u"bigint[]), "
                 u"CAST(:cells AS text[])) AS r(id, position, flags, cells)"_s,
                 {id, static_cast<int>(width), IntArrayLiteral(ids), u"{"_s + positions.join(u',') + u'}',
                  u"{"_s + flags.join(u',') + u'}', TextArrayLiteral(cellViews)})) {
            return failed();
        }
    }
    if (!Run(query, u"SELECT coalesce(max(seq), 0) FROM vastrel_changes WHERE competition = :id"_s, {id}) ||
        !query.next()) {
        return failed();
    }
    const qint64 last = query.value(0).toLongLong();
    if (!db.commit()) {
        return failed();
    }
    Take(name, id, last, keys, data.columns);
    revisions_.clear();
    for (const Row& row : data.rows) {
        revisions_.insert(row.id, std::vector<int>(width, 0));
    }
    return true;
}

bool ServerCompetition::Open(const QString& name, TableData& data, QString* error) {
    QSqlQuery query(connection_.Database());
    if (!ReadHead(query, name, data, error)) {
        return false;
    }
    revisions_.clear();
    return true;
}

// The competition's own row: its columns and values, and the last change it holds.
bool ServerCompetition::ReadHead(QSqlQuery& query, const QString& name, TableData& data, QString* error) {
    const auto fail = [&](const QString& message) {
        if (error) {
            *error = message;
        }
        return false;
    };
    if (!Run(query,
             u"SELECT id, keys::text, columns::text, table_values::text, "
             u"(SELECT coalesce(max(seq), 0) FROM vastrel_changes WHERE competition = c.id) "
             u"FROM vastrel_competitions c WHERE name = :name"_s,
             {name})) {
        return fail(ServerFailure(query));
    }
    if (!query.next()) {
        return fail(u"Den Wettkampf \"%1\" gibt es auf dem Server \"%2\" nicht."_s.arg(
            name, connection_.Address().host));
    }
    QString buffer;
    std::vector<QStringView> texts;
    const auto columns = ColumnsFromJson(query.value(2).toString());
    if (!ReadTextArray(query.value(1).toString(), buffer, texts) || !columns ||
        texts.size() != columns->size()) {
        return fail(
            u"Der Wettkampf \"%1\" auf dem Server ist beschädigt: seine Spalten sind nicht zu lesen."_s.arg(
                name));
    }
    QStringList keys;
    for (QStringView key : texts) {
        keys << key.toString();
    }
    data = TableData();
    data.columns = *columns;
    data.values = ValuesFromJson(query.value(3).toString());
    Take(name, query.value(0).toInt(), query.value(4).toLongLong(), keys, data.columns);
    return true;
}

bool ServerCompetition::Load(const QString& name, TableData& data, QString* error) {
    QSqlDatabase db = connection_.Database();
    QSqlQuery query(db);
    query.setForwardOnly(true);
    const auto fail = [&](const QString& message) {
        if (error) {
            *error = message;
        }
        db.rollback();
        return false;
    };
    // One snapshot: the rows and the last change they include.
    if (!db.transaction() || !query.exec(u"SET TRANSACTION ISOLATION LEVEL REPEATABLE READ, READ ONLY"_s)) {
        return fail(ServerFailure(query));
    }
    TableData loaded;
    QString problem;
    if (!ReadHead(query, name, loaded, &problem)) {
        return fail(problem);
    }
    if (!Run(query,
             u"SELECT row_id, flags, cells::text, revisions::text FROM vastrel_rows "
             u"WHERE competition = :id ORDER BY position, row_id"_s,
             {id_})) {
        return fail(ServerFailure(query));
    }
    QHash<RowId, std::vector<int>> revisions;
    std::vector<int> rowRevisions;
    QString buffer;
    std::vector<QStringView> texts;
    while (query.next()) {
        const RowId rowId = static_cast<RowId>(query.value(0).toLongLong());
        if (!ReadTextArray(query.value(2).toString(), buffer, texts) ||
            !ReadIntArray(query.value(3).toString(), rowRevisions) || rowId == 0) {
            return fail(
                u"Der Wettkampf \"%1\" auf dem Server ist beschädigt: eine Zeile ist nicht zu lesen."_s.arg(
                    name));
        }
        texts.resize(std::min(texts.size(), loaded.columns.size()));
        loaded.rows.push_back(
            Row{rowId, {RowCells(texts), static_cast<std::uint64_t>(query.value(1).toLongLong())}});
        revisions.insert(rowId, rowRevisions);
    }
    db.commit();
    data = std::move(loaded);
    revisions_ = std::move(revisions);
    return true;
}

void ServerCompetition::Take(const QString& name, int id, qint64 lastSequence, const QStringList& keys,
                             const std::vector<Column>& columns) {
    name_ = name;
    id_ = id;
    lastSequence_ = lastSequence;
    keys_ = keys;
    scoringColumns_ = ScoringColumnsOfColumns(columns);
}

int ServerCompetition::Revision(RowId row, int column) const {
    const auto found = revisions_.constFind(row);
    if (found == revisions_.constEnd() || column < 0 || static_cast<std::size_t>(column) >= found->size()) {
        return 0;
    }
    return (*found)[static_cast<std::size_t>(column)];
}

void ServerCompetition::SetRevision(RowId row, int column, int revision) {
    std::vector<int>& revisions = revisions_[row];
    if (column >= 0 && static_cast<std::size_t>(column) >= revisions.size()) {
        revisions.resize(static_cast<std::size_t>(column) + 1, 0);
    }
    if (column >= 0) {
        revisions[static_cast<std::size_t>(column)] = revision;
    }
}

} // namespace vastrel

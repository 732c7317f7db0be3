// The competition as it stood after a change of its log, rebuilt from the log alone: what a
// protest asks ("what did the list say at 14:05?"), and a check that the log holds everything.
#include "server/PgTextArray.h"
#include "server/ServerCompetition.h"
#include "server/ServerConnection.h"
#include "server/Sql.h"

#include <QHash>
#include <QVariant>

using namespace Qt::StringLiterals;

namespace vastrel {

void ReplayLog(const std::vector<LoggedChange>& log, const QStringList& keys, TableData& data) {
    QHash<RowId, std::size_t> places;
    std::vector<std::optional<Row>> rows;
    QString buffer;
    std::vector<QStringView> texts;
    for (const LoggedChange& change : log) {
        if (change.eventName) {
            data.values.caption = change.newText;
            continue;
        }
        const auto at = places.constFind(change.row);
        if (change.rowAdded) {
            if (at == places.constEnd() && ReadTextArray(change.newText, buffer, texts)) {
                texts.resize(std::min(texts.size(), static_cast<std::size_t>(keys.size())));
                places.insert(change.row, rows.size());
                rows.push_back(Row{change.row, {RowCells(texts), 0}});
            }
        } else if (at != places.constEnd() && change.rowRemoved) {
            rows[*at].reset();
            places.erase(at);
        } else if (at != places.constEnd()) {
            const qsizetype column = keys.indexOf(change.columnKey);
            if (column >= 0) {
                rows[*at]->data.cells.Set(static_cast<std::size_t>(column), change.newText);
            }
        }
    }
    data.rows.clear();
    for (auto& row : rows) {
        if (row) {
            data.rows.push_back(std::move(*row));
        }
    }
}

bool ServerCompetition::LoadAsOf(const QString& name, const AsOf& asOf, TableData& data, QString* error) {
    QSqlDatabase db = connection_.Database();
    QSqlQuery query(db);
    TableData head;
    if (!ReadHead(query, name, head, error)) {
        return false;
    }
    // The event's name before its first change in the log: the one it was made with.
    if (!Run(query,
             u"SELECT old_text FROM vastrel_changes WHERE competition = :id AND row_id IS NULL "
             u"ORDER BY seq LIMIT 1"_s,
             {id_})) {
        if (error) {
            *error = ServerFailure(query);
        }
        return false;
    }
    if (query.next()) {
        head.values.caption = query.value(0).toString();
    }
    const auto log = asOf.sequence ? ChangesUpTo(*asOf.sequence, error) : ChangesUntil(asOf.time, error);
    if (!log) {
        return false;
    }
    ReplayLog(*log, keys_, head);
    data = std::move(head);
    return true;
}

} // namespace vastrel

// What the other stations did: the change log after the last change seen, into the table.
#include "app/StationSync.h"

#include "ports/MainWindowState.h"
#include "server/PgTextArray.h"
#include "table/ResultTable.h"

#include <algorithm>
#include <map>

namespace vastrel {

bool StationSync::CatchUp() {
    if (!following_ || offline_) {
        return false;
    }
    const auto changes = competition_.ChangesSince(competition_.LastSequence(), nullptr);
    if (!changes) {
        GoneOffline();
        Tell();
        return false;
    }
    if (changes->empty()) {
        return true;
    }
    QHash<RowId, int> positions;
    for (int row = 1; row <= table_.RowCount(); ++row) {
        positions.insert(table_.IdOf(row), row - 1);
    }
    Change change;
    Change::RowsPlaced added;
    std::map<std::size_t, Row> removed; // by place: a change takes them out in the table's order
    QString buffer;
    std::vector<QStringView> texts;
    QHash<RowId, std::size_t> addedHere; // rows of this batch, which later entries may change
    QHash<quint64, QString> batch;       // the cells' texts as this batch left them
    for (const LoggedChange& logged : *changes) {
        if (logged.eventName) {
            if (!state_ || state_->baseCaption == sharedName_) {
                ShowEventName(logged.newText); // a name given here and not yet sent is asked about when sent
            }
            continue;
        }
        const auto at = positions.constFind(logged.row);
        if (logged.rowAdded) {
            if (at == positions.constEnd() && ReadTextArray(logged.newText, buffer, texts)) {
                addedHere.insert(logged.row, added.rows.size());
                added.positions.push_back(static_cast<std::size_t>(table_.RowCount()) + added.rows.size());
                added.rows.push_back(Row{logged.row, {RowCells(texts), 0}});
            }
            continue;
        }
        if (at == positions.constEnd()) {
            const auto fresh = addedHere.constFind(logged.row);
            const int column = table_.ColumnNumber(logged.columnKey) - 1;
            if (fresh != addedHere.constEnd() && column >= 0 && !logged.rowRemoved) {
                added.rows[*fresh].data.cells.Set(static_cast<std::size_t>(column), logged.newText);
                competition_.SetRevision(logged.row, column, logged.revision);
            }
            continue;
        }
        if (logged.rowRemoved) {
            removed.emplace(static_cast<std::size_t>(*at), table_.Data().rows[static_cast<std::size_t>(*at)]);
            continue;
        }
        const int column = table_.ColumnNumber(logged.columnKey) - 1;
        if (column < 0) {
            continue;
        }
        competition_.SetRevision(logged.row, column, logged.revision);
        const auto waiting = pending_.find(logged.row);
        const bool typedHere = waiting != pending_.end() &&
                               std::any_of(waiting->second.cells.begin(), waiting->second.cells.end(),
                                           [column](const PendingCell& c) { return c.column == column; });
        // A cell this batch changed already goes on from there: changed and changed back is back.
        const auto earlier = batch.constFind(CellKey(logged.row, column));
        const QStringView here =
            earlier != batch.constEnd() ? QStringView(*earlier) : table_.CellView(*at + 1, column + 1);
        if (!typedHere && here != logged.newText) {
            change.AddCell(logged.row, static_cast<std::size_t>(*at), static_cast<std::size_t>(column), here,
                           logged.newText);
            batch.insert(CellKey(logged.row, column), logged.newText);
        }
    }
    competition_.SetLastSequence(changes->back().sequence);
    if (!removed.empty()) {
        // Cells first, at the places they were counted at; then the rows go.
        if (!change.IsEmpty()) {
            ApplyRemote(change);
        }
        change = Change();
        Change::RowsPlaced gone{false, {}, {}};
        for (auto& [position, row] : removed) {
            gone.positions.push_back(position);
            gone.rows.push_back(std::move(row));
        }
        change.Add(std::move(gone));
    }
    if (!added.rows.empty()) {
        change.Add(std::move(added));
    }
    if (!change.IsEmpty()) {
        ApplyRemote(change);
    }
    return true;
}

void StationSync::ApplyRemote(const Change& change) {
    if (change.IsEmpty()) {
        return;
    }
    applying_ = true;
    table_.Apply(change);
    applying_ = false;
}

} // namespace vastrel

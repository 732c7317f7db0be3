// What the other stations did: the change log after the last change seen, into the table.
#include "app/StationSync.h"

#include "server/PgTextArray.h"
#include "table/ResultTable.h"

#include <algorithm>

namespace vastrel {

bool StationSync::CatchUp() {
    if (!following_ || offline_) {
        return false;
    }
    QString error;
    const auto changes = competition_.ChangesSince(competition_.LastSequence(), &error);
    if (!changes) {
        offline_ = !Reconnect();
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
    Change::RowsPlaced added, removed;
    removed.added = false;
    QString buffer;
    std::vector<QStringView> texts;
    QHash<RowId, std::size_t> addedHere; // rows of this batch, which later entries may change
    for (const LoggedChange& logged : *changes) {
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
            removed.positions.push_back(static_cast<std::size_t>(*at));
            removed.rows.push_back(table_.Data().rows[static_cast<std::size_t>(*at)]);
            continue;
        }
        const int column = table_.ColumnNumber(logged.columnKey) - 1;
        if (column < 0) {
            continue;
        }
        competition_.SetRevision(logged.row, column, logged.revision);
        const auto waiting = pending_.find(logged.row);
        const bool typedHere = waiting != pending_.end() &&
                               std::any_of(waiting->second.begin(), waiting->second.end(),
                                           [column](const PendingCell& c) { return c.column == column; });
        const QStringView here = table_.CellView(*at + 1, column + 1);
        if (!typedHere && here != logged.newText) {
            change.AddCell(logged.row, static_cast<std::size_t>(*at), static_cast<std::size_t>(column), here,
                           logged.newText);
        }
    }
    competition_.SetLastSequence(changes->back().sequence);
    if (!removed.rows.empty()) {
        // Cells first, at the places they were counted at; then the rows go, in the table's order.
        ApplyRemote(change);
        change = Change();
        std::vector<std::pair<std::size_t, Row>> gone;
        for (std::size_t i = 0; i < removed.rows.size(); ++i) {
            gone.emplace_back(removed.positions[i], removed.rows[i]);
        }
        std::sort(gone.begin(), gone.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        removed = Change::RowsPlaced{false, {}, {}};
        for (auto& [position, row] : gone) {
            removed.positions.push_back(position);
            removed.rows.push_back(std::move(row));
        }
        change.Add(std::move(removed));
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
    applying_ = true;
    table_.Apply(change);
    applying_ = false;
}

} // namespace vastrel

// What is not yet on the server, on disk: kept as it is changed, rewritten as it is sent, and
// put back into the table when the station follows the competition again.
#include "app/StationSync.h"

#include "app/StationCopy.h"
#include "ports/MainWindowState.h"
#include "server/ServerConnection.h"
#include "table/ResultTable.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace vastrel {

namespace {

QStringList TextsOf(const RowCells& cells) {
    QStringList texts;
    for (std::size_t c = 0; c < cells.Count(); ++c) {
        texts << cells.At(c).toString();
    }
    return texts;
}

RowCells CellsOf(const QStringList& texts) {
    std::vector<QStringView> views(texts.begin(), texts.end());
    return RowCells(views);
}

} // namespace

void StationSync::WriteCopy() {
    if (queueFolder_.isEmpty()) {
        return;
    }
    StationCopy copy;
    copy.server = connection_.Address().Shown();
    copy.station = connection_.Station();
    copy.name = competition_.Name();
    copy.competitionId = competition_.Id();
    copy.lastSequence = competition_.LastSequence();
    copy.saved = QDateTime::currentDateTime();
    copy.keys = competition_.Keys();
    copy.data = table_.Data();
    copy.data.values.caption = sharedName_; // without the window's day
    copy.revisions = competition_.Revisions();
    copy.nextId = nextId_;
    copy.lastId = lastId_;
    // Without it only a start before the server is back is lost; what waits is in the queue.
    WriteStationCopy(queueFolder_, copy, nullptr);
}

// Told before the next send, once until then.
void StationSync::KeepingFailed(const QString& error) {
    if (keepingFailed_.isEmpty()) {
        keepingFailed_ =
            u"Die Änderung ist nur im Speicher, nicht auf der Festplatte gesichert.\r\n"_s + error;
    }
}

void StationSync::Keep() {
    if (unkept_.empty()) {
        return;
    }
    for (QueuedChange& change : unkept_) {
        if (change.kind == QueuedChange::Kind::RowAdded) {
            const int row = table_.RowNumberOf(change.row, table_.RowCount());
            change.position = static_cast<std::size_t>(std::max(row - 1, 0));
            change.cells = row > 0 ? TextsOf(table_.Cells(row)) : QStringList();
        }
    }
    QString error;
    if (!queue_.Append(unkept_, &error)) {
        KeepingFailed(error);
    }
    unkept_.clear();
}

// Rows added first, then rows removed, then cells: the order the next send takes.
void StationSync::KeepWhatIsWaiting() {
    if (!queue_.IsKept()) {
        return;
    }
    std::vector<QueuedChange> waiting;
    for (RowId id : addedRows_) {
        const int row = table_.RowNumberOf(id, table_.RowCount());
        if (row > 0) {
            waiting.push_back(QueuedChange::OfRow(QueuedChange::Kind::RowAdded, id,
                                                  static_cast<std::size_t>(row - 1),
                                                  TextsOf(table_.Cells(row))));
        }
    }
    for (RowId id : removedRows_) {
        waiting.push_back(QueuedChange::OfRow(QueuedChange::Kind::RowRemoved, id));
    }
    for (const auto& [id, row] : pending_) {
        for (const PendingCell& cell : row.cells) {
            waiting.push_back(
                QueuedChange::OfCell(id, row.position, cell.column, cell.text, cell.seen, cell.undone));
        }
    }
    keptName_.reset();
    if (NameWaits()) {
        keptName_ = state_->baseCaption;
        waiting.push_back(QueuedChange::OfEventName(*keptName_, NameSeen()));
    }
    QString error;
    if (!queue_.Rewrite(waiting, &error)) {
        KeepingFailed(error);
    }
}

// The table holds the competition as the server does; what this station had not sent goes back
// into it, waiting as it did, with the revisions it was typed over.
void StationSync::RestoreQueue() {
    const std::vector<QueuedChange> queued = queue_.Read();
    if (queued.empty()) {
        return;
    }
    Change cells;
    const QueuedChange* name = nullptr;
    const auto showCells = [&] {
        ApplyRemote(cells);
        cells = Change();
    };
    for (const QueuedChange& change : queued) {
        const int row = table_.RowNumberOf(change.row, static_cast<int>(change.position) + 1);
        switch (change.kind) {
        case QueuedChange::Kind::RowAdded:
            if (row == 0) {
                showCells();
                const auto position = static_cast<std::size_t>(table_.RowCount());
                Change added;
                added.Add(
                    Change::RowsPlaced{true, {position}, {Row{change.row, {CellsOf(change.cells), 0}}}});
                ApplyRemote(added);
                addedRows_.push_back(change.row);
            }
            break;
        case QueuedChange::Kind::RowRemoved:
            if (row > 0) {
                showCells();
                Change removed;
                removed.Add(Change::RowsPlaced{false,
                                               {static_cast<std::size_t>(row - 1)},
                                               {table_.Data().rows[static_cast<std::size_t>(row - 1)]}});
                ApplyRemote(removed);
                pending_.erase(change.row);
                if (const auto added = std::find(addedRows_.begin(), addedRows_.end(), change.row);
                    added != addedRows_.end()) {
                    addedRows_.erase(added);
                } else {
                    removedRows_.push_back(change.row);
                }
            }
            break;
        case QueuedChange::Kind::Cell:
            if (row > 0 && change.column >= 0 && change.column < table_.ColumnCount()) {
                cells.AddCell(change.row, static_cast<std::size_t>(row - 1),
                              static_cast<std::size_t>(change.column),
                              table_.CellView(row, change.column + 1), change.text);
                PendingRow& pending = pending_[change.row];
                pending.position = static_cast<std::size_t>(row - 1);
                pending.cells.push_back({change.column, change.text, change.undone, change.seen});
            }
            break;
        case QueuedChange::Kind::EventName:
            name = &change; // the last one given
            break;
        }
    }
    showCells();
    if (name && state_ && name->text != sharedName_) {
        ShowName(name->text);
        valuesChanged_ = true;
        seenName_ = name->seenName;
        keptName_ = name->text;
    }
    QueueSend();
}

} // namespace vastrel

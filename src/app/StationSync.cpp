#include "app/StationSync.h"

#include "app/UndoStack.h"
#include "ports/MainWindowState.h"
#include "ports/Ui.h"
#include "server/ServerConnection.h"
#include "table/CompetitionLayout.h"
#include "table/ResultTable.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace vastrel {

StationSync::StationSync(ResultTable& table, Ui& ui, ServerConnection& connection,
                         ServerCompetition& competition, UndoStack* undo, MainWindowState* state)
    : table_(table), ui_(ui), connection_(connection), competition_(competition), undo_(undo), state_(state) {
    poll_.setInterval(kPollMilliseconds);
    QObject::connect(&poll_, &QTimer::timeout, &poll_, [this] {
        if (offline_ && !Reconnect()) {
            return;
        }
        if (const auto stations = competition_.Heartbeat(nullptr)) {
            stations_ = *stations;
        }
        CatchUp();
        SendChanges();
    });
    table_.AddObserver(this);
}

StationSync::~StationSync() {
    table_.RemoveObserver(this);
}

void StationSync::ChangeMade(const Change& change) {
    const bool replaces =
        std::any_of(change.Parts().begin(), change.Parts().end(), [](const Change::Part& part) {
            return std::holds_alternative<Change::Replacement>(part);
        });
    if (replaces) {
        if (ownReplacement_) {
            ownReplacement_ = false; // told now or at the end of the open's undo step
        } else if (following_ && !applying_) {
            Stop(); // another table (undo of the open): it is not the competition
            if (left_) {
                left_();
            }
        }
        return;
    }
    if (!following_ || applying_) {
        return;
    }
    const bool undone = undo_ && undo_->Applying();
    for (const Change::Part& part : change.Parts()) {
        if (const auto* edits = std::get_if<Change::RowEdits>(&part)) {
            for (const Change::RowEdit& edit : *edits) {
                Collect(edit.id, edit.position, edit.before.cells, edit.after.cells, undone);
            }
        } else if (const auto* placed = std::get_if<Change::RowsPlaced>(&part)) {
            for (const Row& row : placed->rows) {
                auto& to = placed->added ? addedRows_ : removedRows_;
                auto& from = placed->added ? removedRows_ : addedRows_;
                if (const auto unsent = std::find(from.begin(), from.end(), row.id); unsent != from.end()) {
                    from.erase(unsent); // taken back before it was sent
                } else {
                    to.push_back(row.id);
                }
                if (queue_.IsKept()) { // an added row's texts are read from the table when kept
                    unkept_.push_back(QueuedChange::OfRow(placed->added ? QueuedChange::Kind::RowAdded
                                                                        : QueuedChange::Kind::RowRemoved,
                                                          row.id));
                }
                if (!placed->added) {
                    pending_.erase(row.id);
                }
            }
        } else if (std::holds_alternative<Change::ValuesChange>(part)) {
            valuesChanged_ = true;
            nameUndone_ = undone;
        } else if (const auto* cells = std::get_if<Change::CellEdits>(&part)) {
            for (const Change::CellEdit& edit : cells->edits) {
                if (!IsComputedColumn(table_.Key(static_cast<int>(edit.column) + 1))) {
                    Queue(edit.id, edit.position, static_cast<int>(edit.column),
                          cells->After(edit).toString(), undone);
                }
            }
        }
    }
    Keep();
    KeepEventName();
    QueueSend();
}

void StationSync::QueueSend() {
    if ((Unsent() > 0 || valuesChanged_) && !sendQueued_) {
        sendQueued_ = true; // once the command is done: its change is complete, undo has kept it
        QTimer::singleShot(0, &context_, [this] {
            sendQueued_ = false;
            SendChanges();
        });
    }
}

// The revision is the one seen when the cell was typed: what the station hears of it before the
// cell is sent (catching up after the network was gone) must not make it overwrite unasked.
void StationSync::Queue(RowId id, std::size_t position, int column, QString text, bool undone) {
    std::optional<int> seen = competition_.Revision(id, column);
    if (undone) {
        const auto own = ownRevisions_.constFind(CellKey(id, column));
        seen = own == ownRevisions_.constEnd() ? -1 : *own;
    }
    if (queue_.IsKept()) {
        unkept_.push_back(QueuedChange::OfCell(id, position, column, text, seen, undone));
    }
    PendingRow& row = pending_[id];
    row.position = position;
    row.cells.push_back({column, std::move(text), undone, seen});
}

void StationSync::Collect(RowId id, std::size_t position, const RowCells& before, const RowCells& after,
                          bool undone) {
    const int columns = table_.ColumnCount();
    for (int c = 0; c < columns; ++c) {
        const std::size_t column = static_cast<std::size_t>(c);
        if (before.At(column) != after.At(column) && !IsComputedColumn(table_.Key(c + 1))) {
            Queue(id, position, c, after.At(column).toString(), undone);
        }
    }
}

bool StationSync::SendChanges() {
    if (following_) {
        KeepEventName();
    }
    if (!following_ || offline_ || sending_) {
        return Unsent() == 0;
    }
    if (!keepingFailed_.isEmpty()) {
        ui_.MessageBox(std::exchange(keepingFailed_, {}), u"Vastrel"_s, MessageButtons::Ok,
                       MessageIcon::Exclamation);
    }
    const bool waited = Unsent() > 0 || keptName_.has_value();
    const auto sendAll = [this] {
        refusal_.clear();
        sending_ = true; // a question about a conflict runs the event loop: the poll must not send too
        const bool all = SendRows() && SendCells() && SendEventName();
        sending_ = false;
        return all;
    };
    bool sent = sendAll();
    if (!sent) {
        // A connection lost is made again and the send tried once more; refused on a connection
        // that works (no space, no right to write), it is said once and tried at each poll.
        sent = !GoneOffline() && sendAll();
        if (!offline_ && !sent && !refusal_.isEmpty() && refusal_ != toldRefusal_) {
            toldRefusal_ = refusal_;
            ui_.MessageBox(u"Der Server hat die Änderung nicht angenommen:\r\n%1\r\n\r\n"
                           u"Sie bleibt an dieser Station und wird wieder gesendet."_s.arg(refusal_),
                           u"Vastrel"_s, MessageButtons::Ok, MessageIcon::Exclamation);
        }
    }
    if (sent) {
        toldRefusal_.clear();
    }
    if (waited) {
        KeepWhatIsWaiting();
    }
    refusal_.clear();
    Tell();
    if (sent) {
        QueueSend(); // what was typed while a question was open
    }
    return sent && Unsent() == 0 && !valuesChanged_;
}

bool StationSync::SendRows() {
    if (!addedRows_.empty()) {
        std::vector<Row> rows;
        for (RowId id : addedRows_) {
            if (const int row = table_.RowNumberOf(id, table_.RowCount()); row > 0) {
                rows.push_back(table_.Data().rows[static_cast<std::size_t>(row - 1)]);
            }
        }
        if (!competition_.AddRows(rows, &refusal_)) {
            return false;
        }
        addedRows_.clear();
    }
    if (!removedRows_.empty()) {
        if (!competition_.RemoveRows(removedRows_, &refusal_)) {
            return false;
        }
        removedRows_.clear();
    }
    return true;
}

RowEntry StationSync::EntryOf(RowId id, const PendingRow& pending) const {
    RowEntry entry{id, {}, table_.RowNumberOf(id, static_cast<int>(pending.position) + 1)};
    for (const PendingCell& cell : pending.cells) {
        // A cell typed twice before it was sent goes with its last text and the first revision.
        auto same = std::find_if(entry.cells.begin(), entry.cells.end(),
                                 [&](const TypedCell& typed) { return typed.column == cell.column; });
        if (same != entry.cells.end()) {
            same->text = cell.text;
        } else {
            entry.cells.push_back({cell.column, cell.text, cell.seen});
        }
    }
    return entry;
}

// Every row waiting goes in one transaction (a command over all rows is one change); the
// server's scored rows come back as one change. Scoring's messages are not shown again: the
// station's own scoring showed them when the command ran.
bool StationSync::SendCells() {
    if (pending_.empty()) {
        return true;
    }
    std::map<RowId, PendingRow> sending = std::exchange(pending_, {});
    std::vector<RowEntry> entries;
    for (const auto& [id, row] : sending) {
        entries.push_back(EntryOf(id, row));
    }
    const std::vector<EnterResult> results = competition_.EnterRows(entries, false);
    if (results.front().status == EnterResult::Status::Failed) {
        refusal_ = results.front().error;
        KeepForNextTry(std::move(sending));
        return false;
    }
    Change shown;
    std::vector<std::size_t> asked, gone;
    for (std::size_t e = 0; e < entries.size(); ++e) {
        switch (results[e].status) {
        case EnterResult::Status::Entered:
            Own(entries[e], results[e]);
            AddServerRow(shown, entries[e], results[e].cells);
            break;
        case EnterResult::Status::Conflict:
            asked.push_back(e);
            break;
        case EnterResult::Status::NoSuchRow:
        case EnterResult::Status::Failed:
            gone.push_back(e);
            break;
        }
    }
    // Shown before any box: a box runs the event loop, and other stations' rows may come in.
    ApplyRemote(shown);
    for (std::size_t e : gone) {
        ui_.MessageBox(
            u"Die Zeile %1 gibt es auf dem Server nicht mehr; ihre Änderung bleibt nur hier."_s.arg(
                table_.RowNumberOf(entries[e].row, entries[e].shownRow)),
            u"Vastrel"_s, MessageButtons::Ok, MessageIcon::Exclamation);
    }
    for (std::size_t e : asked) {
        if (!Settle(entries[e], results[e])) {
            std::map<RowId, PendingRow> rest;
            for (std::size_t later : asked) {
                if (later >= e) {
                    rest.emplace(entries[later].row, std::move(sending[entries[later].row]));
                }
            }
            KeepForNextTry(std::move(rest));
            return false;
        }
    }
    return true;
}

// A conflict: this station's text goes in only when the user says so; otherwise the server's
// row stays and is shown here too. False when the server could not be reached.
bool StationSync::Settle(RowEntry entry, const EnterResult& conflict) {
    entry.shownRow = table_.RowNumberOf(entry.row, entry.shownRow);
    if (!AskAbout(entry.shownRow, conflict.conflicts)) {
        for (std::size_t c = 0; c < conflict.revisions.size(); ++c) {
            competition_.SetRevision(entry.row, static_cast<int>(c), conflict.revisions[c]);
        }
        ShowServerRow(entry, conflict.cells);
        return true;
    }
    entry.shownRow = table_.RowNumberOf(entry.row, entry.shownRow);
    const EnterResult result = competition_.EnterRows({&entry, 1}, true).front();
    if (result.status == EnterResult::Status::Failed) {
        return false;
    }
    if (result.status == EnterResult::Status::Entered) {
        Own(entry, result);
        ShowServerRow(entry, result.cells);
    }
    return true;
}

void StationSync::Own(const RowEntry& entry, const EnterResult& result) {
    for (const TypedCell& cell : entry.cells) {
        ownRevisions_.insert(CellKey(entry.row, cell.column),
                             result.revisions[static_cast<std::size_t>(cell.column)]);
    }
}

// Cells not sent go back before what was typed since, so that the last text stays the last.
void StationSync::KeepForNextTry(std::map<RowId, PendingRow> rows) {
    for (auto& [id, later] : pending_) {
        PendingRow& row = rows[id];
        row.position = later.position;
        row.cells.insert(row.cells.end(), later.cells.begin(), later.cells.end());
    }
    pending_ = std::move(rows);
}

bool StationSync::AskAbout(int row, const std::vector<CellConflict>& conflicts) {
    QStringList lines;
    for (const CellConflict& conflict : conflicts) {
        lines << u"\"%1\": Station \"%2\" hat \"%3\" eingetragen, hier steht \"%4\"."_s.arg(
            conflict.columnKey, conflict.station, conflict.theirText, conflict.yourText);
    }
    const QString name = table_.CellText(row, u"Name Vorname"_s);
    return ui_.MessageBox(
               u"Zeile %1 (%2) wurde inzwischen an einer anderen Station geändert:\r\n%3\r\n\r\n"
               u"Soll der Text dieser Station gelten? \"Nein\" übernimmt den der anderen Station."_s.arg(
                   QString::number(row), name, lines.join(u"\r\n"_s)),
               u"Konflikt"_s, MessageButtons::YesNo, MessageIcon::Question) == MessageAnswer::Yes;
}

void StationSync::AddServerRow(Change& change, const RowEntry& entry, const RowCells& cells) const {
    const int row = table_.RowNumberOf(entry.row, entry.shownRow);
    if (row == 0 || table_.Cells(row) == cells) {
        return;
    }
    const Row& here = table_.Data().rows[static_cast<std::size_t>(row - 1)];
    change.Add(
        Change::RowEdit{here.id, static_cast<std::uint32_t>(row - 1), here.data, {cells, here.data.flags}});
}

void StationSync::ShowServerRow(const RowEntry& entry, const RowCells& cells) {
    Change change;
    AddServerRow(change, entry, cells);
    ApplyRemote(change);
}

bool StationSync::Waits(RowId id, int column) const {
    if (const auto row = pending_.find(id); row != pending_.end()) {
        return std::any_of(row->second.cells.begin(), row->second.cells.end(),
                           [column](const PendingCell& cell) { return cell.column == column; });
    }
    return std::find(addedRows_.begin(), addedRows_.end(), id) != addedRows_.end();
}

void StationSync::Tell() {
    if (waitingChanged_) {
        waitingChanged_();
    }
    if (!status_) {
        return;
    }
    if (offline_) {
        status_(u"keine Verbindung zum Server – %1 Zeile(n) noch nicht gesendet"_s.arg(Unsent()));
    } else if (Unsent() > 0) {
        status_(u"%1 Zeile(n) noch nicht auf dem Server"_s.arg(Unsent()));
    } else {
        status_(QString());
    }
}

} // namespace vastrel

#include "app/StationSync.h"

#include "app/UndoStack.h"
#include "ports/Ui.h"
#include "server/ServerConnection.h"
#include "table/CompetitionLayout.h"
#include "table/ResultTable.h"

#include <QSqlDriver>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace vastrel {

namespace {

quint64 CellKey(RowId id, int column) {
    return (static_cast<quint64>(id) << 8) | static_cast<quint64>(column);
}

const QString kChannel = u"vastrel_changes"_s;

} // namespace

StationSync::StationSync(ResultTable& table, Ui& ui, ServerConnection& connection,
                         ServerCompetition& competition, UndoStack* undo)
    : table_(table), ui_(ui), connection_(connection), competition_(competition), undo_(undo) {
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

void StationSync::Start() {
    following_ = true;
    offline_ = false;
    pending_.clear();
    addedRows_.clear();
    removedRows_.clear();
    ownRevisions_.clear();
    nextId_ = lastId_ = 0;
    table_.SetRowIdSource([this] { return NewRowId(); });
    stations_ = competition_.Heartbeat(nullptr).value_or(QStringList{connection_.Station()});
    Subscribe();
    poll_.start();
    Tell();
}

void StationSync::Subscribe() {
    QObject::disconnect(&context_, nullptr, nullptr, nullptr);
    if (QSqlDriver* driver = connection_.Database().driver()) {
        QObject::connect(
            driver, &QSqlDriver::notification, &context_,
            [this](const QString& name, QSqlDriver::NotificationSource, const QVariant& payload) {
                if (name == kChannel && payload.toString().section(u' ', 0, 0).toInt() == competition_.Id()) {
                    CatchUp();
                }
            });
        driver->subscribeToNotification(kChannel);
    }
}

void StationSync::Stop() {
    following_ = false;
    poll_.stop();
    pending_.clear();
    addedRows_.clear();
    removedRows_.clear();
    table_.SetRowIdSource({});
    QObject::disconnect(&context_, nullptr, nullptr, nullptr);
    if (QSqlDriver* driver = connection_.Database().driver();
        driver && connection_.IsOpen() && driver->subscribedToNotifications().contains(kChannel)) {
        driver->unsubscribeFromNotification(kChannel);
    }
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
                if (!placed->added) {
                    pending_.erase(row.id);
                }
            }
        } else if (const auto* cells = std::get_if<Change::CellEdits>(&part)) {
            for (const Change::CellEdit& edit : cells->edits) {
                if (!IsComputedColumn(table_.Key(static_cast<int>(edit.column) + 1))) {
                    Pending(edit.id, edit.position)
                        .cells.push_back(
                            {static_cast<int>(edit.column), cells->After(edit).toString(), undone});
                }
            }
        }
    }
    if (Unsent() > 0 && !sendQueued_) {
        sendQueued_ = true; // once the command is done: its change is complete, undo has kept it
        QTimer::singleShot(0, &context_, [this] {
            sendQueued_ = false;
            SendChanges();
        });
    }
}

StationSync::PendingRow& StationSync::Pending(RowId id, std::size_t position) {
    PendingRow& row = pending_[id];
    row.position = position;
    return row;
}

void StationSync::Collect(RowId id, std::size_t position, const RowCells& before, const RowCells& after,
                          bool undone) {
    const int columns = table_.ColumnCount();
    for (int c = 0; c < columns; ++c) {
        const std::size_t column = static_cast<std::size_t>(c);
        if (before.At(column) != after.At(column) && !IsComputedColumn(table_.Key(c + 1))) {
            Pending(id, position).cells.push_back({c, after.At(column).toString(), undone});
        }
    }
}

bool StationSync::SendChanges() {
    if (!following_ || offline_) {
        return Unsent() == 0;
    }
    if (!SendRows()) {
        offline_ = !Reconnect();
        Tell();
        return false;
    }
    while (!pending_.empty()) {
        auto first = pending_.begin();
        const RowId id = first->first;
        PendingRow row = std::move(first->second);
        pending_.erase(first);
        if (!SendRow(id, row)) {
            pending_[id] = std::move(row); // kept for the next try
            break;
        }
    }
    Tell();
    return Unsent() == 0;
}

bool StationSync::SendRows() {
    if (!addedRows_.empty()) {
        std::vector<Row> rows;
        for (RowId id : addedRows_) {
            if (const int row = table_.RowNumberOf(id, table_.RowCount()); row > 0) {
                rows.push_back(table_.Data().rows[static_cast<std::size_t>(row - 1)]);
            }
        }
        if (!competition_.AddRows(rows, nullptr)) {
            return false;
        }
        addedRows_.clear();
    }
    if (!removedRows_.empty()) {
        if (!competition_.RemoveRows(removedRows_, nullptr)) {
            return false;
        }
        removedRows_.clear();
    }
    return true;
}

RowId StationSync::NewRowId() {
    constexpr int kBlock = 100;
    if (nextId_ == 0 || nextId_ > lastId_) {
        nextId_ = competition_.ReserveRowIds(kBlock, nullptr);
        lastId_ = nextId_ + kBlock - 1;
        if (nextId_ == 0) {
            return 0; // the table's own count: without a server there is no other
        }
    }
    return nextId_++;
}

bool StationSync::SendRow(RowId id, const PendingRow& pending) {
    // The row may have moved meanwhile (a sort, another station's rows): its number is looked up
    // again after every box.
    const auto number = [&] {
        return table_.RowNumberOf(id, static_cast<int>(pending.position) + 1);
    };
    // The last text of a cell typed twice before it was sent.
    std::vector<TypedCell> typed;
    for (const PendingCell& cell : pending.cells) {
        std::optional<int> seen = competition_.Revision(id, cell.column);
        if (cell.undone) {
            const auto own = ownRevisions_.constFind(CellKey(id, cell.column));
            seen = own == ownRevisions_.constEnd() ? -1 : *own;
        }
        auto same = std::find_if(typed.begin(), typed.end(),
                                 [&](const TypedCell& t) { return t.column == cell.column; });
        if (same != typed.end()) {
            same->text = cell.text;
        } else {
            typed.push_back({cell.column, cell.text, seen});
        }
    }
    EnterResult result = competition_.Enter(id, typed, false, number());
    if (result.status == EnterResult::Status::Conflict) {
        if (!AskAbout(number(), result.conflicts)) {
            for (std::size_t c = 0; c < result.revisions.size(); ++c) {
                competition_.SetRevision(id, static_cast<int>(c), result.revisions[c]);
            }
            ShowServerRow(number(), result.cells); // theirs stays: shown here as well
            return true;
        }
        result = competition_.Enter(id, typed, true, number());
    }
    switch (result.status) {
    case EnterResult::Status::Entered:
        for (const TypedCell& cell : typed) {
            ownRevisions_.insert(CellKey(id, cell.column),
                                 result.revisions[static_cast<std::size_t>(cell.column)]);
        }
        for (const ScoringMessage& message : result.messages) {
            ui_.MessageBox(message.text, message.title, MessageButtons::Ok, message.icon);
        }
        ShowServerRow(number(), result.cells);
        return true;
    case EnterResult::Status::NoSuchRow:
        ui_.MessageBox(
            u"Die Zeile %1 gibt es auf dem Server nicht mehr; ihre Änderung bleibt nur hier."_s.arg(number()),
            u"Vastrel"_s, MessageButtons::Ok, MessageIcon::Exclamation);
        return true;
    case EnterResult::Status::Conflict:
        return true; // asked again and still refused: theirs stays
    case EnterResult::Status::Failed:
        break;
    }
    offline_ = !connection_.IsOpen() || !Reconnect();
    return false;
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

void StationSync::ShowServerRow(int row, const RowCells& cells) {
    if (row == 0 || table_.Cells(row) == cells) {
        return;
    }
    const Row& here = table_.Data().rows[static_cast<std::size_t>(row - 1)];
    Change change;
    change.Add(
        Change::RowEdit{here.id, static_cast<std::uint32_t>(row - 1), here.data, {cells, here.data.flags}});
    ApplyRemote(change);
}

bool StationSync::Reconnect() {
    QString error;
    if (!connection_.Open(connection_.Address(), connection_.Station(), &error)) {
        Tell();
        return false;
    }
    offline_ = false;
    Subscribe(); // a new connection: the old one's subscription went with it
    CatchUp();
    return true;
}

void StationSync::Tell() {
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

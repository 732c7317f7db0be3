#pragma once

#include "app/StationQueue.h"
#include "server/ServerCompetition.h"
#include "table/ResultTableObserver.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <map>
#include <vector>

namespace vastrel {

class ResultTable;
class ServerConnection;
class Ui;
class UndoStack;
struct MainWindowState;

// Keeps the table and its competition on the server the same, both ways. What the user changes
// goes to the server as the cells typed, once the command is done; the server scores the row and
// its answer is shown. A cell another station changed meanwhile is asked about. The other
// stations' changes come from the change log after the last one seen, on a notification and on a
// poll, and go into the table as one change each time, outside undo. Sort order, the day shown and
// the cursor stay the station's own.
class StationSync : public ResultTableObserver {
public:
    static constexpr int kPollMilliseconds = 3000;
    // The event's name is shared through `state` (none: not shared).
    StationSync(ResultTable& table, Ui& ui, ServerConnection& connection, ServerCompetition& competition,
                UndoStack* undo, MainWindowState* state = nullptr);
    ~StationSync() override;
    StationSync(const StationSync&) = delete;
    StationSync& operator=(const StationSync&) = delete;

    // Starts following the competition the table now holds: notifications, the poll.
    void Start();
    // Starts following a copy kept at this station, the server out of reach: the poll connects,
    // catches up from the copy's last change and sends what waits. New rows take the ids left
    // of the block the copy holds.
    void StartOffline(RowId nextId, RowId lastId);
    void Stop();
    // The table is about to be replaced by the competition read from the server: that change is
    // the start of following, not the end.
    void ExpectOwnReplacement() { ownReplacement_ = true; }
    bool Following() const { return following_; }
    // What is not yet on the server is kept on disk in `folder`, and sent from there after a crash
    // (from the next start on; none: kept in memory alone).
    void KeepQueueIn(QString folder) { queueFolder_ = std::move(folder); }
    const StationQueue& Queue() const { return queue_; }
    const QString& QueueFolder() const { return queueFolder_; }

    // Sends what the user changed; answers whether everything is on the server now.
    bool SendChanges();
    // Applies the changes of the log after the last one seen.
    bool CatchUp();
    // Whether the cell (column from 0) holds a text not yet on the server.
    bool Waits(RowId id, int column) const;
    // Told after each exchange with the server: which cells wait may have changed.
    void OnWaitingChanged(std::function<void()> listener) { waitingChanged_ = std::move(listener); }
    // Rows with changes not yet on the server.
    int Unsent() const { return static_cast<int>(pending_.size() + addedRows_.size() + removedRows_.size()); }
    // The stations heard from lately, this one among them (as of the last poll).
    const QStringList& Stations() const { return stations_; }
    // Told after each exchange with the server: the status panel's text.
    void OnStatus(std::function<void(const QString&)> listener) { status_ = std::move(listener); }
    // Told when another table took the competition's place (undo of its open): following ends.
    void OnLeft(std::function<void()> listener) { left_ = std::move(listener); }

    void ChangeMade(const Change& change) override;

private:
    struct PendingCell {
        int column;
        QString text;
        bool undone; // put back by undo: only where the cell still holds this station's text
        std::optional<int> seen;
    };
    // A row's cells waiting, and where the row stood when they were typed (where it is looked for).
    struct PendingRow {
        std::size_t position = 0;
        std::vector<PendingCell> cells;
    };
    static quint64 CellKey(RowId id, int column) {
        return (static_cast<quint64>(id) << 8) | static_cast<quint64>(column);
    }
    void Queue(RowId id, std::size_t position, int column, QString text, bool undone);
    void Collect(RowId id, std::size_t position, const RowCells& before, const RowCells& after, bool undone);
    void QueueSend();
    void Keep();
    void KeepWhatIsWaiting();
    void KeepingFailed(const QString& error);
    void RestoreQueue();
    void Begin(bool connected, RowId nextId, RowId lastId);
    void ReserveRowIds();
    void WriteCopy();   // the table as it stands, for a start without the server
    bool GoneOffline(); // the connection is lost and cannot be made again
    RowEntry EntryOf(RowId id, const PendingRow& pending) const;
    bool SendCells();
    bool Settle(RowEntry entry, const EnterResult& conflict);
    void Own(const RowEntry& entry, const EnterResult& result);
    void KeepForNextTry(std::map<RowId, PendingRow> rows);
    void AddServerRow(Change& change, const RowEntry& entry, const RowCells& cells) const;
    void ShowServerRow(const RowEntry& entry, const RowCells& cells);
    bool SendEventName();
    QString NameSeen() const; // the name this station's name is given over
    bool NameWaits() const;
    void KeepEventName();
    void ShowEventName(const QString& name); // the server's name
    void ShowName(const QString& name);
    bool AskAbout(int row, const std::vector<CellConflict>& conflicts);
    void ApplyRemote(const Change& change);
    bool Reconnect();
    void Subscribe();
    void Tell();

    ResultTable& table_;
    Ui& ui_;
    ServerConnection& connection_;
    ServerCompetition& competition_;
    UndoStack* undo_;
    MainWindowState* state_;
    bool following_ = false;
    bool applying_ = false; // a change from the server is going into the table
    bool sendQueued_ = false;
    bool catchUpQueued_ = false;
    bool sending_ = false;
    bool valuesChanged_ = false; // the event's name may have changed
    bool nameUndone_ = false;    // by undo: only where the server still holds this station's name
    QString sharedName_;         // the event's name as the server was last seen to hold it
    std::optional<QString> ownName_;
    std::optional<QString> seenName_; // of a name from the queue on disk: what it was given over
    std::optional<QString> keptName_; // the name last put into the queue on disk
    bool ownReplacement_ = false;
    bool offline_ = false;
    RowId NewRowId();
    bool SendRows();

    std::map<RowId, PendingRow> pending_;
    std::vector<RowId> addedRows_, removedRows_; // in the order they were added or removed
    RowId nextId_ = 0, lastId_ = 0;              // the block of ids reserved for new rows
    QHash<quint64, int> ownRevisions_;           // of the cells this station wrote, by row and column
    QString queueFolder_;
    StationQueue queue_;
    std::vector<QueuedChange> unkept_; // of the change being told, for the queue on disk
    QString keepingFailed_;            // the disk's refusal, told before the next send
    QString refusal_, toldRefusal_;    // the server's answer to the last send that failed
    QObject context_;                  // of the timers and the notification's connection
    QTimer poll_;
    std::function<void(const QString&)> status_;
    std::function<void()> left_;
    std::function<void()> waitingChanged_;
    QStringList stations_;
};

} // namespace vastrel

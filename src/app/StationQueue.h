#pragma once

#include "table/Change.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <span>
#include <vector>

namespace vastrel {

// One change a station made that is not yet on the server: a typed cell (with the revision it
// was typed over), a row added with its texts, a row removed, or the event's name (with the name
// it was given over).
struct QueuedChange {
    enum class Kind { Cell, RowAdded, RowRemoved, EventName } kind = Kind::Cell;
    RowId row = 0;
    std::size_t position = 0; // where the row stood
    int column = 0;
    QString text;
    std::optional<int> seen;
    bool undone = false; // put back by undo
    QStringList cells;   // an added row's
    QString seenName;    // the event's name as the server held it when this one was given
    bool operator==(const QueuedChange&) const = default;

    static QueuedChange OfRow(Kind kind, RowId row, std::size_t position = 0, QStringList cells = {}) {
        QueuedChange change;
        change.kind = kind;
        change.row = row;
        change.position = position;
        change.cells = std::move(cells);
        return change;
    }
    static QueuedChange OfEventName(QString name, QString seenName) {
        QueuedChange change;
        change.kind = Kind::EventName;
        change.text = std::move(name);
        change.seenName = std::move(seenName);
        return change;
    }
    static QueuedChange OfCell(RowId row, std::size_t position, int column, QString text,
                               std::optional<int> seen, bool undone) {
        QueuedChange change = OfRow(Kind::Cell, row, position);
        change.column = column;
        change.text = std::move(text);
        change.seen = seen;
        change.undone = undone;
        return change;
    }
};

// The file of `station`'s own on the competition `competitionId` of the server (its address), in
// the folder's "stations" subfolder, ending in `suffix`.
QString StationFilePath(const QString& folder, const QString& server, int competitionId,
                        const QString& station, const QString& suffix);

// What a station has not yet got onto the server, in a file of its own in the user's data
// folder, handed to the disk before the change counts as entered: a crash, a dead battery or a
// network gone for an hour loses none of it, and the next connection to the competition sends
// it. The file names the competition it belongs to; one line a change, in order.
class StationQueue {
public:
    StationQueue() = default;
    // The queue of `station` on the competition `competitionId` of the server (its address).
    StationQueue(const QString& folder, const QString& server, int competitionId, const QString& station);

    bool IsKept() const { return !path_.isEmpty(); }
    const QString& Path() const { return path_; }

    // Adds to the end of the file and hands it to the disk; false (and a German reason) when the
    // disk refused.
    bool Append(std::span<const QueuedChange> changes, QString* error);
    // What is still to send replaces the file; with nothing left the file goes.
    bool Rewrite(std::span<const QueuedChange> changes, QString* error);
    // The changes the file holds, in order; a line a crash cut short is left out.
    std::vector<QueuedChange> Read() const;

private:
    QString Head() const;
    QString path_, server_, station_;
    int competitionId_ = 0;
};

} // namespace vastrel

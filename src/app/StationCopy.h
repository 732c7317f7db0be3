#pragma once

#include "table/Change.h"

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace vastrel {

// The competition as a station last saw it, kept on disk beside its queue: a station started
// while the server cannot be reached opens it from there and works on, what it types waiting in
// the queue. With the last change of the log it includes and each cell's revision, so that
// catching up and the conflict question work as after an open on the server.
struct StationCopy {
    QString server; // the address shown, without password
    QString station;
    QString name; // the competition's
    int competitionId = 0;
    qint64 lastSequence = 0;
    QDateTime saved;
    QStringList keys;
    TableData data; // columns, values, rows with their ids
    QHash<RowId, std::vector<int>> revisions;
    RowId nextId = 0, lastId = 0; // the ids the server reserved for rows this station adds
};

// Replaces the station's copy of the competition at once (a crash leaves the old one).
bool WriteStationCopy(const QString& folder, const StationCopy& copy, QString* error);
// The whole copy; none for a file that is not one, or cut short.
std::optional<StationCopy> ReadStationCopy(const QString& path);

// What the folder keeps for `station` on `server`: each copy's file, competition and time, the
// newest first.
struct StationCopyHead {
    QString path, name;
    QDateTime saved;
};
std::vector<StationCopyHead> StationCopies(const QString& folder, const QString& server,
                                           const QString& station);

} // namespace vastrel

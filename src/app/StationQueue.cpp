#include "app/StationQueue.h"

#include "system/FileErrors.h"
#include "system/FileHelpers.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace Qt::StringLiterals;

namespace vastrel {

namespace {

const QString kFormat = u"vastrel-station-queue"_s;
constexpr int kVersion = 1;

QByteArray Line(const QJsonObject& object) {
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}

QByteArray Lines(std::span<const QueuedChange> changes) {
    QByteArray bytes;
    for (const QueuedChange& change : changes) {
        QJsonObject object{{u"row"_s, static_cast<qint64>(change.row)},
                           {u"position"_s, static_cast<qint64>(change.position)}};
        switch (change.kind) {
        case QueuedChange::Kind::Cell:
            object.insert(u"column"_s, change.column);
            object.insert(u"text"_s, change.text);
            if (change.seen) {
                object.insert(u"seen"_s, *change.seen);
            }
            if (change.undone) {
                object.insert(u"undone"_s, true);
            }
            break;
        case QueuedChange::Kind::RowAdded:
            object.insert(u"added"_s, QJsonArray::fromStringList(change.cells));
            break;
        case QueuedChange::Kind::RowRemoved:
            object.insert(u"removed"_s, true);
            break;
        case QueuedChange::Kind::EventName:
            object.insert(u"eventName"_s, change.text);
            object.insert(u"over"_s, change.seenName);
            break;
        }
        bytes += Line(object);
    }
    return bytes;
}

std::optional<QueuedChange> ChangeOf(const QJsonObject& object) {
    if (!object.contains(u"row"_s)) {
        return std::nullopt;
    }
    QueuedChange change;
    change.row = static_cast<RowId>(object.value(u"row"_s).toInteger());
    change.position = static_cast<std::size_t>(object.value(u"position"_s).toInteger());
    if (object.contains(u"added"_s)) {
        change.kind = QueuedChange::Kind::RowAdded;
        for (const QJsonValue& cell : object.value(u"added"_s).toArray()) {
            change.cells << cell.toString();
        }
    } else if (object.contains(u"removed"_s)) {
        change.kind = QueuedChange::Kind::RowRemoved;
    } else if (object.value(u"eventName"_s).isString()) {
        change.kind = QueuedChange::Kind::EventName;
        change.text = object.value(u"eventName"_s).toString();
        change.seenName = object.value(u"over"_s).toString();
    } else if (object.contains(u"column"_s) && object.value(u"text"_s).isString()) {
        change.column = object.value(u"column"_s).toInt();
        change.text = object.value(u"text"_s).toString();
        if (object.contains(u"seen"_s)) {
            change.seen = object.value(u"seen"_s).toInt();
        }
        change.undone = object.value(u"undone"_s).toBool();
    } else {
        return std::nullopt;
    }
    return change;
}

} // namespace

QString StationFilePath(const QString& folder, const QString& server, int competitionId,
                        const QString& station, const QString& suffix) {
    const QByteArray who = u"%1\n%2\n%3"_s.arg(server).arg(competitionId).arg(station).toUtf8();
    const QString name =
        QString::fromLatin1(QCryptographicHash::hash(who, QCryptographicHash::Sha256).toHex().left(20));
    return folder + u"/stations/"_s + name + suffix;
}

StationQueue::StationQueue(const QString& folder, const QString& server, int competitionId,
                           const QString& station)
    : path_(StationFilePath(folder, server, competitionId, station, u".queue"_s)), server_(server),
      station_(station), competitionId_(competitionId) {}

QString StationQueue::Head() const {
    return QString::fromUtf8(Line(QJsonObject{{u"format"_s, kFormat},
                                              {u"version"_s, kVersion},
                                              {u"server"_s, server_},
                                              {u"competition"_s, competitionId_},
                                              {u"station"_s, station_}}));
}

bool StationQueue::Append(std::span<const QueuedChange> changes, QString* error) {
    if (!IsKept() || changes.empty()) {
        return true;
    }
    QDir().mkpath(QFileInfo(path_).absolutePath());
    QFile file(path_);
    const bool fresh = !file.exists();
    bool ok = file.open(QIODevice::WriteOnly | QIODevice::Append);
    if (ok && fresh) {
        ok = file.write(Head().toUtf8()) >= 0;
    }
    ok = ok && file.write(Lines(changes)) >= 0 && SyncToDisk(file);
    if (ok && fresh) {
        SyncToDisk(QFileInfo(path_).absolutePath()); // the new name, too, survives a power cut
    }
    if (!ok && error) {
        *error = WriteFailureMessage(path_, WriteFailureReason(file));
    }
    return ok;
}

bool StationQueue::Rewrite(std::span<const QueuedChange> changes, QString* error) {
    if (!IsKept()) {
        return true;
    }
    if (changes.empty()) {
        return !QFile::exists(path_) || QFile::remove(path_);
    }
    QDir().mkpath(QFileInfo(path_).absolutePath());
    return WriteFileAtomically(path_, Head().toUtf8() + Lines(changes), error);
}

std::vector<QueuedChange> StationQueue::Read() const {
    std::vector<QueuedChange> changes;
    QFile file(path_);
    if (!IsKept() || !file.open(QIODevice::ReadOnly)) {
        return changes;
    }
    const QJsonObject head = QJsonDocument::fromJson(file.readLine()).object();
    if (head.value(u"format"_s).toString() != kFormat || head.value(u"version"_s).toInt() != kVersion) {
        return changes;
    }
    while (!file.atEnd()) {
        const QByteArray line = file.readLine();
        if (!line.endsWith('\n')) {
            break; // cut short by a crash: it never counted as entered
        }
        if (const auto change = ChangeOf(QJsonDocument::fromJson(line).object())) {
            changes.push_back(*change);
        }
    }
    return changes;
}

} // namespace vastrel

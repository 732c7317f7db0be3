#include "app/StationCopy.h"

#include "app/StationQueue.h"
#include "server/CompetitionJson.h"
#include "system/FileHelpers.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace vastrel {

namespace {

// A head line naming what the file is, then one line a row, then one counting them: a file cut
// short lacks the count.
const QString kFormat = u"vastrel-station-copy"_s;
constexpr int kVersion = 1;

QByteArray Line(const QJsonObject& object) {
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}

std::optional<QJsonObject> Head(QFile& file) {
    const QJsonObject head = QJsonDocument::fromJson(file.readLine()).object();
    if (head.value(u"format"_s).toString() != kFormat || head.value(u"version"_s).toInt() != kVersion) {
        return std::nullopt;
    }
    return head;
}

} // namespace

bool WriteStationCopy(const QString& folder, const StationCopy& copy, QString* error) {
    const QString path = StationFilePath(folder, copy.server, copy.competitionId, copy.station, u".copy"_s);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QByteArray bytes = Line(QJsonObject{{u"format"_s, kFormat},
                                        {u"version"_s, kVersion},
                                        {u"server"_s, copy.server},
                                        {u"station"_s, copy.station},
                                        {u"competition"_s, copy.name},
                                        {u"id"_s, copy.competitionId},
                                        {u"lastSequence"_s, copy.lastSequence},
                                        {u"nextId"_s, static_cast<qint64>(copy.nextId)},
                                        {u"lastId"_s, static_cast<qint64>(copy.lastId)},
                                        {u"saved"_s, copy.saved.toString(Qt::ISODateWithMs)},
                                        {u"keys"_s, QJsonArray::fromStringList(copy.keys)},
                                        {u"columns"_s, ColumnsAsJson(copy.data.columns)},
                                        {u"values"_s, ValuesAsJson(copy.data.values)}});
    for (const Row& row : copy.data.rows) {
        QJsonArray cells, revisions;
        for (std::size_t c = 0; c < row.data.cells.Count(); ++c) {
            cells.append(row.data.cells.At(c).toString());
        }
        for (int revision : copy.revisions.value(row.id)) {
            revisions.append(revision);
        }
        bytes += Line(QJsonObject{{u"id"_s, static_cast<qint64>(row.id)},
                                  {u"flags"_s, static_cast<qint64>(row.data.flags)},
                                  {u"cells"_s, cells},
                                  {u"revisions"_s, revisions}});
    }
    bytes += Line(QJsonObject{{u"rows"_s, static_cast<qint64>(copy.data.rows.size())}});
    return WriteFileAtomically(path, bytes, error);
}

std::optional<StationCopy> ReadStationCopy(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    const auto head = Head(file);
    const auto columns = head ? ColumnsFromJson(head->value(u"columns"_s).toString()) : std::nullopt;
    if (!columns) {
        return std::nullopt;
    }
    StationCopy copy;
    copy.server = head->value(u"server"_s).toString();
    copy.station = head->value(u"station"_s).toString();
    copy.name = head->value(u"competition"_s).toString();
    copy.competitionId = head->value(u"id"_s).toInt();
    copy.lastSequence = head->value(u"lastSequence"_s).toInteger();
    copy.nextId = static_cast<RowId>(head->value(u"nextId"_s).toInteger());
    copy.lastId = static_cast<RowId>(head->value(u"lastId"_s).toInteger());
    copy.saved = QDateTime::fromString(head->value(u"saved"_s).toString(), Qt::ISODateWithMs);
    for (const QJsonValue& key : head->value(u"keys"_s).toArray()) {
        copy.keys << key.toString();
    }
    copy.data.columns = *columns;
    copy.data.values = ValuesFromJson(head->value(u"values"_s).toString());
    while (!file.atEnd()) {
        const QJsonObject line = QJsonDocument::fromJson(file.readLine()).object();
        if (line.contains(u"rows"_s)) {
            return line.value(u"rows"_s).toInteger() == static_cast<qint64>(copy.data.rows.size())
                       ? std::optional(std::move(copy))
                       : std::nullopt;
        }
        const RowId id = static_cast<RowId>(line.value(u"id"_s).toInteger());
        QStringList texts;
        for (const QJsonValue& cell : line.value(u"cells"_s).toArray()) {
            texts << cell.toString();
        }
        std::vector<int> revisions;
        for (const QJsonValue& revision : line.value(u"revisions"_s).toArray()) {
            revisions.push_back(revision.toInt());
        }
        const std::vector<QStringView> views(texts.begin(), texts.end());
        copy.data.rows.push_back(
            Row{id, {RowCells(views), static_cast<std::uint64_t>(line.value(u"flags"_s).toInteger())}});
        copy.revisions.insert(id, std::move(revisions));
    }
    return std::nullopt; // no count: cut short
}

std::vector<StationCopyHead> StationCopies(const QString& folder, const QString& server,
                                           const QString& station) {
    std::vector<StationCopyHead> heads;
    const QDir dir(folder + u"/stations"_s);
    for (const QString& name : dir.entryList({u"*.copy"_s}, QDir::Files)) {
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::ReadOnly)) {
            continue;
        }
        if (const auto head = Head(file); head && head->value(u"server"_s).toString() == server &&
                                          head->value(u"station"_s).toString() == station) {
            heads.push_back({file.fileName(), head->value(u"competition"_s).toString(),
                             QDateTime::fromString(head->value(u"saved"_s).toString(), Qt::ISODateWithMs)});
        }
    }
    std::sort(heads.begin(), heads.end(), [](const auto& a, const auto& b) { return a.saved > b.saved; });
    return heads;
}

} // namespace vastrel

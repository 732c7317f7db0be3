#include "formats/FilFormat.h"

#include "formats/CellsJson.h"
#include "system/FileErrors.h"
#include "system/FileHelpers.h"
#include "table/ColumnModel.h"
#include "table/ResultTable.h"

#include <QAtomicInt>
#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryFile>
#include <QUrl>
#include <QVariant>

#include <filesystem>
#include <vector>

using namespace Qt::StringLiterals;

namespace vastrel {

namespace {

// A database connection of its own for one save or load, removed again afterwards.
class Connection {
public:
    Connection(const QString& path, bool readOnly)
        : name_(u"vastrel-fil-%1"_s.arg(next_.fetchAndAddRelaxed(1))) {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, name_);
        db.setDatabaseName(path);
        if (readOnly) {
            db.setConnectOptions(u"QSQLITE_OPEN_READONLY"_s);
        }
        // A file with no journal of an unfinished write beside it is read as it stands: in WAL mode
        // (an outside tool's) SQLite would otherwise make files beside it, or fail where it cannot.
        if (readOnly && !QFileInfo::exists(path + u"-wal"_s) && !QFileInfo::exists(path + u"-journal"_s)) {
            db.setDatabaseName(
                QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString(QUrl::FullyEncoded) +
                u"?immutable=1"_s);
            db.setConnectOptions(u"QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI"_s);
        }
        open_ = db.open();
    }
    ~Connection() {
        {
            QSqlDatabase db = QSqlDatabase::database(name_, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(name_);
    }
    bool IsOpen() const { return open_; }
    QSqlDatabase Database() const { return QSqlDatabase::database(name_, false); }

private:
    static QAtomicInt next_;
    QString name_;
    bool open_ = false;
};

QAtomicInt Connection::next_;

bool Exec(QSqlQuery& query, const QString& statement) {
    return query.exec(statement);
}

QString FlaggedColumns(const ResultTable& table, int row) {
    QStringList flagged;
    for (int c = 1; c <= table.ColumnCount(); ++c) {
        if (table.CellFlag(row, c)) {
            flagged << QString::number(c);
        }
    }
    return flagged.join(u',');
}

// The tables, their columns in order, and the settings kept in the first one in the order
// they enter the checksum.
const QStringList kMetaColumns = {u"key"_s, u"value"_s};
const QStringList kColumnColumns = {
    u"number"_s,     u"key"_s,        u"caption"_s,        u"reserved_a"_s,     u"header_alignment"_s,
    u"editable"_s,   u"reserved_b"_s, u"cell_alignment"_s, u"reserved_c"_s,     u"kind"_s,
    u"visible"_s,    u"width"_s,      u"fixed_width"_s,    u"sort_direction"_s, u"sum_flag"_s,
    u"points_flag"_s};
const QStringList kRowColumns = {u"number"_s, u"flagged"_s, u"cells"_s};
const QStringList kMetaKeys = {u"format"_s,     u"version"_s,      u"caption"_s,   u"search_caption"_s,
                               u"table_mode"_s, u"layout_value"_s, u"sort_order"_s};

// The table's values as "vastrel_meta" keeps them, in the order of kMetaKeys.
QStringList MetaValues(const TableValues& values) {
    return {u"Vastrel"_s,         QString::number(kFilFormatVersion), values.caption,
            values.searchCaption, QString::number(values.tableMode),  QString::number(values.layoutValue),
            values.sortOrder};
}

TableValues ValuesOfMeta(const QHash<QString, QString>& meta) {
    return {meta.value(u"caption"_s), meta.value(u"search_caption"_s), meta.value(u"table_mode"_s).toInt(),
            meta.value(u"layout_value"_s).toInt(), meta.value(u"sort_order"_s)};
}

// A checksum over everything stored, fed the texts of the database in the order they are written,
// so that a file changed on the way is never taken for the table.
class ContentHash {
public:
    void Add(const QString& text) {
        const QByteArray bytes = text.toUtf8();
        const qint64 size = bytes.size();
        hash_.addData(QByteArrayView(reinterpret_cast<const char*>(&size), sizeof size));
        hash_.addData(bytes);
    }
    QString Hex() const { return QString::fromLatin1(hash_.result().toHex()); }

private:
    QCryptographicHash hash_{QCryptographicHash::Sha256};
};

QList<QVariant> ColumnValues(int number, const Column& col, SortDirection direction) {
    return {QVariant(number),
            QVariant(col.key),
            QVariant(col.headerText),
            QVariant(col.layout.reservedA),
            QVariant(col.layout.headerAlignment),
            QVariant(col.layout.editable ? 1 : 0),
            QVariant(col.layout.reservedB),
            QVariant(col.layout.cellAlignment),
            QVariant(col.layout.reservedC),
            QVariant(col.layout.kind),
            QVariant(col.visible ? 1 : 0),
            QVariant(col.width),
            QVariant(col.fixedWidth),
            QVariant(static_cast<int>(direction)), // read back from the sort order
            QVariant(col.sumColumnFlag ? 1 : 0),
            QVariant(col.pointsColumnFlag ? 1 : 0)};
}

bool WriteDatabase(const ResultTable& table, QSqlDatabase db) {
    QSqlQuery q(db);
    // A fresh temporary file that is synced and renamed only when complete needs no journal.
    if (!Exec(q, u"PRAGMA journal_mode = OFF"_s) || !Exec(q, u"PRAGMA synchronous = OFF"_s) ||
        !Exec(q, u"CREATE TABLE vastrel_meta (key TEXT PRIMARY KEY, value TEXT)"_s) ||
        !Exec(q, u"CREATE TABLE vastrel_columns (number INTEGER PRIMARY KEY, key TEXT, caption TEXT,"
                 u" reserved_a INTEGER, header_alignment INTEGER, editable INTEGER, reserved_b INTEGER,"
                 u" cell_alignment INTEGER, reserved_c INTEGER, kind INTEGER, visible INTEGER, width INTEGER,"
                 u" fixed_width INTEGER, sort_direction INTEGER, sum_flag INTEGER, points_flag INTEGER)"_s)) {
        return false;
    }
    if (!Exec(q, u"CREATE TABLE vastrel_rows (number INTEGER PRIMARY KEY, flagged TEXT, cells TEXT)"_s)) {
        return false;
    }
    if (!db.transaction()) {
        return false;
    }
    ContentHash hash;
    const QStringList metaValues = MetaValues(table.Data().values);
    QSqlQuery insertMeta(db);
    insertMeta.prepare(u"INSERT INTO vastrel_meta (key, value) VALUES (?, ?)"_s);
    for (qsizetype i = 0; i < kMetaKeys.size(); ++i) {
        hash.Add(metaValues.at(i));
        insertMeta.addBindValue(kMetaKeys.at(i));
        insertMeta.addBindValue(metaValues.at(i));
        if (!insertMeta.exec()) {
            return false;
        }
    }
    QSqlQuery insertColumn(db);
    insertColumn.prepare(
        u"INSERT INTO vastrel_columns VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"_s);
    for (int c = 1; c <= table.ColumnCount(); ++c) {
        for (const QVariant& v : ColumnValues(c, table.ColumnAt(c), table.SortDirection(c))) {
            hash.Add(v.toString());
            insertColumn.addBindValue(v);
        }
        if (!insertColumn.exec()) {
            return false;
        }
    }
    QSqlQuery insertRow(db);
    insertRow.prepare(u"INSERT INTO vastrel_rows VALUES (?, ?, ?)"_s);
    for (int r = 1; r <= table.RowCount(); ++r) {
        const QString flagged = FlaggedColumns(table, r);
        const QString cells = CellsAsJson(table, r);
        hash.Add(QString::number(r));
        hash.Add(flagged);
        hash.Add(cells);
        insertRow.bindValue(0, r);
        insertRow.bindValue(1, flagged);
        insertRow.bindValue(2, cells);
        if (!insertRow.exec()) {
            return false;
        }
    }
    insertMeta.addBindValue(u"checksum"_s);
    insertMeta.addBindValue(hash.Hex());
    return insertMeta.exec() && db.commit();
}

struct LoadedTable {
    TableData data;
    std::vector<QString> flagged; // of each row, the flagged columns
};

// The three tables are real tables with the columns this program writes, and SQLite finds the
// file whole; a view or a trigger in their place is refused before anything is read from it.
bool HasVastrelStructure(QSqlDatabase db) {
    QSqlQuery q(db);
    const QList<std::pair<QString, QStringList>> tables = {{u"vastrel_meta"_s, kMetaColumns},
                                                           {u"vastrel_columns"_s, kColumnColumns},
                                                           {u"vastrel_rows"_s, kRowColumns}};
    for (const auto& [name, columns] : tables) {
        q.prepare(u"SELECT type FROM sqlite_master WHERE name = ?"_s);
        q.addBindValue(name);
        if (!q.exec() || !q.next() || q.value(0).toString() != u"table" || q.next()) {
            return false;
        }
        QStringList found;
        if (!q.exec(u"PRAGMA table_info(%1)"_s.arg(name))) {
            return false;
        }
        while (q.next()) {
            found << q.value(1).toString();
        }
        if (found != columns) {
            return false;
        }
    }
    return q.exec(u"PRAGMA quick_check"_s) && q.next() && q.value(0).toString() == u"ok";
}

bool ReadDatabase(QSqlDatabase db, LoadedTable& loaded) {
    if (!HasVastrelStructure(db)) {
        return false;
    }
    QSqlQuery q(db);
    if (!q.exec(u"SELECT key, value FROM vastrel_meta"_s)) {
        return false;
    }
    QHash<QString, QString> meta;
    while (q.next()) {
        meta.insert(q.value(0).toString(), q.value(1).toString());
    }
    const int version = meta.value(u"version"_s).toInt();
    if (meta.value(u"format"_s) != u"Vastrel" || version < 1 || version > kFilFormatVersion) {
        return false;
    }
    ContentHash hash;
    for (const QString& key : kMetaKeys) {
        hash.Add(meta.value(key));
    }
    loaded.data.values = ValuesOfMeta(meta);
    if (!q.exec(u"SELECT * FROM vastrel_columns ORDER BY number"_s)) {
        return false;
    }
    while (q.next()) {
        for (int i = 0; i < kColumnColumns.size(); ++i) {
            hash.Add(q.value(i).toString());
        }
        Column c;
        c.key = q.value(1).toString();
        c.headerText = q.value(2).toString();
        c.layout = {q.value(3).toInt(), q.value(4).toInt(), q.value(5).toInt() != 0, q.value(6).toInt(),
                    q.value(7).toInt(), q.value(8).toInt(), q.value(9).toInt()};
        c.visible = q.value(10).toInt() != 0;
        c.width = q.value(11).toInt();
        c.fixedWidth = q.value(12).toInt(); // 13, the sort direction, follows from the sort order
        c.sumColumnFlag = q.value(14).toInt() != 0;
        c.pointsColumnFlag = q.value(15).toInt() != 0;
        loaded.data.columns.push_back(c);
    }
    // The results table and no other: its 33 columns under their keys, in their order.
    if (loaded.data.columns.size() != ResultColumns().size()) {
        return false;
    }
    for (std::size_t i = 0; i < loaded.data.columns.size(); ++i) {
        if (loaded.data.columns[i].key != QStringView(ResultColumns()[i].key)) {
            return false;
        }
    }
    q.setForwardOnly(true);
    if (!q.exec(u"SELECT * FROM vastrel_rows ORDER BY number"_s)) {
        return false;
    }
    const int columns = static_cast<int>(loaded.data.columns.size());
    QString texts;
    std::vector<QStringView> fields;
    while (q.next()) {
        const QString flagged = q.value(1).toString();
        const QString json = q.value(2).toString();
        hash.Add(q.value(0).toString());
        hash.Add(flagged);
        hash.Add(json);
        if (!CellsFromJson(json, columns, texts, fields)) {
            return false;
        }
        Row row;
        row.data.cells = RowCells(fields);
        for (QStringView c : QStringView(flagged).tokenize(u',', Qt::SkipEmptyParts)) {
            const int column = c.toInt();
            row.data.flags |= column >= 1 && column <= columns ? std::uint64_t{1} << (column - 1) : 0;
        }
        loaded.data.rows.push_back(std::move(row));
    }
    if (q.lastError().isValid()) {
        return false;
    }
    // Files of the first version carry no checksum; every later one must match its own.
    return version < 2 || meta.value(u"checksum"_s) == hash.Hex();
}

} // namespace

bool SaveFil(const ResultTable& table, const QString& path, QString* errorMessage) {
    const auto fail = [&](const QString& reason) {
        if (errorMessage) {
            *errorMessage = WriteFailureMessage(path, reason);
        }
        return false;
    };
    const QFileInfo target(path);
    // A folder in the way, or a write-protected file, is not replaced.
    if (target.isDir() || IsWriteProtected(path)) {
        return fail(WriteFailureReason(path));
    }
    const QString folder = target.absolutePath();
    RemoveStaleTemporaries(folder, u"fil"_s);
    QTemporaryFile temporary(TemporaryBeside(folder, u"fil"_s));
    if (!temporary.open()) {
        return fail(WriteFailureReason(path));
    }
    temporary.close();
    bool written;
    {
        Connection connection(temporary.fileName(), false);
        written = connection.IsOpen() && WriteDatabase(table, connection.Database());
    }
    // On the disk before it takes the name, with the permissions of the file it replaces.
    if (!written || !SyncToDisk(temporary.fileName()) ||
        !QFile::setPermissions(temporary.fileName(),
                               target.exists() ? QFile::permissions(path) : NewFilePermissions())) {
        return fail(WriteFailureReason(path));
    }
    std::error_code error;
    std::filesystem::rename(std::filesystem::path(temporary.fileName().toStdU16String()),
                            std::filesystem::path(path.toStdU16String()), error);
    if (error) {
        return fail(WriteFailureReason(path));
    }
    temporary.setAutoRemove(false); // it is the target now
    SyncToDisk(folder);
    return true;
}

bool LoadFil(ResultTable& table, const QString& path, QString* errorMessage) {
    const auto fail = [&](const QString& reason) {
        if (errorMessage) {
            *errorMessage = ReadFailureMessage(path, reason);
        }
        return false;
    };
    if (!QFileInfo(path).isFile()) {
        return fail(ReadFailureReason(QFile(path)));
    }
    LoadedTable loaded;
    {
        Connection connection(path, true);
        if (!connection.IsOpen() || !ReadDatabase(connection.Database(), loaded)) {
            return fail(u"Das ist keine Vastrel-Datei oder sie ist beschädigt."_s);
        }
    }
    table.LockUpdate(true);
    table.Replace(std::move(loaded.data));
    table.LockUpdate(false);
    return true;
}

} // namespace vastrel

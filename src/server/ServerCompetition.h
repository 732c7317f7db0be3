#pragma once

#include "scoring/RowScoring.h"
#include "table/Change.h"

#include <QDateTime>
#include <QHash>
#include <QSqlQuery>
#include <QString>
#include <QStringList>

#include <optional>
#include <span>
#include <vector>

namespace vastrel {

class ServerConnection;

// One entry of a competition's change log: a cell (column key, old and new text), or a row added
// or removed (no column; its cells in text[] form as the new or the old text).
struct LoggedChange {
    qint64 sequence = 0;
    RowId row = 0;
    QString columnKey; // empty for a row added or removed
    QString oldText, newText;
    int revision = 0; // the cell's after the change
    bool rowAdded = false, rowRemoved = false;
    bool eventName = false; // no row: the event's name (column key "Veranstaltung")
    QString station;
    QDateTime serverTime;
};

// A text typed into one cell of a row, with the revision of the cell the station saw. Without a
// revision the text goes only into a cell that is empty or holds it already (a tool has seen
// nothing), unless overwriting is asked for.
struct TypedCell {
    int column = 0; // from 0
    QString text;
    std::optional<int> seenRevision;
};

// Applies the log's changes, in order, to the values in `data`, rows from none: rows added, cells
// changed by their column's key, rows removed, the event's name.
void ReplayLog(const std::vector<LoggedChange>& log, const QStringList& keys, TableData& data);

// What became of a new event name: set, or refused since another station named the event
// meanwhile (its name and station given).
struct EventNameResult {
    enum class Status { Set, Conflict, Failed } status = Status::Failed;
    QString theirs, station, error;
};

// A station's typed cells of one row; `shownRow` is the row's number in its table, for scoring's
// messages.
struct RowEntry {
    RowId row = 0;
    std::vector<TypedCell> cells;
    int shownRow = 0;
};

// A cell another station changed since this one saw it: the texts of both.
struct CellConflict {
    int column = 0;
    QString columnKey;
    QString theirText;
    QString yourText;
    QString station; // who wrote their text
};

struct EnterResult {
    enum class Status { Entered, Conflict, NoSuchRow, Failed } status = Status::Failed;
    std::vector<CellConflict> conflicts;
    std::vector<ScoringMessage> messages; // what scoring the row found
    RowCells cells;                       // the row as the server now holds it
    std::vector<int> revisions;
    QString error;
};

// A competition on the server as one station works on it: it is created from a table or read
// into one, and a station's typed cells are entered into it row by row; the change log tells
// what the other stations did. Revisions are kept per row id and cell.
class ServerCompetition {
public:
    explicit ServerCompetition(ServerConnection& connection);

    // The names of the server's competitions, in order.
    static std::optional<QStringList> List(ServerConnection& connection, QString* error);

    // The table becomes the competition `name`, with the table's row ids. An existing one is
    // replaced only when asked to (false and `exists` otherwise).
    bool Create(const QString& name, const TableData& data, bool replace, bool* exists, QString* error);
    // The competition as it stands, with the last change it holds.
    bool Load(const QString& name, TableData& data, QString* error);
    // The competition as it stood after a change of its log, or at a time, rebuilt from the log
    // alone (its columns and other values as they are now).
    struct AsOf {
        std::optional<qint64> sequence;
        QDateTime time;
    };
    bool LoadAsOf(const QString& name, const AsOf& asOf, TableData& data, QString* error);
    // Its columns and values alone, for entering into it without its rows.
    bool Open(const QString& name, TableData& data, QString* error);

    // Enters the cells into their rows (one entry a row), in one transaction: with the rows
    // locked, the texts are checked against the revisions seen, stored, and each row scored from
    // what the server holds. A row with a conflict stays as it was while the others are entered.
    // One result an entry, in order; every one Failed when the transaction failed.
    std::vector<EnterResult> EnterRows(std::span<const RowEntry> entries, bool overwrite);
    EnterResult Enter(RowId row, std::span<const TypedCell> cells, bool overwrite, int shownRow = 0);
    // Names the event, where the server still holds the name `seen` (or holds `name` already),
    // unless overwriting is asked for.
    EventNameResult SetEventName(const QString& name, const QString& seen, bool overwrite);

    // The row whose cell `key` holds `text` (and `second` holds `secondText`, when given); 0 for
    // none, -1 for more than one.
    qint64 FindRow(const QString& key, const QString& text, const QString& second, const QString& secondText,
                   QString* error);

    // Ids for `count` new rows, the first of them; 0 when the server could not be asked.
    RowId ReserveRowIds(int count, QString* error);
    // Rows added at the end (a row the server holds already stays as it is), rows removed.
    bool AddRows(const std::vector<Row>& rows, QString* error);
    bool RemoveRows(const std::vector<RowId>& ids, QString* error);

    // Says this station is there, and answers the stations heard from in the last 15 seconds.
    std::optional<QStringList> Heartbeat(QString* error);

    // The changes after `sequence`, in order.
    std::optional<std::vector<LoggedChange>> ChangesSince(qint64 sequence, QString* error) const;
    // The changes up to `last`; those up to a time of the server's clock.
    std::optional<std::vector<LoggedChange>> ChangesUpTo(qint64 last, QString* error) const;
    std::optional<std::vector<LoggedChange>> ChangesUntil(const QDateTime& time, QString* error) const;
    // Every change of one row, the newest transaction first, each in the order it was logged.
    std::optional<std::vector<LoggedChange>> HistoryOf(RowId row, QString* error) const;

    // Works on the competition as a copy kept at the station says it stood, without the server
    // (a station started while it cannot be reached): the next catching up goes on from there.
    void Resume(const QString& name, int id, qint64 lastSequence, const QStringList& keys,
                const std::vector<Column>& columns, QHash<RowId, std::vector<int>> revisions) {
        Take(name, id, lastSequence, keys, columns);
        revisions_ = std::move(revisions);
    }
    const QHash<RowId, std::vector<int>>& Revisions() const { return revisions_; }

    const QString& Name() const { return name_; }
    int Id() const { return id_; }
    qint64 LastSequence() const { return lastSequence_; }
    void SetLastSequence(qint64 sequence) { lastSequence_ = sequence; }
    // The revision the station last saw of a cell; 0 for one it does not know.
    int Revision(RowId row, int column) const;
    void SetRevision(RowId row, int column, int revision);
    const QStringList& Keys() const { return keys_; }

private:
    bool ReadHead(QSqlQuery& query, const QString& name, TableData& data, QString* error);
    void Take(const QString& name, int id, qint64 lastSequence, const QStringList& keys,
              const std::vector<Column>& columns);

    ServerConnection& connection_;
    QString name_;
    int id_ = 0;
    qint64 lastSequence_ = 0;
    QStringList keys_;
    ScoringColumns scoringColumns_;
    PointsCoefficients coefficients_;
    QHash<RowId, std::vector<int>> revisions_;
};

} // namespace vastrel

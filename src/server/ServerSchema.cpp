#include "server/ServerSchema.h"

#include <QSqlError>
#include <QSqlQuery>

using namespace Qt::StringLiterals;

namespace vastrel {

namespace {

// Rows keep their cells as text[] with one revision per cell, counted by the server. Every change
// of a row is written to the change log by the server in the same statement, and the log's
// sequence notified: the writers of a competition take turns on its row (locked before a sequence
// is drawn, held to the commit), so a competition's sequence numbers become visible in order and
// a station that caught up to a number has everything before it.
const QString kCreateSchema = uR"sql(
CREATE TABLE vastrel_schema (version integer NOT NULL);

CREATE TABLE vastrel_competitions (
    id serial PRIMARY KEY,
    name text NOT NULL UNIQUE,
    keys text[] NOT NULL,
    columns jsonb NOT NULL,
    table_values jsonb NOT NULL,
    next_row integer NOT NULL,
    created timestamptz NOT NULL DEFAULT now()
);

CREATE TABLE vastrel_rows (
    competition integer NOT NULL REFERENCES vastrel_competitions ON DELETE CASCADE,
    row_id integer NOT NULL,
    position bigint NOT NULL,
    flags bigint NOT NULL DEFAULT 0,
    cells text[] NOT NULL,
    revisions integer[] NOT NULL,
    PRIMARY KEY (competition, row_id)
);

CREATE TABLE vastrel_changes (
    seq bigserial PRIMARY KEY,
    competition integer NOT NULL REFERENCES vastrel_competitions ON DELETE CASCADE,
    row_id integer,
    column_key text,
    old_text text,
    new_text text,
    revision integer,
    station text NOT NULL,
    server_time timestamptz NOT NULL DEFAULT now()
);
CREATE INDEX vastrel_changes_by_competition ON vastrel_changes (competition, seq);

CREATE TABLE vastrel_stations (
    competition integer NOT NULL REFERENCES vastrel_competitions ON DELETE CASCADE,
    station text NOT NULL,
    heartbeat timestamptz NOT NULL DEFAULT now(),
    PRIMARY KEY (competition, station)
);

CREATE FUNCTION vastrel_station() RETURNS text LANGUAGE sql STABLE AS
$$ SELECT coalesce(nullif(current_setting('vastrel.station', true), ''), session_user::text) $$;

CREATE FUNCTION vastrel_count_revisions() RETURNS trigger LANGUAGE plpgsql AS $$
BEGIN
    FOR i IN 1..greatest(cardinality(NEW.cells), cardinality(OLD.cells)) LOOP
        IF NEW.cells[i] IS DISTINCT FROM OLD.cells[i] THEN
            NEW.revisions[i] := coalesce(OLD.revisions[i], 0) + 1;
        END IF;
    END LOOP;
    RETURN NEW;
END $$;
CREATE TRIGGER vastrel_rows_revisions BEFORE UPDATE ON vastrel_rows
    FOR EACH ROW EXECUTE FUNCTION vastrel_count_revisions();

CREATE FUNCTION vastrel_log_update() RETURNS trigger LANGUAGE plpgsql AS $$
BEGIN
    PERFORM 1 FROM vastrel_competitions WHERE id IN (SELECT competition FROM new_rows) ORDER BY id FOR UPDATE;
    INSERT INTO vastrel_changes (competition, row_id, column_key, old_text, new_text, revision, station)
    SELECT n.competition, n.row_id, c.keys[i], o.cells[i], n.cells[i], n.revisions[i], vastrel_station()
    FROM new_rows n
    JOIN old_rows o ON o.competition = n.competition AND o.row_id = n.row_id
    JOIN vastrel_competitions c ON c.id = n.competition
    CROSS JOIN LATERAL generate_series(1, greatest(cardinality(n.cells), cardinality(o.cells))) AS i
    WHERE n.cells[i] IS DISTINCT FROM o.cells[i]
    ORDER BY n.competition, n.row_id, i;
    RETURN NULL;
END $$;
CREATE TRIGGER vastrel_rows_logged_update AFTER UPDATE ON vastrel_rows
    REFERENCING OLD TABLE AS old_rows NEW TABLE AS new_rows
    FOR EACH STATEMENT EXECUTE FUNCTION vastrel_log_update();

-- A row added or removed is one entry without a column: its cells in text[] form.
CREATE FUNCTION vastrel_log_insert() RETURNS trigger LANGUAGE plpgsql AS $$
BEGIN
    PERFORM 1 FROM vastrel_competitions WHERE id IN (SELECT competition FROM new_rows) ORDER BY id FOR UPDATE;
    INSERT INTO vastrel_changes (competition, row_id, old_text, new_text, station)
    SELECT competition, row_id, NULL, cells::text, vastrel_station() FROM new_rows ORDER BY competition, position;
    RETURN NULL;
END $$;
CREATE TRIGGER vastrel_rows_logged_insert AFTER INSERT ON vastrel_rows
    REFERENCING NEW TABLE AS new_rows
    FOR EACH STATEMENT EXECUTE FUNCTION vastrel_log_insert();

CREATE FUNCTION vastrel_log_delete() RETURNS trigger LANGUAGE plpgsql AS $$
BEGIN
    PERFORM 1 FROM vastrel_competitions WHERE id IN (SELECT competition FROM old_rows) ORDER BY id FOR UPDATE;
    INSERT INTO vastrel_changes (competition, row_id, old_text, new_text, station)
    SELECT o.competition, o.row_id, o.cells::text, NULL, vastrel_station() FROM old_rows o
    WHERE EXISTS (SELECT 1 FROM vastrel_competitions c WHERE c.id = o.competition)
    ORDER BY o.competition, o.position;
    RETURN NULL;
END $$;
CREATE TRIGGER vastrel_rows_logged_delete AFTER DELETE ON vastrel_rows
    REFERENCING OLD TABLE AS old_rows
    FOR EACH STATEMENT EXECUTE FUNCTION vastrel_log_delete();

-- The event's name, the one table value all stations share: one entry without a row.
CREATE FUNCTION vastrel_log_event_name() RETURNS trigger LANGUAGE plpgsql AS $$
BEGIN
    INSERT INTO vastrel_changes (competition, column_key, old_text, new_text, station)
    VALUES (NEW.id, 'Veranstaltung', OLD.table_values->>'caption', NEW.table_values->>'caption',
            vastrel_station());
    RETURN NULL;
END $$;
CREATE TRIGGER vastrel_competitions_logged AFTER UPDATE OF table_values ON vastrel_competitions
    FOR EACH ROW WHEN (OLD.table_values->'caption' IS DISTINCT FROM NEW.table_values->'caption')
    EXECUTE FUNCTION vastrel_log_event_name();

CREATE FUNCTION vastrel_notify() RETURNS trigger LANGUAGE plpgsql AS $$
BEGIN
    PERFORM pg_notify('vastrel_changes', competition || ' ' || max(seq)) FROM added GROUP BY competition;
    RETURN NULL;
END $$;
CREATE TRIGGER vastrel_changes_notify AFTER INSERT ON vastrel_changes
    REFERENCING NEW TABLE AS added
    FOR EACH STATEMENT EXECUTE FUNCTION vastrel_notify();
)sql"_s;

bool Fail(QString* problem, const QString& message) {
    if (problem) {
        *problem = message;
    }
    return false;
}

} // namespace

bool EnsureSchema(QSqlDatabase db, QString* problem) {
    const QString server = db.hostName();
    const auto failed = [&](const QSqlQuery& query) {
        db.rollback();
        return Fail(problem,
                    u"Die Tabellen des Programms auf dem Server \"%1\" lassen sich nicht anlegen: %2"_s.arg(
                        server, query.lastError().databaseText().trimmed()));
    };
    QSqlQuery query(db);
    if (!db.transaction()) {
        return failed(query);
    }
    // One station at a time makes the tables; the others then find them.
    if (!query.exec(u"SELECT pg_advisory_xact_lock(7217300101)"_s) ||
        !query.exec(u"SELECT to_regclass('vastrel_schema') IS NOT NULL"_s) || !query.next()) {
        return failed(query);
    }
    if (!query.value(0).toBool()) {
        if (!query.exec(u"SELECT has_schema_privilege('public', 'CREATE')"_s) || !query.next()) {
            return failed(query);
        }
        if (!query.value(0).toBool()) {
            db.rollback();
            return Fail(problem, u"In der Datenbank \"%1\" auf dem Server \"%2\" gibt es noch keine "
                                 u"Wettkämpfe, und die Anmeldung als \"%3\" darf keine anlegen."_s.arg(
                                     db.databaseName(), server, db.userName()));
        }
        if (!query.exec(kCreateSchema) ||
            !query.exec(u"INSERT INTO vastrel_schema VALUES (%1)"_s.arg(kServerSchemaVersion))) {
            return failed(query);
        }
    } else if (!query.exec(u"SELECT max(version) FROM vastrel_schema"_s) || !query.next()) {
        return failed(query);
    } else if (const int version = query.value(0).toInt(); version != kServerSchemaVersion) {
        db.rollback();
        return Fail(problem,
                    u"Die Datenbank \"%1\" auf dem Server \"%2\" hält Vastrel-Tabellen der Version %3; "
                    u"dieses Programm kennt nur Version %4. Bitte die Version des Programms verwenden, "
                    u"mit der die Tabellen angelegt wurden."_s.arg(db.databaseName(), server)
                        .arg(version)
                        .arg(kServerSchemaVersion));
    }
    if (!db.commit()) {
        return failed(query);
    }
    return true;
}

} // namespace vastrel

#include "server/ServerConnection.h"

#include "server/ServerSchema.h"

#include <QAtomicInteger>
#include <QSqlError>
#include <QSqlQuery>

using namespace Qt::StringLiterals;

namespace vastrel {

namespace {

QAtomicInteger<int> connectionCount;

} // namespace

QString ConnectionFailure(const ServerAddress& address, const QString& driverText) {
    const QString server = address.host;
    // libpq's and the server's words; a server answering in another language gives the last case.
    if (driverText.contains(u"could not translate host name"_s)) {
        return u"Den Server \"%1\" gibt es nicht: der Name ist unbekannt."_s.arg(server);
    }
    if (driverText.contains(u"password authentication failed"_s) ||
        driverText.contains(u"authentication failed"_s)) {
        return u"Der Server \"%1\" hat die Anmeldung als \"%2\" abgelehnt: Benutzer oder Passwort ist falsch."_s
            .arg(server, address.user);
    }
    if (driverText.contains(u"no password supplied"_s) || driverText.contains(u"fe_sendauth"_s)) {
        return u"Der Server \"%1\" verlangt ein Passwort für \"%2\"."_s.arg(server, address.user);
    }
    if (driverText.contains(u"database \""_s) && driverText.contains(u"does not exist"_s)) {
        return u"Die Datenbank \"%1\" gibt es auf dem Server \"%2\" nicht."_s.arg(address.database, server);
    }
    if (driverText.contains(u"Connection refused"_s) || driverText.contains(u"timeout expired"_s) ||
        driverText.contains(u"No route to host"_s) || driverText.contains(u"Network is unreachable"_s)) {
        return u"Der Server \"%1\" antwortet nicht auf Port %2."_s.arg(server).arg(address.port);
    }
    return u"Die Verbindung zum Server \"%1\" ist fehlgeschlagen: %2"_s.arg(server, driverText.trimmed());
}

ServerConnection::~ServerConnection() {
    Close();
}

bool ServerConnection::Open(const ServerAddress& address, const QString& station, QString* error) {
    Close();
    address_ = address;
    station_ = station;
    const auto fail = [&](const QString& message) {
        if (error) {
            *error = message;
        }
        Close();
        return false;
    };
    if (!QSqlDatabase::isDriverAvailable(u"QPSQL"_s)) {
        return fail(u"Der PostgreSQL-Treiber von Qt (QPSQL) ist nicht installiert."_s);
    }
    name_ = u"vastrel-server-%1"_s.arg(connectionCount.fetchAndAddRelaxed(1));
    QString problem;
    if (!OpenDatabase(address, &problem) || !NameStation(&problem) || !EnsureSchema(Database(), &problem) ||
        !AskRights(&problem)) {
        return fail(problem);
    }
    return true;
}

bool ServerConnection::NameStation(QString* problem) {
    QSqlQuery query(Database());
    query.prepare(u"SELECT set_config('vastrel.station', :station, false)"_s);
    query.bindValue(u":station"_s, station_);
    if (query.exec()) {
        return true;
    }
    *problem = ConnectionFailure(address_, query.lastError().databaseText());
    return false;
}

bool ServerConnection::AskRights(QString* problem) {
    QSqlQuery query(Database());
    if (!query.exec(u"SELECT has_table_privilege('vastrel_rows', 'UPDATE')"_s) || !query.next()) {
        *problem = ConnectionFailure(address_, query.lastError().databaseText());
        return false;
    }
    mayChange_ = query.value(0).toBool();
    return true;
}

QString ServerConnection::ReadOnlyRefusal() const {
    return u"Die Anmeldung als \"%1\" darf auf dem Server \"%2\" nur lesen, nichts ändern."_s.arg(
        address_.user, address_.host);
}

// No handle of the database outlives this function: a failed connection is removed whole.
bool ServerConnection::OpenDatabase(const ServerAddress& address, QString* error) {
    QSqlDatabase db = QSqlDatabase::addDatabase(u"QPSQL"_s, name_);
    db.setHostName(address.host);
    db.setPort(address.port);
    db.setDatabaseName(address.database);
    db.setUserName(address.user);
    if (!address.password.isEmpty()) {
        db.setPassword(address.password);
    }
    QStringList options = {u"connect_timeout=5"_s, u"application_name=Vastrel"_s};
    if (!address.options.isEmpty()) {
        options << address.options;
    }
    db.setConnectOptions(options.join(u';'));
    if (db.open()) {
        return true;
    }
    if (error) {
        *error = ConnectionFailure(address, db.lastError().databaseText());
    }
    return false;
}

void ServerConnection::Close() {
    if (name_.isEmpty()) {
        return;
    }
    {
        QSqlDatabase db = QSqlDatabase::database(name_, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(name_);
    name_.clear();
    mayChange_ = false;
}

bool ServerConnection::IsOpen() const {
    return !name_.isEmpty() && QSqlDatabase::database(name_, false).isOpen();
}

QSqlDatabase ServerConnection::Database() const {
    return QSqlDatabase::database(name_, false);
}

} // namespace vastrel

#pragma once

#include "server/ServerAddress.h"

#include <QSqlDatabase>
#include <QString>

namespace vastrel {

// One station's connection to the server, under the station's name (the change log names it).
// The database connection is the object's own and goes with it.
class ServerConnection {
public:
    ServerConnection() = default;
    ~ServerConnection();
    ServerConnection(const ServerConnection&) = delete;
    ServerConnection& operator=(const ServerConnection&) = delete;

    // Connects, makes the program's tables where the database has none and refuses a schema of
    // another version. False, with one German message naming what failed, when any of it fails.
    bool Open(const ServerAddress& address, const QString& station, QString* error);
    void Close();
    bool IsOpen() const;

    const ServerAddress& Address() const { return address_; }
    // Whether the login may change the competitions (false: a read-only role, for displays).
    bool MayChange() const { return mayChange_; }
    // Why it may not: the German message for every change refused.
    QString ReadOnlyRefusal() const;
    const QString& Station() const { return station_; }
    QSqlDatabase Database() const;

private:
    bool OpenDatabase(const ServerAddress& address, QString* error);
    bool NameStation(QString* problem); // the change log names it
    bool AskRights(QString* problem);

    ServerAddress address_;
    QString station_;
    QString name_; // of the QtSql connection
    bool mayChange_ = false;
};

// The German message for a connection libpq refused, from what it said.
QString ConnectionFailure(const ServerAddress& address, const QString& driverText);

} // namespace vastrel

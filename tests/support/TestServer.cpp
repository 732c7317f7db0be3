#include "TestServer.h"

#include <QAtomicInteger>
#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <QUrlQuery>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace vastrel::testing {

ServerAddress TestServer() {
    const QString text = qEnvironmentVariable("VASTREL_TEST_SERVER");
    QString problem;
    const auto address = ParseServerAddress(text, &problem);
    if (!address) {
        ADD_FAILURE() << "VASTREL_TEST_SERVER: " << problem.toStdString();
        return {};
    }
    return *address;
}

ServerAddress FreshDatabase(const QString& competition) {
    static QAtomicInteger<int> count;
    ServerAddress address = TestServer();
    address.competition = competition;
    // The cluster's superuser has the program user's password (scripts/server.sh --password).
    const QString admin = u"vastrel-admin-%1"_s.arg(count.fetchAndAddRelaxed(1));
    const QString name =
        u"test_%1_%2"_s.arg(QCoreApplication::applicationPid()).arg(count.fetchAndAddRelaxed(1));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QPSQL"_s, admin);
        db.setHostName(address.host);
        db.setPort(address.port);
        db.setDatabaseName(u"postgres"_s);
        db.setUserName(u"postgres"_s);
        db.setPassword(address.password);
        if (!db.open()) {
            ADD_FAILURE() << "no test server: " << db.lastError().text().toStdString();
        }
        QSqlQuery query(db);
        if (!query.exec(u"CREATE DATABASE %1 OWNER %2"_s.arg(name, address.user))) {
            ADD_FAILURE() << query.lastError().text().toStdString();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(admin);
    address.database = name;
    return address;
}

QString AddressText(const ServerAddress& address) {
    QUrl url;
    url.setScheme(u"postgresql"_s);
    url.setUserName(address.user);
    url.setPassword(address.password);
    url.setHost(address.host);
    url.setPort(address.port);
    url.setPath(u"/"_s + address.database);
    if (!address.competition.isEmpty()) {
        url.setQuery(QUrlQuery{{u"competition"_s, address.competition}});
    }
    return url.toString(QUrl::FullyEncoded);
}

} // namespace vastrel::testing

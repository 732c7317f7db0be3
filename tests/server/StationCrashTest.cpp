#include "TestServer.h"
#include "server/ServerCompetition.h"
#include "server/ServerConnection.h"
#include "table/ColumnModel.h"
#include "table/ResultTable.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <map>

using namespace Qt::StringLiterals;
using namespace vastrel;
using namespace vastrel::testing;

namespace {

constexpr int kRows = 20;

// What the killed station printed: each row's remarks in the order typed (their numbers).
std::map<int, std::vector<int>> Printed(const QByteArray& output) {
    std::map<int, std::vector<int>> typed;
    for (const QByteArray& line : output.split('\n')) {
        const QList<QByteArray> words = line.split(' ');
        if (words.size() == 3 && words[1] == "Eintrag") {
            typed[words[0].toInt()].push_back(words[2].toInt());
        }
    }
    return typed;
}

// A station killed with SIGKILL while it types, once with the server there (the kill lands in a
// send, a queue write or between them), once with the server refusing it every connection: at its
// next start it sends what it had shown as entered, each remark once, in the order typed.
TEST(StationCrashTest, AStationKilledWhileTypingLosesNothingItShowedAsEnteredOnlineOrOffline) {
    for (const bool online : {true, false}) {
        SCOPED_TRACE(online ? "online" : "offline");
        const ServerAddress address = FreshDatabase(u"Lauf 2026"_s);
        ServerConnection admin;
        ASSERT_TRUE(admin.Open(address, u"Anmeldung"_s, nullptr));
        ServerCompetition competition(admin);
        ResultTable table;
        DefineColumns(table, [](const QString& t) { return t.size() * 100.0; });
        for (int r = 1; r <= kRows; ++r) {
            table.AddRow(u"1\t2026\t%1\tm\t%2\tLäufer %1\t1960"_s.arg(r).arg(100 + r));
        }
        ASSERT_TRUE(competition.Create(address.competition, table.Data(), false, nullptr, nullptr));

        QTemporaryDir folder;
        const QStringList station = {AddressText(address), u"Bahn"_s, folder.path()};
        QProcess typing;
        typing.start(QStringLiteral(STATION_PROCESS), station + QStringList{u"type"_s});
        ASSERT_TRUE(typing.waitForReadyRead(10000));
        QSqlQuery query(admin.Database());
        if (!online) { // no new connection, and the station's own cut
            ASSERT_TRUE(query.exec(u"ALTER DATABASE %1 CONNECTION LIMIT 0"_s.arg(address.database)));
            ASSERT_TRUE(query.exec(u"SELECT pg_terminate_backend(pid) FROM pg_stat_activity "
                                   u"WHERE datname = current_database() AND pid <> pg_backend_pid()"_s));
        }
        QByteArray output;
        while (output.count('\n') < 300 && typing.waitForReadyRead(10000)) {
            output += typing.readAllStandardOutput();
        }
        QThread::msleep(QRandomGenerator::global()->bounded(30));
        typing.kill();
        typing.waitForFinished();
        output += typing.readAllStandardOutput();
        const auto typed = Printed(output);
        ASSERT_GT(typed.size(), 10u);
        if (!online) {
            ASSERT_TRUE(query.exec(u"ALTER DATABASE %1 CONNECTION LIMIT -1"_s.arg(address.database)));
        }

        EXPECT_EQ(QProcess::execute(QStringLiteral(STATION_PROCESS), station + QStringList{u"send"_s}), 0);
        TableData held;
        ASSERT_TRUE(competition.Load(address.competition, held, nullptr));
        const auto remark = static_cast<std::size_t>(table.ColumnNumber(u"Bemerkung") - 1);
        ASSERT_TRUE(query.exec(u"SELECT row_id, new_text FROM vastrel_changes "
                               u"WHERE column_key = 'Bemerkung' ORDER BY seq"_s));
        std::map<int, std::vector<int>> logged;
        while (query.next()) {
            logged[query.value(0).toInt()].push_back(query.value(1).toString().section(u' ', 1).toInt());
        }
        for (const auto& [row, numbers] : typed) {
            SCOPED_TRACE(row);
            // The server holds the last remark shown, or one typed after it whose line the kill
            // cut off; the log holds some of those typed, each once, in order (none skipped at the end).
            const int last =
                held.rows[static_cast<std::size_t>(row - 1)].data.cells.At(remark).mid(8).toInt();
            EXPECT_GE(last, numbers.back());
            EXPECT_LE(last, numbers.back() + kRows);
            const std::vector<int>& sent = logged[row];
            ASSERT_FALSE(sent.empty());
            EXPECT_EQ(sent.back(), last);
            EXPECT_TRUE(std::is_sorted(sent.begin(), sent.end()) &&
                        std::adjacent_find(sent.begin(), sent.end()) == sent.end());
        }
    }
}

} // namespace

#include "live/LiveServer.h"
#include "EventLoop.h"
#include "HttpClient.h"
#include "live/HttpRequest.h"
#include "live/LiveFeed.h"
#include "live/LivePage.h"
#include "live/LiveResults.h"
#include "table/ColumnModel.h"
#include "table/ResultTable.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTcpSocket>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace vastrel;
using namespace vastrel::testing;

namespace {

TEST(HttpRequestReaderTest, AHeadIsReadWhenWholeAndRefusedWhenMalformedOrTooLarge) {
    using R = HttpRequestReader::Result;
    struct Case {
        QByteArray sent;
        R result;
        int status;      // after Refused
        QByteArray path; // after Complete
        bool keepAlive;
    };
    const QByteArray longLine = "GET /" + QByteArray(5000, 'a');
    const QByteArray longWholeLine = longLine + " HTTP/1.1\r\nHost: a\r\n\r\n";
    const QByteArray bigHead = "GET / HTTP/1.1\r\nHost: a\r\nX: " + QByteArray(17000, 'b') + "\r\n\r\n";
    QByteArray manyFields = "GET / HTTP/1.1\r\nHost: a\r\n";
    for (int i = 0; i < 100; ++i) {
        manyFields += "X-" + QByteArray::number(i) + ": 1\r\n";
    }
    manyFields += "\r\n";
    for (const Case& c : std::initializer_list<Case>{
             {"GET / HTTP/1.1\r\nHost: a\r\n\r\n", R::Complete, 0, "/", true},
             {"\r\nGET /tv?x=1 HTTP/1.1\nHost: a\n\n", R::Complete, 0, "/tv", true},
             {"GET http://a:8080/results.json HTTP/1.1\r\nHost: a\r\n\r\n", R::Complete, 0, "/results.json",
              true},
             {"GET /%2e%2e/etc/passwd HTTP/1.1\r\nHost: a\r\n\r\n", R::Complete, 0, "/../etc/passwd", true},
             {"GET / HTTP/1.1\r\nHost: a\r\nConnection: close\r\n\r\n", R::Complete, 0, "/", false},
             {"GET / HTTP/1.0\r\n\r\n", R::Complete, 0, "/", false},
             {"GET / HTTP/1.0\r\nConnection: Keep-Alive\r\n\r\n", R::Complete, 0, "/", true},
             {"GET / HTTP/1.1\r\nHost: a\r\n", R::Incomplete, 0, {}, true},
             {longLine, R::Refused, 400, {}, true},
             {longWholeLine, R::Refused, 400, {}, true},
             {bigHead, R::Refused, 431, {}, true},
             {manyFields, R::Refused, 431, {}, true},
             {"GET / HTTP/1.1\r\n\r\n", R::Refused, 400, {}, true}, // no Host
             {"GET  / HTTP/1.1\r\nHost: a\r\n\r\n", R::Refused, 400, {}, true},
             {"GET / HTTP/2.0\r\nHost: a\r\n\r\n", R::Refused, 400, {}, true},
             {"GET relative HTTP/1.1\r\nHost: a\r\n\r\n", R::Refused, 400, {}, true},
             {"GET /%zz HTTP/1.1\r\nHost: a\r\n\r\n", R::Refused, 400, {}, true},
             {"GET /a%00b HTTP/1.1\r\nHost: a\r\n\r\n", R::Refused, 400, {}, true},
             {"GET / HTTP/1.1\r\nHost: a\r\n folded\r\n\r\n", R::Refused, 400, {}, true},
             {"G(T / HTTP/1.1\r\nHost: a\r\n\r\n", R::Refused, 400, {}, true},
         }) {
        HttpRequestReader reader;
        QByteArray received = c.sent;
        const R result = reader.Read(received);
        EXPECT_EQ(result, c.result) << c.sent.left(60).toStdString();
        if (result == R::Refused) {
            EXPECT_EQ(reader.RefusalStatus(), c.status) << c.sent.left(60).toStdString();
        } else if (result == R::Complete) {
            EXPECT_EQ(reader.Request().path, c.path) << c.sent.toStdString();
            EXPECT_EQ(reader.Request().keepAlive, c.keepAlive) << c.sent.toStdString();
        }
    }

    // Two heads sent at once are read one at a time; the fields the server looks at.
    HttpRequestReader reader;
    QByteArray received =
        "GET /results.json HTTP/1.1\r\nHost: a\r\nIf-None-Match: \"e1\"\r\n"
        "Accept-Encoding: br, gzip\r\n\r\nPOST / HTTP/1.1\r\nHost: a\r\nContent-Length: 4\r\n\r\nbody";
    ASSERT_EQ(reader.Read(received), R::Complete);
    EXPECT_EQ(reader.Request().ifNoneMatch, "\"e1\"");
    EXPECT_TRUE(reader.Request().acceptsGzip);
    ASSERT_EQ(reader.Read(received), R::Complete);
    EXPECT_EQ(reader.Request().method, "POST");
    EXPECT_TRUE(reader.Request().hasBody);
    EXPECT_FALSE(reader.Request().acceptsGzip);
    EXPECT_EQ(received, "body");
    for (const auto& [accepted, gzip] :
         {std::pair{"gzip;q=0.5", true}, std::pair{"br, GZIP ; q=1", true}, std::pair{"gzip;q=0", false},
          std::pair{"gzip;q=0.000", false}, std::pair{"x-gzip", false}}) {
        received = "GET / HTTP/1.1\r\nHost: a\r\nAccept-Encoding: " + QByteArray(accepted) + "\r\n\r\n";
        ASSERT_EQ(reader.Read(received), R::Complete);
        EXPECT_EQ(reader.Request().acceptsGzip, gzip) << accepted;
    }
}

class LiveServerTest : public ::testing::Test {
protected:
    LiveServerTest() {
        EnsureApplication();
        QString error;
        EXPECT_TRUE(server.Start(QHostAddress(QHostAddress::LocalHost), 0, &error)) << error.toStdString();
        server.SetResults(R"({"zeilen":[]})");
    }
    QByteArray Get(const QByteArray& target, const QByteArray& fields = {}) {
        return Exchange(server.Port(),
                        "GET " + target + " HTTP/1.1\r\nHost: a\r\n" + fields + "Connection: close\r\n\r\n");
    }
    LiveServer server{nullptr, 400};
};

TEST_F(LiveServerTest, OnlyItsFewDocumentsAreServedAndOnlyToGetAndHead) {
    struct Case {
        QByteArray sent;
        QByteArray statusLine;
    };
    const auto request = [](const QByteArray& line) {
        return line + "\r\nHost: a\r\nConnection: close\r\n\r\n";
    };
    for (const Case& c : std::initializer_list<Case>{
             {request("GET / HTTP/1.1"), "HTTP/1.1 200 OK"},
             {request("GET /tv HTTP/1.1"), "HTTP/1.1 200 OK"},
             {request("GET /live.js HTTP/1.1"), "HTTP/1.1 200 OK"},
             {request("HEAD /results.json HTTP/1.1"), "HTTP/1.1 200 OK"},
             {request("POST / HTTP/1.1"), "HTTP/1.1 405 Method Not Allowed"},
             {request("DELETE /results.json HTTP/1.1"), "HTTP/1.1 405 Method Not Allowed"},
             {request("GET /../../etc/passwd HTTP/1.1"), "HTTP/1.1 404 Not Found"},
             {request("GET /%2e%2e/%2e%2e/etc/passwd HTTP/1.1"), "HTTP/1.1 404 Not Found"},
             {request("GET //etc/passwd HTTP/1.1"), "HTTP/1.1 404 Not Found"},
             {request("GET /index.html/ HTTP/1.1"), "HTTP/1.1 404 Not Found"},
             {request("GET /" + QByteArray(5000, 'a') + " HTTP/1.1"), "HTTP/1.1 400 Bad Request"},
             {"GET / HTTP/1.1\r\nHost: a\r\nX: " + QByteArray(20000, 'b') + "\r\n\r\n",
              "HTTP/1.1 431 Request Header Fields Too Large"},
             {"GET / HTTP/1.1\r\nHost: a\r\nContent-Length: 3\r\n\r\nabc", "HTTP/1.1 400 Bad Request"},
         }) {
        const QByteArray answer = Exchange(server.Port(), c.sent);
        EXPECT_EQ(answer.left(answer.indexOf("\r\n")), c.statusLine) << c.sent.left(50).toStdString();
        if (c.sent.startsWith("HEAD")) {
            EXPECT_TRUE(answer.endsWith("\r\n\r\n")) << "HEAD has no body";
        }
    }
    EXPECT_TRUE(
        Exchange(server.Port(), "POST / HTTP/1.1\r\nHost: a\r\n\r\n").contains("\r\nAllow: GET, HEAD\r\n"));
    EXPECT_EQ(server.DevicesLastMinute(), 1); // every request came from this machine
}

TEST_F(LiveServerTest, TheResultsAreAskedForByTheirTagAndComeGzippedWhereAccepted) {
    QByteArray json = R"({"zeilen":[)";
    for (int i = 0; i < 200; ++i) {
        json += R"({"name":"Läufer","nr":")" + QByteArray::number(i) + R"("},)";
    }
    json += "{}]}";
    server.SetResults(json);
    const QByteArray first = Get("/results.json");
    const qsizetype tagAt = first.indexOf("ETag: ") + 6;
    const QByteArray tag = first.mid(tagAt, first.indexOf("\r\n", tagAt) - tagAt);
    EXPECT_TRUE(first.endsWith(json));
    EXPECT_TRUE(
        Get("/results.json", "If-None-Match: " + tag + "\r\n").startsWith("HTTP/1.1 304 Not Modified\r\n"));
    const QByteArray zipped = Get("/results.json", "Accept-Encoding: gzip, deflate\r\n");
    EXPECT_TRUE(zipped.contains("\r\nContent-Encoding: gzip\r\n"));
    const QByteArray body = zipped.mid(zipped.indexOf("\r\n\r\n") + 4);
    EXPECT_TRUE(body.startsWith("\x1f\x8b"));
    EXPECT_LT(body.size(), json.size() / 4);
    server.SetResults(json + ' ');
    EXPECT_TRUE(Get("/results.json", "If-None-Match: " + tag + "\r\n").startsWith("HTTP/1.1 200 OK\r\n"));
}

TEST_F(LiveServerTest, KeptAliveConnectionsAnswerEachRequestAndIdleOnesAreDropped) {
    bool closed = false;
    const QByteArray two = Exchange(
        server.Port(), "GET /live.css HTTP/1.1\r\nHost: a\r\n\r\nGET /live.js HTTP/1.1\r\nHost: a\r\n\r\n",
        2000, &closed);
    EXPECT_EQ(two.count("HTTP/1.1 200 OK\r\n"), 2);
    EXPECT_TRUE(closed); // kept open, then dropped once idle

    // A head that never ends is dropped too, and does not wait longer than an idle connection.
    QElapsedTimer took;
    took.start();
    Exchange(server.Port(), "GET / HTTP/1.1\r\nHost: a\r\n", 3000, &closed);
    EXPECT_TRUE(closed);
    EXPECT_LT(took.elapsed(), 2000);
}

TEST(LiveServerLimitTest, PastItsConnectionsANewOneIsTurnedAway) {
    EnsureApplication();
    LiveServer server; // idle connections kept for the usual ten seconds
    QString error;
    ASSERT_TRUE(server.Start(QHostAddress(QHostAddress::LocalHost), 0, &error)) << error.toStdString();
    std::vector<std::unique_ptr<QTcpSocket>> open;
    for (int i = 0; i < LiveServer::kMaxConnections; ++i) {
        open.push_back(std::make_unique<QTcpSocket>());
        open.back()->connectToHost(u"127.0.0.1"_s, server.Port());
    }
    const auto connected = [&] {
        return std::all_of(open.begin(), open.end(),
                           [](const auto& s) { return s->state() == QAbstractSocket::ConnectedState; });
    };
    for (int waited = 0; !connected() && waited < 5000; waited += 50) {
        RunEventsFor(50);
    }
    RunEventsFor(100);
    const QByteArray answer = Exchange(server.Port(), "GET / HTTP/1.1\r\nHost: a\r\n\r\n");
    EXPECT_TRUE(answer.startsWith("HTTP/1.1 503 ")) << answer.left(200).toStdString();
}

TEST(LiveResultsTest, TheDocumentHoldsWhatIsPublishedAndNothingElse) {
    ResultTable table;
    DefineColumns(table, [](const QString& t) { return t.size() * 100.0; });
    table.AddRow(u"1\t2026\t1\tm\t101\t<script>alert(1)</script>\t1950\t1.0\tgeheim\t7.9\t812"_s);
    table.AddRow(u"1\t2026\t2\tm\t102\tBerger, Carl\t1946"_s);
    table.AddRow(QString());
    table.SetCellText(1, u"Gesamt"_s, u"900"_s);
    table.SetCellText(2, u"Gesamt"_s, u"950"_s);
    LiveOptions options;
    options.finalDays = {true, false, false, false};
    const QJsonObject document =
        QJsonDocument::fromJson(
            LiveResultsJson(table, options, QDateTime(QDate(2026, 6, 1), QTime(14, 5, 32))))
            .object();
    EXPECT_EQ(document[u"stand"_s].toString(), u"14:05:32"_s);
    EXPECT_TRUE(document[u"tage"_s].toArray()[0].toObject()[u"endgueltig"_s].toBool());
    const QJsonArray rows = document[u"zeilen"_s].toArray();
    ASSERT_EQ(rows.size(), 2); // the empty row is left out
    const QJsonObject first = rows[0].toObject();
    EXPECT_EQ(first.keys(), (QStringList{u"gesamt"_s, u"lauf"_s, u"mw"_s, u"name"_s, u"nr"_s, u"plaetze"_s,
                                         u"punkte"_s, u"summen"_s, u"zeiten"_s}));
    EXPECT_EQ(first[u"name"_s].toString(), u"<script>alert(1)</script>"_s);
    EXPECT_EQ(first[u"zeiten"_s].toArray()[0].toString(), u"7.9"_s);
    EXPECT_EQ(first[u"plaetze"_s].toArray()[4].toInt(), 2);
    EXPECT_EQ(rows[1].toObject()[u"plaetze"_s].toArray()[4].toInt(), 1);
    const QByteArray text = LiveResultsJson(table, options, QDateTime::currentDateTime());
    EXPECT_FALSE(text.contains("geheim"));
    EXPECT_FALSE(text.contains("1950"));

    for (const auto& [typed, final] :
         {std::pair{u"1, 3"_s, std::optional(u"1, 3"_s)}, std::pair{u""_s, std::optional(u""_s)},
          std::pair{u"5"_s, std::optional<QString>()}, std::pair{u"1;2"_s, std::optional<QString>()}}) {
        const auto read = FinalDaysFromText(typed);
        EXPECT_EQ(read ? std::optional(FinalDaysText(*read)) : std::nullopt, final) << typed.toStdString();
    }
}

// A feed hands on a change once, a moment after it; a change that publishes nothing new is not
// handed on; the files go into a folder whole.
TEST(LiveFeedTest, AChangeIsHandedOnOnceAndTheFilesAreWrittenWhole) {
    EnsureApplication();
    ResultTable table;
    DefineColumns(table, [](const QString& t) { return t.size() * 100.0; });
    table.AddRow(u"1\t2026\t1\tm\t101\tAdler, Bernd\t1950"_s);
    std::vector<QByteArray> published;
    LiveFeed feed(
        table, [&](const QByteArray& json) { published.push_back(json); }, 50);
    ASSERT_EQ(published.size(), 1u);
    table.SetCellText(1, u"60m"_s, u"7.9"_s);
    table.SetCellText(1, u"Punkte1"_s, u"812"_s);
    RunEventsFor(200);
    ASSERT_EQ(published.size(), 2u);
    EXPECT_TRUE(published[1].contains("812"));
    table.SetCellText(1, u"Bemerkung"_s, u"nicht öffentlich"_s);
    RunEventsFor(200);
    EXPECT_EQ(published.size(), 2u);

    QTemporaryDir dir;
    QString error;
    ASSERT_TRUE(WriteLiveFiles(dir.filePath(u"live"_s), published[1], &error)) << error.toStdString();
    for (const QString& name : {u"index.html"_s, u"tv.html"_s, u"live.js"_s, u"live.css"_s}) {
        QFile file(dir.filePath(u"live/"_s + name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), LivePageFile(name));
    }
    QFile json(dir.filePath(u"live/results.json"_s));
    ASSERT_TRUE(json.open(QIODevice::ReadOnly));
    EXPECT_EQ(json.readAll(), published[1]);
    EXPECT_EQ(QDir(dir.filePath(u"live"_s)).entryList(QDir::Files).size(), 5); // no temporary left

    QFile blocker(dir.filePath(u"datei"_s));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_FALSE(WriteLiveFiles(dir.filePath(u"datei/live"_s), published[1], &error));
    EXPECT_EQ(error, u"Der Ordner \"%1\" lässt sich nicht anlegen."_s.arg(dir.filePath(u"datei/live"_s)));
}

} // namespace

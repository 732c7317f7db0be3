// The results page in a real browser (headless Chromium) against the served competition.
#include "EventLoop.h"
#include "live/LiveFeed.h"
#include "live/LiveServer.h"
#include "table/ColumnModel.h"
#include "table/ResultTable.h"

#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace vastrel;
using namespace vastrel::testing;

namespace {

class LivePageTest : public ::testing::Test {
protected:
    LivePageTest()
        : feed(
              table, [this](const QByteArray& json) { server.SetResults(json); }, 0) {
        EnsureApplication();
        DefineColumns(table, [](const QString& t) { return t.size() * 100.0; });
        table.SetCaption(u"Lauf & Co 2026"_s);
        const auto add = [&](const QString& fields, const QString& day1, const QString& total) {
            const int row = table.AddRow(fields);
            table.SetCellText(row, u"Summe1"_s, day1);
            table.SetCellText(row, u"Gesamt"_s, total);
        };
        add(u"1\t2026\t1\tm\t101\tAdler, Bernd\t1950\t1.0\t\t7.9\t812"_s, u"812"_s, u"812"_s);
        add(u"1\t2026\t2\tm\t102\t<script>alert(1)</script>\t1946\t1.0\t\t7.5\t900"_s, u"900"_s, u"900"_s);
        add(u"1\t2026\t3\tw\t103\tBerger, Clara\t1960\t1.0\t\t8.5\t700"_s, u"700"_s, u"700"_s);
        feed.Flush();
        QString error;
        EXPECT_TRUE(server.Start(QHostAddress(QHostAddress::LocalHost), 0, &error)) << error.toStdString();
    }

    // The page's document once its script ran for `budget` milliseconds of the browser's time.
    QString Browse(const QString& query, const QStringList& more = {}) {
        QTemporaryDir profile;
        QProcess browser;
        browser.start(QStringLiteral(VASTREL_CHROMIUM),
                      QStringList{u"--headless"_s, u"--no-sandbox"_s, u"--disable-gpu"_s, u"--no-first-run"_s,
                                  u"--user-data-dir="_s + profile.path(), u"--virtual-time-budget=8000"_s}
                          << (more.isEmpty() ? QStringList{u"--dump-dom"_s} : more)
                          << u"http://127.0.0.1:%1/%2"_s.arg(server.Port()).arg(query));
        EXPECT_TRUE(browser.waitForStarted(10000));
        // The server answers in this thread: keep its event loop turning while the browser runs.
        for (int waited = 0; browser.state() != QProcess::NotRunning && waited < 60000; waited += 20) {
            RunEventsFor(20);
        }
        EXPECT_EQ(browser.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(browser.exitCode(), 0) << browser.readAllStandardError().toStdString();
        return QString::fromUtf8(browser.readAllStandardOutput());
    }

    ResultTable table;
    LiveServer server;
    LiveFeed feed;
};

// The rows of a group in the order the page shows them, as "place name".
QStringList Shown(const QString& dom) {
    static const QRegularExpression row(
        uR"re(<tr data-nr="(\d+)"><td class="platz">([^<]*)</td><td class="name">([^<]*)<)re"_s);
    QStringList shown;
    for (const auto& match : row.globalMatch(dom)) {
        shown << match.captured(2) + u' ' + match.captured(3);
    }
    return shown;
}

TEST_F(LivePageTest, RowsPlacesAndTheUpdateAfterAChangeShowWithoutAReload) {
    // The first document the page reads is followed by a change at the desk.
    int served = 0;
    server.OnAnswered([&](const QByteArray& path, int status) {
        if (path == "/results.json" && status == 200 && ++served == 1) {
            table.SetCellText(1, u"Gesamt"_s, u"1000"_s);
            feed.Flush();
        }
    });
    const QString dom = Browse(u"?tag=0"_s);
    EXPECT_TRUE(dom.contains(u"<h1 id=\"titel\">Lauf &amp; Co 2026</h1>"_s)) << dom.toStdString();
    EXPECT_TRUE(dom.contains(u"Gesamt · vorläufig"_s));
    EXPECT_EQ(Shown(dom), (QStringList{u"1. Adler, Bernd"_s, u"2. &lt;script&gt;alert(1)&lt;/script&gt;"_s,
                                       u"1. Berger, Clara"_s}));
    EXPECT_TRUE(dom.contains(u"<td class=\"summe\">1000</td>"_s));
    EXPECT_TRUE(dom.contains(u"data-aktualisiert=\"2\""_s)) << "read twice, the second time changed";
    EXPECT_FALSE(dom.contains(u"<script>alert"_s));
    EXPECT_EQ(served, 2) << "the page asks again and is answered 304 while nothing changes";
}

TEST_F(LivePageTest, ASearchShowsTheMatchingRowsOfTheDayOnAPhone) {
    const QString screenshot = QStringLiteral(VASTREL_SCREENSHOTS) + u"/live-phone.png"_s;
    QFile::remove(screenshot);
    const QString dom = Browse(u"?tag=1&suche=berger"_s);
    EXPECT_EQ(Shown(dom), QStringList{u"1. Berger, Clara"_s});
    EXPECT_TRUE(dom.contains(u"<td>8.5<small>700 P.</small></td>"_s)) << dom.toStdString();
    EXPECT_TRUE(dom.contains(u"Tag 1 · vorläufig"_s));
    Browse(u"?tag=1"_s,
           {u"--hide-scrollbars"_s, u"--window-size=412,892"_s, u"--screenshot="_s + screenshot});
    EXPECT_GT(QFileInfo(screenshot).size(), 10000) << "a phone-sized picture of the page, to look at";
}

} // namespace

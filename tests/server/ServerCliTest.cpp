#include "GTestPrinters.h"
#include "TestServer.h"
#include "cli/CommandLine.h"
#include "cli/ServerCommands.h"
#include "formats/TextImport.h"
#include "table/ResultTable.h"

#include <QDateTime>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace vastrel;
using namespace vastrel::testing;

namespace {

class ServerCliTest : public ::testing::Test {
protected:
    int Run(const QStringList& arguments) {
        errors.clear();
        out.clear();
        QTextStream o(&out);
        QTextStream e(&errors);
        return RunCommandLine(arguments, o, e);
    }
    QByteArray Read(const QString& path) {
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return f.readAll();
    }

    const QString input = QStringLiteral(VASTREL_TEST_DATA "/competition.csv");
    const QString address = AddressText(FreshDatabase(u"Lauf 2026"_s));
    QTemporaryDir dir;
    QString out, errors;
};

TEST_F(ServerCliTest, ACompetitionGoesToTheServerAndComesBackAsTheFileWould) {
    ASSERT_EQ(Run({u"recalc"_s, input, address}), kCliOk) << errors.toStdString();
    EXPECT_EQ(Run({u"recalc"_s, input, address}), kCliFileError);
    EXPECT_EQ(errors, u"Vastrel: Den Wettkampf \"Lauf 2026\" gibt es auf dem Server \"127.0.0.1\" schon; "
                      u"--replace ersetzt ihn.\n"_s);
    ASSERT_EQ(Run({u"recalc"_s, u"--replace"_s, input, address}), kCliOk) << errors.toStdString();
    ASSERT_EQ(Run({u"recalc"_s, address, dir.filePath(u"back.csv"_s)}), kCliOk) << errors.toStdString();
    ASSERT_EQ(Run({u"recalc"_s, input, dir.filePath(u"direct.csv"_s)}), kCliOk);
    EXPECT_EQ(Read(dir.filePath(u"back.csv"_s)), Read(dir.filePath(u"direct.csv"_s)));
}

TEST_F(ServerCliTest, EnterWritesAsAStationAndRefusesWhatItWouldOverwrite) {
    ASSERT_EQ(Run({u"recalc"_s, input, address}), kCliOk) << errors.toStdString();
    struct Case {
        QStringList arguments;
        int exit;
        QString errors;
    };
    const std::vector<Case> cases = {
        {{u"--nr"_s, u"102"_s, u"100m=14.2"_s, u"--station"_s, u"Ziel 1"_s}, kCliOk, u""_s},
        {{u"--nr"_s, u"102"_s, u"100m=14.2"_s}, kCliOk, u""_s}, // what the cell holds already
        {{u"--nr"_s, u"102"_s, u"100m=14.5"_s},
         kCliMessagesShown,
         u"Vastrel: Nicht eingetragen: \"100m\" von Nr 102 hält schon \"14.2\" (von \"Ziel 1\"), nicht "
         u"\"14.5\"; "
         u"--replace überschreibt.\n"_s},
        {{u"--nr"_s, u"102"_s, u"--replace"_s, u"100m=14.5"_s}, kCliOk, u""_s},
        {{u"--nr"_s, u"999"_s, u"100m=14.5"_s},
         kCliMessagesShown,
         u"Vastrel: Die Startnummer 999 gibt es im Wettkampf \"Lauf 2026\" nicht.\n"_s},
        {{u"--nr"_s, u"102"_s, u"100m=abc"_s}, kCliMessagesShown, u"Vastrel: Formatfehler [00.0]!\n"_s},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Run(QStringList{u"enter"_s, address} + c.arguments), c.exit)
            << c.arguments.join(u' ').toStdString();
        EXPECT_EQ(errors, c.errors);
    }
    for (const QStringList& wrong :
         {QStringList{u"--nr"_s, u"102"_s, u"Punkte4=1"_s}, QStringList{u"--nr"_s, u"102"_s, u"Zeit=1"_s},
          QStringList{u"100m=1"_s}}) {
        EXPECT_EQ(Run(QStringList{u"enter"_s, address} + wrong), kCliUsageError)
            << wrong.join(u' ').toStdString();
    }
    ASSERT_EQ(Run({u"recalc"_s, address, dir.filePath(u"back.csv"_s)}), kCliOk);
    const QString back = QString::fromLatin1(Read(dir.filePath(u"back.csv"_s)));
    const QString berger = back.split(u"\r\n"_s).filter(u";102;"_s).value(0);
    EXPECT_EQ(berger.split(u';').at(16), u"14.5"_s);
    EXPECT_FALSE(berger.split(u';').at(17).isEmpty()); // its points, scored by the tool
}

TEST_F(ServerCliTest, HistoryListsEveryChangeOfACompetitorNewestFirstWithStationAndServerTime) {
    ASSERT_EQ(Run({u"recalc"_s, input, address}), kCliOk) << errors.toStdString();
    ASSERT_EQ(Run({u"enter"_s, address, u"--nr"_s, u"102"_s, u"--station"_s, u"Start"_s, u"100m=14.2"_s}),
              kCliOk);
    ASSERT_EQ(Run({u"enter"_s, address, u"--nr"_s, u"102"_s, u"--station"_s, u"Ziel"_s, u"200m=28.1"_s}),
              kCliOk);
    ASSERT_EQ(Run({u"enter"_s, address, u"--nr"_s, u"102"_s, u"--station"_s, u"Bahn 3"_s, u"--replace"_s,
                   u"100m=14.5"_s}),
              kCliOk);
    ASSERT_EQ(Run({u"history"_s, address, u"--nr"_s, u"102"_s}), kCliOk) << errors.toStdString();
    QStringList lines = out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_GE(lines.size(), 5);
    EXPECT_EQ(lines.takeFirst(), u"Verlauf der Startnummer 102 im Wettkampf \"Lauf 2026\""_s);
    const QRegularExpression time(u"^\\d\\d\\.\\d\\d\\.\\d{4} \\d\\d:\\d\\d:\\d\\d  "_s);
    QStringList typed;
    for (const QString& line : lines) {
        EXPECT_TRUE(time.match(line).hasMatch()) << line.toStdString();
        const QString what = line.mid(21).simplified();
        if (what.contains(u" 100m "_s) || what.contains(u" 200m "_s) || what.endsWith(u"Zeile angelegt"_s)) {
            typed << what;
        }
    }
    EXPECT_EQ(typed, (QStringList{u"Bahn 3 100m \"14.2\" → \"14.5\""_s, u"Ziel 200m \"\" → \"28.1\""_s,
                                  u"Start 100m \"\" → \"14.2\""_s, ToolStation() + u" Zeile angelegt"_s}))
        << out.toStdString();
    EXPECT_EQ(Run({u"history"_s, address, u"--nr"_s, u"999"_s}), kCliMessagesShown);
    EXPECT_EQ(errors, u"Vastrel: Die Startnummer 999 gibt es im Wettkampf \"Lauf 2026\" nicht.\n"_s);
    EXPECT_EQ(Run({u"history"_s, address}), kCliUsageError);
}

// A station whose clock is an hour behind: what it enters carries the server's time.
TEST_F(ServerCliTest, AStationWhoseClockIsAnHourOffLeavesTheServersTimeInTheHistory) {
    ASSERT_EQ(Run({u"recalc"_s, input, address}), kCliOk) << errors.toStdString();
    QProcessEnvironment skewed = QProcessEnvironment::systemEnvironment();
    skewed.insert(u"LD_PRELOAD"_s, u"/usr/lib/x86_64-linux-gnu/faketime/libfaketimeMT.so.1"_s);
    skewed.insert(u"FAKETIME"_s, u"-1h"_s);
    skewed.insert(u"FAKETIME_DONT_FAKE_MONOTONIC"_s, u"1"_s);
    skewed.insert(u"ASAN_OPTIONS"_s, skewed.value(u"ASAN_OPTIONS"_s) + u":verify_asan_link_order=0"_s);
    const auto runSkewed = [&](const QString& program, const QStringList& arguments) {
        QProcess process;
        process.setProcessEnvironment(skewed);
        process.start(program, arguments);
        process.waitForFinished(30000);
        return std::pair{process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()).trimmed()};
    };
    const auto [dateExit, stationClock] = runSkewed(u"date"_s, {u"+%s"_s});
    ASSERT_EQ(dateExit, 0);
    EXPECT_NEAR(QDateTime::currentSecsSinceEpoch() - stationClock.toLongLong(), 3600, 60); // the clock is off

    EXPECT_EQ(runSkewed(QStringLiteral(VASTREL_CLI),
                        {u"enter"_s, address, u"--nr"_s, u"102"_s, u"--station"_s, u"Uhr"_s, u"100m=14.2"_s})
                  .first,
              kCliOk);
    ASSERT_EQ(Run({u"history"_s, address, u"--nr"_s, u"102"_s}), kCliOk) << errors.toStdString();
    const QStringList lines = out.split(u'\n', Qt::SkipEmptyParts);
    const auto entered = std::find_if(lines.begin(), lines.end(), [](const QString& line) {
        return line.mid(21).simplified() == u"Uhr 100m \"\" → \"14.2\""_s;
    });
    ASSERT_NE(entered, lines.end()) << out.toStdString();
    const QDateTime logged = QDateTime::fromString(entered->left(19), u"dd.MM.yyyy hh:mm:ss"_s);
    ASSERT_TRUE(logged.isValid()) << entered->toStdString();
    EXPECT_LT(std::abs(logged.secsTo(QDateTime::currentDateTime())), 60) << entered->toStdString();
}

// Eight timing files, one a distance, read by eight tools at once into one competition: each
// time in its row, rounded up; none lost to another tool's write of the same rows.
TEST_F(ServerCliTest, EightToolsReadingTimingFilesAtOnceLeaveEveryTimeInItsRow) {
    ASSERT_EQ(Run({u"recalc"_s, input, address}), kCliOk) << errors.toStdString();
    struct File {
        QString distance, timed, entered;
    };
    const std::vector<File> files = {
        {u"60m"_s, u"8.%10"_s, u"8.%1"_s},         {u"100m"_s, u"12.%1"_s, u"12.%1"_s},
        {u"200m"_s, u"2%1.01"_s, u"2%1.1"_s},      {u"400m"_s, u"6%1.0"_s, u"1:0%1.0"_s},
        {u"800m"_s, u"2:2%1.001"_s, u"2:2%1.1"_s}, {u"1500m"_s, u"4:5%1.3"_s, u"4:5%1.3"_s},
        {u"3000m"_s, u"9:4%1.05"_s, u"9:4%1.1"_s}, {u"10km"_s, u"38:1%1.25"_s, u"0:38:1%1.3"_s}};
    std::vector<std::unique_ptr<QProcess>> tools;
    for (const File& file : files) {
        QFile heat(dir.filePath(file.distance + u".lif"_s));
        ASSERT_TRUE(heat.open(QIODevice::WriteOnly));
        heat.write(u"1,1,1,%1,+0.0\n"_s.arg(file.distance).toUtf8());
        for (int n = 0; n < 10; ++n) {
            heat.write(
                u"%1,%2,%1,Name,Vorname,,%3\n"_s.arg(n + 1).arg(101 + n).arg(file.timed.arg(n)).toUtf8());
        }
        heat.close();
        auto& tool = tools.emplace_back(std::make_unique<QProcess>());
        tool->start(QStringLiteral(VASTREL_CLI), {u"import-times"_s, u"--distance"_s, file.distance,
                                                  u"--replace"_s, heat.fileName(), address, address});
    }
    for (auto& tool : tools) {
        ASSERT_TRUE(tool->waitForFinished(60000));
        EXPECT_EQ(tool->exitCode(), kCliOk) << tool->readAllStandardError().toStdString();
    }
    const QString written = dir.filePath(u"after.csv"_s);
    ASSERT_EQ(Run({u"recalc"_s, address, written}), kCliOk) << errors.toStdString();
    ResultTable after;
    ImportCsvFile(after, written, [](const QString& t) { return t.size() * 100.0; });
    ASSERT_EQ(after.RowCount(), 10);
    for (const File& file : files) {
        for (int n = 0; n < 10; ++n) {
            int row = 1;
            while (row < after.RowCount() && after.CellText(row, u"Nr"_s) != QString::number(101 + n)) {
                ++row;
            }
            EXPECT_EQ(after.CellText(row, file.distance), file.entered.arg(n)) << file.distance.toStdString();
        }
    }
}

TEST_F(ServerCliTest, RecalcAsOfAChangeWritesTheCompetitionAsItStoodThen) {
    ASSERT_EQ(Run({u"recalc"_s, input, address}), kCliOk) << errors.toStdString();
    ASSERT_EQ(Run({u"enter"_s, address, u"--nr"_s, u"102"_s, u"100m=14.2"_s}), kCliOk);
    ASSERT_EQ(Run({u"recalc"_s, address, dir.filePath(u"now.csv"_s)}), kCliOk);
    ASSERT_EQ(Run({u"recalc"_s, u"--as-of"_s, u"999999999"_s, address, dir.filePath(u"replayed.csv"_s)}),
              kCliOk)
        << errors.toStdString();
    EXPECT_EQ(Read(dir.filePath(u"replayed.csv"_s)), Read(dir.filePath(u"now.csv"_s)));
    ASSERT_EQ(Run({u"recalc"_s, u"--as-of"_s, u"01.01.2000 12:00"_s, address, dir.filePath(u"before.csv"_s)}),
              kCliOk);
    EXPECT_FALSE(Read(dir.filePath(u"before.csv"_s)).contains("Berger")); // before the upload

    struct Case {
        QStringList arguments;
        QString problem;
    };
    const std::vector<Case> wrong = {
        {{u"--as-of"_s, u"gestern"_s, address, dir.filePath(u"x.csv"_s)},
         u"vastrel-cli: --as-of erwartet die Nummer einer Änderung oder eine Zeit (TT.MM.JJJJ HH:MM[:SS]): gestern"_s},
        {{u"--as-of"_s, u"5"_s, input, dir.filePath(u"x.csv"_s)},
         u"vastrel-cli: --as-of gilt nur für einen Wettkampf auf einem Server."_s},
    };
    for (const Case& c : wrong) {
        EXPECT_EQ(Run(QStringList{u"recalc"_s} + c.arguments), kCliUsageError);
        EXPECT_EQ(errors.section(u'\n', 0, 0), c.problem);
    }
}

} // namespace

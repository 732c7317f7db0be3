#include "app/TimeImport.h"
#include "EventLoop.h"
#include "GTestPrinters.h"
#include "ScriptedUi.h"
#include "app/TimingFolderWatch.h"
#include "formats/TimingFile.h"
#include "scoring/Scorer.h"
#include "scoring/TimingTime.h"
#include "table/ColumnModel.h"
#include "table/ResultTable.h"

#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace vastrel;
using namespace vastrel::testing;

namespace {

TEST(TimingTimeTest, ATimedTimeTakesItsDistancesFormRoundedUpNeverDown) {
    for (const auto& [group, timed, form] : {
             std::tuple{DistanceGroup::Sprint, u"12.345"_s, std::optional(u"12.4"_s)},
             std::tuple{DistanceGroup::Sprint, u"12.300"_s, std::optional(u"12.3"_s)},
             std::tuple{DistanceGroup::Sprint, u"12.3000001"_s, std::optional(u"12.4"_s)},
             std::tuple{DistanceGroup::Sprint, u"7,85"_s, std::optional(u"7.9"_s)},
             std::tuple{DistanceGroup::Sprint, u"8"_s, std::optional(u"8.0"_s)},
             std::tuple{DistanceGroup::Sprint, u"1:05.23"_s, std::optional(u"65.3"_s)},
             std::tuple{DistanceGroup::Middle, u"1:02.34"_s, std::optional(u"1:02.4"_s)},
             std::tuple{DistanceGroup::Middle, u"62.34"_s, std::optional(u"1:02.4"_s)},
             std::tuple{DistanceGroup::Middle, u"4:59.99"_s, std::optional(u"5:00.0"_s)},
             std::tuple{DistanceGroup::Middle, u"0:15:02.1"_s, std::optional(u"15:02.1"_s)},
             std::tuple{DistanceGroup::TenKm, u"0:38:12.345"_s, std::optional(u"0:38:12.4"_s)},
             std::tuple{DistanceGroup::TenKm, u"38:12.3"_s, std::optional(u"0:38:12.3"_s)},
             std::tuple{DistanceGroup::TenKm, u"1:02:03"_s, std::optional(u"1:02:03.0"_s)},
             std::tuple{DistanceGroup::Sprint, u""_s, std::optional<QString>()},
             std::tuple{DistanceGroup::Sprint, u"DNF"_s, std::optional<QString>()},
             std::tuple{DistanceGroup::Middle, u"1:75.2"_s, std::optional<QString>()},
             std::tuple{DistanceGroup::Middle, u"1:2:3:4"_s, std::optional<QString>()},
             std::tuple{DistanceGroup::Sprint, u"-12.3"_s, std::optional<QString>()},
             std::tuple{DistanceGroup::Sprint, u"12.3.4"_s, std::optional<QString>()},
             std::tuple{DistanceGroup::Sprint, u"99999999999.1"_s, std::optional<QString>()},
         }) {
        EXPECT_EQ(TimeInEntryForm(group, timed), form) << timed.toStdString();
    }
}

TEST(TimingFileTest, APhotoFinishHeatAndATextListAreReadLineByLine) {
    const TimingFile heat = ReadTimingFile("\xEF\xBB\xBF" // a byte-order mark
                                           "12,1,2,100m M\xC3\xA4nner,+0.8,,,\r\n"
                                           "1,101,4,Adler,Bernd,LG Nord,12.345,,\r\n"
                                           "2,102,5,\"Berger, Dr.\",Clara,,12.9\r\n"
                                           "DNS,103,6,Czech,Dieter,,,\r\n"
                                           "DQ,104,3,Dorn,Erika,,13.01\r\n"
                                           "kaputt\r\n");
    EXPECT_EQ(heat.eventName, u"100m Männer"_s);
    EXPECT_EQ(heat.entries, (std::vector<TimingEntry>{{2, u"101"_s, u"12.345"_s, {}, u"Adler, Bernd"_s},
                                                      {3, u"102"_s, u"12.9"_s, {}, u"Berger, Dr., Clara"_s},
                                                      {4, u"103"_s, {}, u"DNS"_s, u"Czech, Dieter"_s},
                                                      {5, u"104"_s, {}, u"DQ"_s, u"Dorn, Erika"_s}}));
    EXPECT_EQ(heat.unread, (std::vector<UnreadTimingLine>{{6, u"kaputt"_s}}));

    const TimingFile list =
        ReadTimingFile("\nStartnummer;Name;ZEIT\n101;Adler;4:05,3\n102;B\xF6hm;DNF\n;x;1\n");
    EXPECT_EQ(list.entries, (std::vector<TimingEntry>{{3, u"101"_s, u"4:05,3"_s, {}, u"Adler"_s},
                                                      {4, u"102"_s, {}, u"DNF"_s, u"Böhm"_s}}));
    EXPECT_EQ(list.unread, (std::vector<UnreadTimingLine>{{5, u";x;1"_s}}));
    EXPECT_EQ(ReadTimingFile("Bib,Time\n7,12.3").entries.size(), 1u);
    EXPECT_TRUE(ReadTimingFile({}).entries.empty());
}

TEST(TimeImportTest, TheDistanceIsTakenFromTheEventNameWhereItNamesOne) {
    for (const auto& [name, distance] :
         {std::pair{u"100m Männer Vorlauf"_s, std::optional(u"100m"_s)},
          std::pair{u"1500 m Frauen"_s, std::optional(u"1500m"_s)},
          std::pair{u"60 Meter"_s, std::optional(u"60m"_s)},
          std::pair{u"10 km Straße"_s, std::optional(u"10km"_s)},
          std::pair{u"10000m"_s, std::optional(u"10km"_s)}, std::pair{u"1000m"_s, std::optional(u"1000m"_s)},
          std::pair{u"110m Hürden"_s, std::optional<QString>()},
          std::pair{u"100m und 200m"_s, std::optional<QString>()},
          std::pair{u"Weitsprung"_s, std::optional<QString>()},
          std::pair{QString(), std::optional<QString>()}}) {
        EXPECT_EQ(DistanceOfEventName(name), distance) << name.toStdString();
    }
}

TEST(TimeImportTest, EachTimeGoesToItsRowAndEveryRefusalIsNamedBeforeAnythingIsWritten) {
    ResultTable table;
    DefineColumns(table, [](const QString& t) { return t.size() * 100.0; });
    table.AddRow(u"1\t2026\t1\tm\t101\tAdler, Bernd\t1950"_s);
    table.AddRow(u"1\t2026\t2\tw\t102\tBerger, Clara\t1946"_s);
    table.AddRow(u"2\t2026\t3\tm\t102\tCzech, Dieter\t1960"_s); // 102 once more, in run 2
    table.AddRow(u"1\t2026\t4\tw\t105\tDorn, Erika\t1970"_s);
    table.AddRow(u"1\t2026\t5\tm\t108\tEck, Frieda\t1980"_s);
    table.AddRow(u"1\t2026\t6\tm\t109\tFuchs, Gerd\t1955"_s);
    table.SetCellText(4, u"60m"_s, u"9.0"_s);
    const TimingFile file =
        ReadTimingFile("Nr;Zeit\n101;8.12\n102;9.01\n105;8.81\n106;8.1\n107;8.1\n107;8.2\n"
                       "108;DNS\n109;8:1x\nkaputt\n");
    const TimeImportPlan plan = PlanTimeImport(table, file, u"60m"_s, {});
    EXPECT_EQ(TimeImportSummary(plan),
              u"60m: 1 Zeit(en) einzutragen, 1 ersetzen eine andere, 0 unverändert.\r\n"
              u"Ersetzt werden:\r\n"
              u"  Nr 105 Dorn, Erika: 9.0 → 8.9\r\n"
              u"Startnummern nicht gefunden: 1\r\n"
              u"  Zeile 5: Nr 106\r\n"
              u"Ohne Zeit (DNS, DNF, DQ …): 1\r\n"
              u"  Zeile 8: Nr 108 – DNS\r\n"
              u"Nicht übernommen: 5\r\n"
              u"  Zeile 3: Nr 102 9.01 – Startnummer in 2 Zeilen; bitte den Lauf angeben\r\n"
              u"  Zeile 6: Nr 107 8.1 – Startnummer mehrfach in der Datei\r\n"
              u"  Zeile 7: Nr 107 8.2 – Startnummer mehrfach in der Datei\r\n"
              u"  Zeile 9: Nr 109 8:1x – keine lesbare Zeit\r\n"
              u"  Zeile 10: kaputt – nicht zu lesen"_s);

    EXPECT_TRUE(TimeImportSummary(plan, 2).endsWith(
        u"Nicht übernommen: 5\r\n"
        u"  Zeile 3: Nr 102 9.01 – Startnummer in 2 Zeilen; bitte den Lauf angeben\r\n"
        u"  Zeile 6: Nr 107 8.1 – Startnummer mehrfach in der Datei\r\n"
        u"  … und 3 weitere"_s));

    ScriptedUi ui;
    Scorer scorer(table, ui);
    EXPECT_EQ(ApplyTimeImport(table, scorer, PlanTimeImport(table, file, u"60m"_s, u"1"_s), false), 2);
    EXPECT_EQ(table.CellText(1, u"60m"_s), u"8.2"_s);
    EXPECT_EQ(table.CellText(2, u"60m"_s), u"9.1"_s); // run 1's 102
    EXPECT_EQ(table.CellText(3, u"60m"_s), QString());
    EXPECT_EQ(table.CellText(4, u"60m"_s), u"9.0"_s); // a different time stays unless asked
    EXPECT_EQ(table.CellText(5, u"60m"_s), QString());
    EXPECT_FALSE(table.CellText(1, u"Punkte1"_s).isEmpty());
}

// A file written in three pieces, slower than a moment apart from each other: read once, whole;
// saved again unchanged: not again; what the folder held before watching: not at all.
TEST(TimingFolderWatchTest, AFileIsReadOnceItStopsGrowingAndOnceForEachContent) {
    EnsureApplication();
    QTemporaryDir folder;
    const auto write = [&](const QString& file, const QByteArray& bytes, QIODevice::OpenMode mode) {
        QFile out(folder.filePath(file));
        ASSERT_TRUE(out.open(mode));
        out.write(bytes);
    };
    write(u"alt.lif"_s, "1,1,1,60m\n", QIODevice::WriteOnly);
    TimingFolderWatch watch(300);
    std::vector<std::pair<QString, QByteArray>> ready;
    watch.OnFileReady([&](const QString& path, const QByteArray& bytes) { ready.emplace_back(path, bytes); });
    watch.Watch(folder.path());
    const auto wait = [](int milliseconds) {
        RunEventsFor(milliseconds);
    };
    write(u"lauf1.lif"_s, "3,1,1,100m\n", QIODevice::WriteOnly);
    wait(150);
    write(u"lauf1.lif"_s, "1,101,1,A,B,,12.3\n", QIODevice::Append);
    wait(150);
    write(u"lauf1.lif"_s, "2,102,2,C,D,,12.4\n", QIODevice::Append);
    EXPECT_TRUE(ready.empty());
    wait(1200);
    ASSERT_EQ(ready.size(), 1u);
    EXPECT_EQ(ready[0].first, folder.filePath(u"lauf1.lif"_s));
    EXPECT_EQ(ready[0].second, QByteArray("3,1,1,100m\n1,101,1,A,B,,12.3\n2,102,2,C,D,,12.4\n"));

    QThread::msleep(20); // another modification time, the same content
    write(u"lauf1.lif"_s, ready[0].second, QIODevice::WriteOnly);
    wait(1000);
    EXPECT_EQ(ready.size(), 1u);
    write(u"lauf1.lif"_s, "2,102,2,C,D,,12.5\n", QIODevice::Append);
    wait(1000);
    ASSERT_EQ(ready.size(), 2u);
    EXPECT_TRUE(ready[1].second.endsWith("12.5\n"));
}

} // namespace

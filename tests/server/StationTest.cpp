#include "../app/FakeToolbar.h"
#include "../app/NoWindow.h"
#include "GTestPrinters.h"
#include "ScriptedUi.h"
#include "TestServer.h"
#include "app/CommandDispatcher.h"
#include "app/CommandKeys.h"
#include "app/GridCommands.h"
#include "app/UndoStack.h"
#include "ports/MainWindowState.h"
#include "ports/Settings.h"
#include "ports/Toolbar.h"
#include "scoring/Scorer.h"
#include "server/ServerCompetition.h"
#include "server/ServerConnection.h"
#include "table/ColumnModel.h"
#include "table/ResultTable.h"
#include "table/TableView.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace vastrel;
using namespace vastrel::testing;

namespace {

// One window's worth of station: its table, undo, the commands and a scripted screen.
struct Window {
    // `queueFolder`: where what is not yet on the server is kept (none: in memory alone).
    explicit Window(const QString& name, const QString& queueFolder = {})
        : station(name), places(QueueIn(queueFolder, pages.path())) {
        DefineColumns(table, [](const QString& t) { return t.size() * 100.0; });
    }
    void Type(int row, const char16_t* key, const QString& text) {
        grid.EditCell(row, table.ColumnNumber(key), text);
    }
    QString Cell(int row, const char16_t* key) const { return table.CellText(row, key); }
    void Login(const ServerAddress& address) {
        ui.AnswerServerLogin(ServerLogin{address.host, address.port, address.database, address.user,
                                         address.password, station});
    }
    void Menu(const char16_t* item) {
        commands.MenuItemClick(toolbar.IndexOf(QString::fromUtf16(keys::kDatabase)),
                               QString::fromUtf16(item));
    }

    static Places QueueIn(const QString& folder, const QString& reports) {
        Places places;
        places.recoveryFolder = folder;
        places.reportFolder = reports;
        return places;
    }

    QString station;
    QTemporaryDir pages;
    Places places;
    ScriptedUi ui;
    ResultTable table;
    TableView view{table};
    MainWindowState state;
    MemorySettings settings;
    UndoStack undo{view, state};
    Scorer scorer{table, ui, &view};
    NoWindow window;
    FakeToolbar toolbar;
    CommandDispatcher commands{view, scorer, ui, toolbar, state, places, &window, &settings, nullptr, &undo};
    GridCommands grid{view, scorer, ui, state, window, &undo};
};

// Runs the event loop until the condition holds: notifications and queued sends come through it.
bool Until(const std::function<bool()>& condition) {
    QElapsedTimer waited;
    waited.start();
    while (!condition() && waited.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return condition();
}

class StationTest : public ::testing::Test {
protected:
    void SetUp() override {
        start.table.AddRow(u"1\t2026\t1\tm\t101\tAdler, Bernd\t1950"_s);
        start.table.AddRow(u"1\t2026\t2\tw\t102\tBerger, Clara\t1946"_s);
        start.Login(address);
        start.ui.AnswerInput(u"Lauf 2026"_s);
        start.Menu(keys::kServerCreate);
        ASSERT_EQ(start.state.onServer, u"Lauf 2026 @ 127.0.0.1"_s);
        finish.Login(address);
        finish.ui.AnswerChoice(0);
        finish.Menu(keys::kServerConnect);
        ASSERT_EQ(finish.table.RowCount(), 2);
    }

    ServerAddress address = FreshDatabase();
    Window start{u"Start"_s};
    Window finish{u"Ziel"_s};
};

TEST_F(StationTest, ATypedTimeReachesTheOtherStationScoredThere) {
    EXPECT_EQ(finish.ui.ChoicesShown(), (std::vector<QStringList>{{u"Lauf 2026"_s, u"Datei öffnen …"_s}}));
    finish.view.SetCurrentRow(2);
    start.Type(1, u"60m", u"8.1"_s);
    ASSERT_TRUE(Until([&] { return finish.Cell(1, u"Punkte1") == start.Cell(1, u"Punkte1"); }));
    EXPECT_EQ(finish.Cell(1, u"60m"), u"8.1"_s);
    EXPECT_EQ(finish.Cell(1, u"Gesamt"), start.Cell(1, u"Gesamt"));
    EXPECT_EQ(finish.view.CurrentRow(), 2); // the other station's cursor stays where it was
    EXPECT_EQ(finish.undo.Count(), 1u);     // the open; what came in is not this station's to undo
    EXPECT_TRUE(start.undo.IsClean());      // everything typed is on the server
    EXPECT_TRUE(start.ui.StatusText(StatusPanel::File).startsWith(u"Lauf 2026 @ 127.0.0.1 · "_s))
        << start.ui.StatusText(StatusPanel::File).toStdString();
    EXPECT_EQ(finish.state.stations, (QStringList{u"Start"_s, u"Ziel"_s})); // what "Info" lists
}

TEST_F(StationTest, ACellChangedAndChangedBackBetweenTwoLooksIsShownAsItEnded) {
    ServerConnection other;
    ASSERT_TRUE(other.Open(address, u"Bahn"_s, nullptr));
    ServerCompetition competition(other);
    TableData data;
    ASSERT_TRUE(competition.Open(u"Lauf 2026"_s, data, nullptr));
    const RowId id = finish.table.IdOf(1);
    const QString points = finish.Cell(1, u"Punkte1"), total = finish.Cell(1, u"Gesamt");
    for (const QString& text : {u"8.1"_s, QString()}) {
        const std::vector<TypedCell> typed = {{9, text, std::nullopt}};
        ASSERT_EQ(competition.Enter(id, typed, true).status, EnterResult::Status::Entered);
    }
    ASSERT_TRUE(finish.commands.Station().Sync().CatchUp());
    EXPECT_EQ(finish.Cell(1, u"60m"), QString());
    EXPECT_EQ(finish.Cell(1, u"Punkte1"), points);
    EXPECT_EQ(finish.Cell(1, u"Gesamt"), total);
}

TEST_F(StationTest, ACellAnotherStationChangedMeanwhileIsAskedAboutWithBothTexts) {
    // Another station writes the time; this one types before it has heard of it.
    ServerConnection other;
    ASSERT_TRUE(other.Open(address, u"Bahn"_s, nullptr));
    ServerCompetition competition(other);
    TableData data;
    ASSERT_TRUE(competition.Load(u"Lauf 2026"_s, data, nullptr));
    const std::vector<TypedCell> typed = {{finish.table.ColumnNumber(u"60m") - 1, u"8.1"_s, 0}};
    ASSERT_EQ(competition.Enter(data.rows[0].id, typed, false).status, EnterResult::Status::Entered);
    finish.ui.AnswerBox(MessageAnswer::No);
    finish.Type(1, u"60m", u"8.3"_s);
    EXPECT_TRUE(finish.commands.Station().Sync().SendChanges());
    ASSERT_EQ(finish.ui.Boxes().size(), 1u);
    EXPECT_EQ(finish.ui.Boxes()[0].text,
              u"Zeile 1 (Adler, Bernd) wurde inzwischen an einer anderen Station geändert:\r\n"
              u"\"60m\": Station \"Bahn\" hat \"8.1\" eingetragen, hier steht \"8.3\".\r\n\r\n"
              u"Soll der Text dieser Station gelten? \"Nein\" übernimmt den der anderen Station."_s);
    EXPECT_EQ(finish.ui.Boxes()[0].title, u"Konflikt"_s);
    EXPECT_EQ(finish.Cell(1, u"60m"), u"8.1"_s);
    EXPECT_FALSE(finish.Cell(1, u"Punkte1").isEmpty()); // the other station's time, scored
}

TEST_F(StationTest, ACellTypedWhileTheConnectionWasGoneIsAskedAboutWhenAnotherStationChangedIt) {
    ServerConnection other;
    ASSERT_TRUE(other.Open(address, u"Bahn"_s, nullptr));
    ServerCompetition competition(other);
    TableData data;
    ASSERT_TRUE(competition.Load(u"Lauf 2026"_s, data, nullptr));
    QSqlQuery cut(other.Database());
    ASSERT_TRUE(cut.exec(u"SELECT pg_terminate_backend(pid) FROM pg_stat_activity "
                         u"WHERE datname = current_database() AND pid <> pg_backend_pid()"_s));
    const std::vector<TypedCell> typed = {{finish.table.ColumnNumber(u"60m") - 1, u"8.1"_s, std::nullopt}};
    ASSERT_EQ(competition.Enter(data.rows[0].id, typed, true).status, EnterResult::Status::Entered);

    finish.ui.AnswerBox(MessageAnswer::No);
    finish.Type(1, u"60m", u"8.3"_s);
    const int sixty = finish.table.ColumnNumber(u"60m") - 1;
    EXPECT_TRUE(finish.commands.Station().Sync().Waits(finish.table.IdOf(1), sixty)); // marked in the grid
    EXPECT_FALSE(finish.commands.Station().Sync().Waits(finish.table.IdOf(1), sixty + 2));
    // The send fails, the connection is made again, the station catches up, sends again: asked.
    EXPECT_TRUE(finish.commands.Station().Sync().SendChanges());
    EXPECT_FALSE(finish.commands.Station().Sync().Waits(finish.table.IdOf(1), sixty));
    ASSERT_EQ(finish.ui.Boxes().size(), 1u);
    EXPECT_TRUE(finish.ui.Boxes()[0].text.startsWith(u"Zeile 1 (Adler, Bernd) wurde inzwischen"_s));
    EXPECT_EQ(finish.Cell(1, u"60m"), u"8.1"_s);
    ASSERT_TRUE(competition.Load(u"Lauf 2026"_s, data, nullptr));
    EXPECT_EQ(data.rows[0].data.cells.At(static_cast<std::size_t>(finish.table.ColumnNumber(u"60m") - 1)),
              u"8.1");
}

TEST_F(StationTest, WhatAStationHadNotSentWhenItDiedGoesFromItsDiskAtTheNextConnection) {
    QTemporaryDir folder;
    auto died = std::make_unique<Window>(u"Bahn"_s, folder.path());
    died->Login(address);
    died->ui.AnswerChoice(0);
    died->Menu(keys::kServerConnect);
    died->Type(1, u"60m", u"8.3"_s);
    died->commands.MenuItemClick(died->toolbar.IndexOf(QString::fromUtf16(keys::kEdit)),
                                 QString::fromUtf16(keys::kAppendRow));
    died->Type(3, u"Name Vorname", u"Clown, Karl"_s);
    died->ui.AnswerInput(u"Sommerlauf"_s);
    died->grid.CaptionClick();
    died.reset(); // before its send came round
    start.Type(1, u"60m", u"8.1"_s);
    ASSERT_TRUE(start.commands.Station().Sync().SendChanges());

    Window again{u"Bahn"_s, folder.path()};
    again.Login(address);
    again.ui.AnswerChoice(0).AnswerBox(MessageAnswer::Yes);
    again.Menu(keys::kServerConnect);
    EXPECT_EQ(again.table.RowCount(), 3);
    EXPECT_EQ(again.Cell(1, u"60m"), u"8.3"_s);
    EXPECT_EQ(again.table.Caption(), u"Sommerlauf"_s);
    EXPECT_TRUE(again.commands.Station().Sync().SendChanges());
    ASSERT_EQ(again.ui.Boxes().size(), 1u);
    EXPECT_TRUE(again.ui.Boxes()[0].text.contains(u"\"60m\": Station \"Start\" hat \"8.1\" eingetragen, "
                                                  u"hier steht \"8.3\"."_s))
        << again.ui.Boxes()[0].text.toStdString();
    EXPECT_FALSE(QFile::exists(again.commands.Station().Sync().Queue().Path()));
    ASSERT_TRUE(Until([&] { return start.table.RowCount() == 3 && start.Cell(1, u"60m") == u"8.3"; }));
    EXPECT_EQ(start.Cell(3, u"Name Vorname"), u"Clown, Karl"_s);
    ASSERT_TRUE(Until([&] { return start.state.baseCaption == u"Sommerlauf"; }));
}

TEST_F(StationTest, AStationStartedWhileTheServerIsGoneWorksOnItsCopyAndSendsOnceItAnswers) {
    QTemporaryDir folder;
    auto before = std::make_unique<Window>(u"Bahn"_s, folder.path());
    before->Login(address);
    before->ui.AnswerChoice(0);
    before->Menu(keys::kServerConnect);
    before.reset(); // the laptop's battery
    start.Type(1, u"60m", u"8.1"_s);
    ASSERT_TRUE(start.commands.Station().Sync().SendChanges());
    ServerConnection admin;
    ASSERT_TRUE(admin.Open(address, u"Verwaltung"_s, nullptr));
    QSqlQuery query(admin.Database());
    ASSERT_TRUE(query.exec(u"ALTER DATABASE %1 CONNECTION LIMIT 0"_s.arg(address.database)));

    Window again{u"Bahn"_s, folder.path()};
    again.Login(address);
    again.ui.AnswerChoice(0);
    again.Menu(keys::kServerConnect);
    ASSERT_EQ(again.ui.ChoicesShown().size(), 1u);
    EXPECT_TRUE(again.ui.ChoicesShown()[0].value(0).startsWith(u"Lauf 2026 (Stand "_s))
        << again.ui.ChoicesShown()[0].join(u'|').toStdString();
    ASSERT_EQ(again.table.RowCount(), 2);
    EXPECT_EQ(again.state.onServer, u"Lauf 2026 @ 127.0.0.1"_s);
    EXPECT_TRUE(again.undo.IsClean());
    EXPECT_EQ(again.Cell(1, u"60m"), QString()); // as this station last saw it
    again.Type(1, u"60m", u"8.2"_s);
    again.Type(2, u"1500m", u"5:01.0"_s);
    again.commands.MenuItemClick(again.toolbar.IndexOf(QString::fromUtf16(keys::kEdit)),
                                 QString::fromUtf16(keys::kAppendRow));
    again.Type(3, u"Name Vorname", u"Clown, Karl"_s);
    EXPECT_TRUE(again.ui.StatusText(StatusPanel::File).contains(u"keine Verbindung zum Server"_s))
        << again.ui.StatusText(StatusPanel::File).toStdString();

    ASSERT_TRUE(query.exec(u"ALTER DATABASE %1 CONNECTION LIMIT -1"_s.arg(address.database)));
    again.ui.AnswerBox(MessageAnswer::Yes); // 8.2 over the 8.1 it never saw
    ASSERT_TRUE(Until([&] { return start.Cell(1, u"60m") == u"8.2" && start.table.RowCount() == 3; }));
    ASSERT_EQ(again.ui.Boxes().size(), 1u);
    EXPECT_TRUE(again.ui.Boxes()[0].text.contains(u"\"60m\": Station \"Start\" hat \"8.1\" eingetragen, "
                                                  u"hier steht \"8.2\"."_s))
        << again.ui.Boxes()[0].text.toStdString();
    EXPECT_EQ(start.Cell(2, u"1500m"), u"5:01.0"_s);
    EXPECT_EQ(start.Cell(3, u"Name Vorname"), u"Clown, Karl"_s);
    EXPECT_FALSE(QFile::exists(again.commands.Station().Sync().Queue().Path()));
}

TEST_F(StationTest, AReadOnlyLoginFollowsAndPrintsButEveryChangingCommandIsDisabledSayingWhy) {
    Window display{u"Anzeige"_s};
    ServerAddress reading = address;
    reading.user = u"vastrel_lesen"_s;
    display.Login(reading);
    display.ui.AnswerChoice(0);
    display.Menu(keys::kServerConnect);
    ASSERT_EQ(display.table.RowCount(), 2);
    const QString why =
        u"Die Anmeldung als \"vastrel_lesen\" darf auf dem Server \"127.0.0.1\" nur lesen, nichts ändern."_s;
    for (const char16_t* key :
         {keys::kServerCreate, keys::kAgeFactorsWith, keys::kAgeFactorsWithout, keys::kRecalculate,
          keys::kDeleteRows, keys::kAppendRow, keys::kClearRunData}) {
        const QString item = QString::fromUtf16(key);
        EXPECT_FALSE(display.toolbar.enabledItems.value(item, true)) << item.toStdString();
        EXPECT_EQ(display.toolbar.toolTips.value(item), why) << item.toStdString();
        EXPECT_TRUE(start.toolbar.enabledItems.value(item, true)) << item.toStdString();
        EXPECT_EQ(start.toolbar.toolTips.value(item), QString());
    }
    EXPECT_TRUE(
        display.ui.StatusText(StatusPanel::File).startsWith(u"Lauf 2026 @ 127.0.0.1 · nur lesen · "_s))
        << display.ui.StatusText(StatusPanel::File).toStdString();

    display.Type(1, u"60m", u"9.9"_s);
    display.grid.ClearCells(1, {display.table.ColumnNumber(u"Name Vorname")});
    display.view.SelectRows(1, 1);
    display.commands.RowMenuItemClick(0);
    display.commands.MenuItemClick(display.toolbar.IndexOf(QString::fromUtf16(keys::kEdit)),
                                   QString::fromUtf16(keys::kAppendRow));
    EXPECT_EQ(display.ui.StatusText(StatusPanel::Status), why + u"  "_s);
    EXPECT_EQ(display.table.RowCount(), 2);
    EXPECT_EQ(display.Cell(1, u"60m"), QString());
    EXPECT_EQ(display.Cell(1, u"Name Vorname"), u"Adler, Bernd"_s);
    EXPECT_EQ(display.ui.Boxes().size(), 0u);
    display.commands.MenuItemClick(display.toolbar.IndexOf(QString::fromUtf16(keys::kPrint)),
                                   QString::fromUtf16(keys::kPrintAll));
    EXPECT_EQ(display.ui.ShownReports().size(), 1u);

    start.Type(1, u"60m", u"8.1"_s);
    ASSERT_TRUE(Until([&] { return display.Cell(1, u"60m") == u"8.1"; }));
    EXPECT_EQ(display.Cell(1, u"Gesamt"), start.Cell(1, u"Gesamt"));
}

TEST_F(StationTest, ARowsHistoryIsItsChangeLogWithEachStationNewestFirst) {
    start.Type(1, u"60m", u"8.1"_s);
    ASSERT_TRUE(start.commands.Station().Sync().SendChanges());
    finish.Type(1, u"1500m", u"4:30.2"_s);
    ASSERT_TRUE(finish.commands.Station().Sync().SendChanges());
    finish.view.SetCurrentRow(1);
    finish.commands.RowMenuItemClick(4);
    ASSERT_EQ(finish.ui.ShownReports().size(), 1u);
    QFile page(finish.ui.ShownReports()[0]);
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(page.readAll());
    const qsizetype ours = html.indexOf(u"<td>Ziel</td><td>1500m</td><td></td><td>4:30.2</td>"_s);
    const qsizetype theirs = html.indexOf(u"<td>Start</td><td>60m</td><td></td><td>8.1</td>"_s);
    EXPECT_TRUE(html.contains(u"<h2>Verlauf von Zeile 1 (Adler, Bernd)</h2>"_s));
    EXPECT_GT(ours, 0) << html.toStdString();
    EXPECT_GT(theirs, ours); // newest first
    EXPECT_GT(html.indexOf(u"Zeile angelegt"_s), theirs);
}

TEST_F(StationTest, AServerThatRefusesTheWriteIsSaidOnceAndTheCellWaitsForIt) {
    ServerConnection other;
    ASSERT_TRUE(other.Open(address, u"Bahn"_s, nullptr));
    QSqlQuery refuse(other.Database());
    ASSERT_TRUE(refuse.exec(u"CREATE FUNCTION test_refuse() RETURNS trigger LANGUAGE plpgsql AS "
                            u"$$ BEGIN RAISE EXCEPTION 'Kein Platz auf dem Datenträger'; END $$"_s));
    ASSERT_TRUE(refuse.exec(u"CREATE TRIGGER test_refuse BEFORE UPDATE ON vastrel_rows "
                            u"FOR EACH ROW EXECUTE FUNCTION test_refuse()"_s));
    StationSync& sync = finish.commands.Station().Sync();
    const int sixty = finish.table.ColumnNumber(u"60m") - 1;
    finish.Type(1, u"60m", u"8.3"_s);
    finish.ui.AnswerBox(MessageAnswer::Ok);
    EXPECT_FALSE(sync.SendChanges());
    EXPECT_FALSE(sync.SendChanges()); // the next poll: not said again
    ASSERT_EQ(finish.ui.Boxes().size(), 1u);
    EXPECT_TRUE(finish.ui.Boxes()[0].text.startsWith(u"Der Server hat die Änderung nicht angenommen:\r\n"_s));
    EXPECT_TRUE(finish.ui.Boxes()[0].text.contains(u"Kein Platz auf dem Datenträger"_s))
        << finish.ui.Boxes()[0].text.toStdString();
    EXPECT_TRUE(finish.ui.Boxes()[0].text.endsWith(
        u"\r\n\r\nSie bleibt an dieser Station und wird wieder gesendet."_s));
    EXPECT_TRUE(sync.Waits(finish.table.IdOf(1), sixty));

    ASSERT_TRUE(refuse.exec(u"DROP TRIGGER test_refuse ON vastrel_rows"_s));
    EXPECT_TRUE(sync.SendChanges());
    EXPECT_FALSE(sync.Waits(finish.table.IdOf(1), sixty));
    ASSERT_TRUE(Until([&] { return start.Cell(1, u"60m") == u"8.3"; }));
}

TEST_F(StationTest, UndoPutsBackOnlyWhatThisStationWroteAndAsksAboutTheRest) {
    start.Type(1, u"60m", u"8.1"_s);
    ASSERT_TRUE(Until([&] { return finish.Cell(1, u"60m") == u"8.1"; }));
    finish.Type(1, u"60m", u"8.4"_s);
    ASSERT_TRUE(Until([&] { return start.Cell(1, u"60m") == u"8.4"; }));
    start.ui.AnswerBox(MessageAnswer::No);
    start.undo.Undo();
    ASSERT_TRUE(Until([&] { return !start.ui.Boxes().empty(); }));
    EXPECT_TRUE(start.ui.Boxes()[0].text.contains(
        u"\"60m\": Station \"Ziel\" hat \"8.4\" eingetragen, hier steht \"\"."_s))
        << start.ui.Boxes()[0].text.toStdString();
    EXPECT_EQ(start.Cell(1, u"60m"), u"8.4"_s);
    ASSERT_TRUE(Until([&] { return finish.undo.IsClean(); }));
    finish.undo.Undo(); // its own text still stands: put back without a question
    ASSERT_TRUE(Until([&] { return start.Cell(1, u"60m") == u"8.1"; }));
    EXPECT_TRUE(finish.ui.Boxes().empty());
}

TEST_F(StationTest, RowsAddedAndRemovedReachTheOtherStation) {
    const auto rowOf = [](const Window& window, const QString& name) {
        for (int row = 1; row <= window.table.RowCount(); ++row) {
            if (window.Cell(row, u"Name Vorname") == name) {
                return row;
            }
        }
        return 0;
    };
    start.commands.MenuItemClick(start.toolbar.IndexOf(QString::fromUtf16(keys::kEdit)),
                                 QString::fromUtf16(keys::kAppendRow));
    start.Type(3, u"Name Vorname", u"Czech, Dieter"_s);
    finish.commands.MenuItemClick(finish.toolbar.IndexOf(QString::fromUtf16(keys::kEdit)),
                                  QString::fromUtf16(keys::kAppendRow));
    finish.Type(3, u"Name Vorname", u"Dorn, Eva"_s);
    // Each station adds at its own end, under an id of a block the server gave it alone.
    ASSERT_TRUE(
        Until([&] { return rowOf(finish, u"Czech, Dieter"_s) == 4 && rowOf(start, u"Dorn, Eva"_s) == 4; }));
    EXPECT_EQ(start.table.IdOf(3), finish.table.IdOf(4));
    EXPECT_EQ(start.table.IdOf(4), finish.table.IdOf(3));

    finish.view.SelectRows(4, 4);
    finish.view.SetCurrentRow(4);
    finish.ui.AnswerBoxes(1, MessageAnswer::Yes);
    finish.commands.RowMenuItemClick(0);
    ASSERT_TRUE(Until([&] { return start.table.RowCount() == 3; }));
    EXPECT_EQ(rowOf(start, u"Czech, Dieter"_s), 0);
    EXPECT_EQ(rowOf(start, u"Dorn, Eva"_s), 3);
}

TEST_F(StationTest, ACommandOverEveryRowIsSentAtOnceAndScoringSpeaksOnce) {
    start.Type(1, u"mw", QString());
    start.ui.AnswerBox();
    start.Type(1, u"60m", u"8.1"_s);
    ASSERT_TRUE(Until([&] { return finish.Cell(1, u"60m") == u"8.1"; }));
    ASSERT_EQ(start.ui.Boxes().size(), 1u); // the row's own scoring said it; the server's does not again
    EXPECT_EQ(start.ui.Boxes()[0].text, u"Vorgabe männlich oder weiblich fehlt! m/w?   "_s);

    start.ui.AnswerBox(MessageAnswer::No); // recalculate? not now
    start.commands.MenuItemClick(start.toolbar.IndexOf(QString::fromUtf16(keys::kEdit)),
                                 QString::fromUtf16(keys::kAgeFactorsWith));
    EXPECT_EQ(start.commands.Station().Sync().Unsent(), 2);
    ASSERT_TRUE(Until([&] { return start.commands.Station().Sync().Unsent() == 0; }));
    ASSERT_TRUE(Until([&] { return finish.Cell(2, u"AF") == start.Cell(2, u"AF"); }));
    EXPECT_FALSE(finish.Cell(2, u"AF").isEmpty());
    EXPECT_EQ(start.ui.Boxes().size(), 2u);
}

TEST_F(StationTest, TheEventsNameIsSharedAndEachWindowKeepsItsDayInTheTitle) {
    finish.commands.MenuItemClick(finish.toolbar.IndexOf(QString::fromUtf16(keys::kView)),
                                  QString::fromUtf16(keys::kViewDay2));
    start.ui.AnswerInput(u"Sommerlauf"_s);
    start.grid.CaptionClick();
    ASSERT_TRUE(Until([&] { return finish.state.baseCaption == u"Sommerlauf"; }));
    EXPECT_EQ(finish.table.Caption(), u"Sommerlauf - 2.Tag"_s);
    EXPECT_EQ(finish.undo.Count(), 1u); // the open: another station's name is not this one's to undo

    // Named here before this station heard of another name: asked, and "Nein" takes theirs.
    ServerConnection other;
    ASSERT_TRUE(other.Open(address, u"Bahn"_s, nullptr));
    ServerCompetition competition(other);
    TableData data;
    ASSERT_TRUE(competition.Open(u"Lauf 2026"_s, data, nullptr));
    ASSERT_EQ(competition.SetEventName(u"Herbstlauf"_s, u"Sommerlauf"_s, false).status,
              EventNameResult::Status::Set);
    finish.ui.AnswerInput(u"Winterlauf"_s).AnswerBox(MessageAnswer::No);
    finish.grid.CaptionClick();
    finish.commands.Station().Sync().SendChanges();
    ASSERT_EQ(finish.ui.Boxes().size(), 1u);
    EXPECT_EQ(finish.ui.Boxes()[0].text,
              u"Der Name der Veranstaltung wurde inzwischen an einer anderen Station geändert:\r\n"
              u"Station \"Bahn\" hat \"Herbstlauf\" eingetragen, hier steht \"Winterlauf\".\r\n\r\n"
              u"Soll der Text dieser Station gelten? \"Nein\" übernimmt den der anderen Station."_s);
    EXPECT_EQ(finish.table.Caption(), u"Herbstlauf - 2.Tag"_s);
    ASSERT_TRUE(Until([&] { return start.table.Caption() == u"Herbstlauf"; }));

    Window later{u"Druck"_s};
    later.Login(address);
    later.ui.AnswerChoice(0);
    later.Menu(keys::kServerConnect);
    EXPECT_EQ(later.state.baseCaption, u"Herbstlauf"_s);
    EXPECT_EQ(later.table.Caption(), u"Herbstlauf"_s);
}

} // namespace

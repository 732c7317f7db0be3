#include "EventLoop.h"
#include "FakeToolbar.h"
#include "GTestPrinters.h"
#include "NoWindow.h"
#include "ScriptedUi.h"
#include "app/CommandDispatcher.h"
#include "app/GridCommands.h"
#include "app/UndoStack.h"
#include "ports/MainWindowState.h"
#include "scoring/Recalculation.h"
#include "scoring/Scorer.h"
#include "table/ColumnModel.h"
#include "table/CompetitionLayout.h"
#include "table/ResultTable.h"
#include "table/TableView.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace vastrel;
using namespace vastrel::testing;

namespace {

// Everything a step may change, as text: cells, flags, order, title line, event, cursor.
QStringList Snapshot(const TableView& view, const MainWindowState& state) {
    const ResultTable& table = view.Table();
    QStringList lines{table.Caption(), state.baseCaption, QString::number(view.CurrentRow()),
                      QString::number(table.ColumnCount())};
    for (int r = 1; r <= table.RowCount(); ++r) {
        QStringList cells;
        for (int c = 1; c <= table.ColumnCount(); ++c) {
            cells << table.CellText(r, c) + (table.CellFlag(r, c) ? u"*"_s : QString());
        }
        lines << cells.join(u'|');
    }
    return lines;
}

class UndoTest : public ::testing::Test {
protected:
    UndoTest()
        : scorer(table, ui, &view), undo(view, state),
          commands(view, scorer, ui, toolbar, state, PlacesIn(dir.path()), &window, nullptr, nullptr, &undo),
          grid(view, scorer, ui, state, window, &undo) {
        DefineColumns(table, [](const QString& t) { return t.size() * 100.0; });
        AppendEmptyRow(table, view);
        QFile csv(dir.filePath(u"lauf.csv"_s));
        EXPECT_TRUE(csv.open(QIODevice::WriteOnly));
        csv.write(
            "Kopf\r\n1;2012;;w;;Meier, Anna;1950;;;8.0;;5:10.0\r\n2;2012;;m;;Adler, Bernd;1948;;;7.5\r\n"
            "1;2012;;m;;Zander, Karl;1990;;;7.0;;4:30.0\r\n");
    }
    void Choose(const char16_t* button, const char16_t* item) {
        commands.MenuItemClick(toolbar.IndexOf(QString::fromUtf16(button)), QString::fromUtf16(item));
    }

    QTemporaryDir dir;
    ScriptedUi ui;
    ResultTable table;
    TableView view{table};
    MainWindowState state;
    Scorer scorer;
    UndoStack undo;
    FakeToolbar toolbar;
    NoWindow window;
    CommandDispatcher commands;
    GridCommands grid;
};

TEST_F(UndoTest, EveryStepGoesBackToTheOpenedFileAndForwardAgain) {
    ui.AnswerFileDialog({dir.filePath(u"lauf.csv"_s), 1});
    Choose(u"btnDatenbank", u"btnDbÖffnen");
    const QStringList opened = Snapshot(view, state);
    EXPECT_TRUE(undo.IsClean());

    ui.AnswerBox(MessageAnswer::Yes); // the question after new age factors: recalculate
    Choose(u"btnBearbeitung", u"btnBeAfMit");
    view.SetCurrentRow(2);
    grid.EditCell(2, table.ColumnNumber(u"1500m"), u"4:05,3"_s);
    Choose(u"btnSortierung", u"btnSort1");
    view.SetRowSelected(1, true);
    ui.AnswerBox(MessageAnswer::Yes);
    Choose(u"btnBearbeitung", u"btnLöscheLaufdaten");
    Choose(u"btnBearbeitung", u"btnBeAnf");
    ui.AnswerInput(u"Stadtlauf 2024"_s);
    grid.CaptionClick();
    view.ClearSelection();
    view.SetRowSelected(3, true);
    ui.AnswerBox(MessageAnswer::Yes);
    Choose(u"btnBearbeitung", u"btnBeLö");
    const QStringList done = Snapshot(view, state);
    EXPECT_FALSE(undo.IsClean());
    EXPECT_EQ(toolbar.captions.value(u"btnRückgängig"_s), u"Rückgängig: Zeile(n) löschen"_s);
    EXPECT_TRUE(toolbar.enabledItems.value(u"btnRückgängig"_s));
    EXPECT_FALSE(toolbar.enabledItems.value(u"btnWiederholen"_s));

    const int boxes = static_cast<int>(ui.Boxes().size());
    QStringList names;
    while (undo.CanUndo()) {
        names << undo.UndoText();
        Choose(u"btnBearbeitung", u"btnRückgängig");
    }
    EXPECT_EQ(names, (QStringList{u"Zeile(n) löschen"_s, u"Veranstaltungsname"_s, u"Datensatz anfügen"_s,
                                  u"lösche Laufdaten"_s, u"Sortierung Gesamt"_s, u"1500m in Zeile 2"_s,
                                  u"Zuordnung Altersfaktoren AF mit AK-Wertung"_s, u"öffnen"_s}));
    EXPECT_EQ(static_cast<int>(ui.Boxes().size()), boxes); // undo never asks or tells anything
    EXPECT_EQ(table.RowCount(), 1);                        // before the open: the start table
    Choose(u"btnBearbeitung", u"btnWiederholen");
    EXPECT_EQ(Snapshot(view, state), opened);
    EXPECT_TRUE(undo.IsClean());
    while (undo.CanRedo()) {
        Choose(u"btnBearbeitung", u"btnWiederholen");
    }
    EXPECT_EQ(Snapshot(view, state), done);
    EXPECT_EQ(toolbar.captions.value(u"btnWiederholen"_s), u"Wiederholen"_s);
}

TEST_F(UndoTest, ANewStepDropsWhatWasUndoneAndTheStackKeepsAHundred) {
    for (int i = 0; i < 105; ++i) {
        Choose(u"btnBearbeitung", u"btnBeAnf");
    }
    EXPECT_EQ(undo.Count(), UndoStack::kMaxSteps);
    undo.Undo();
    undo.Undo();
    Choose(u"btnSortierung", u"btnSort1"); // rows without values: the order does not change
    EXPECT_TRUE(undo.CanRedo());
    grid.EditCell(1, table.ColumnNumber(u"Name Vorname"), u"Neu"_s);
    EXPECT_FALSE(undo.CanRedo());
    EXPECT_EQ(undo.UndoText(), u"Name Vorname in Zeile 1"_s);
}

// A command that leaves the data as it was is no step, whatever it did on the way: scoring
// writes points for empty times and empties them again.
TEST_F(UndoTest, ACommandThatChangesNothingIsNoStep) {
    table.SetCellText(1, u"mw", u"m"_s);
    table.SetCellText(1, u"60m", u"7.0"_s);
    Choose(u"btnBearbeitung", u"btnBePunkte");
    ASSERT_EQ(undo.UndoText(), u"komplette Neuberechnung"_s);
    Choose(u"btnBearbeitung", u"btnBePunkte");
    Choose(u"btnSortierung", u"btnSort4"); // one row: nothing moves
    EXPECT_EQ(undo.Count(), 1u);
}

// A full recalculation keeps the former cells of the rows it changed, and no more than the
// table holds itself: the rows it did not change are in no step.
TEST_F(UndoTest, AFullRecalculationKeepsOnlyWhatItChanged) {
    table.LockUpdate(true);
    for (int i = 0; i < 32767; ++i) {
        table.AddRow(u"1\t2024\t\t%1\t\tLäufer %2\t1970\t1.0000\t\t8.%3\t\t4:%4.0\t\t1:10.0"_s
                         .arg(i % 2 ? u"w"_s : u"m"_s)
                         .arg(i)
                         .arg(i % 10)
                         .arg(10 + i % 40));
    }
    for (int i = 0; i < 1000; ++i) {
        table.AddRow(u"1\t2024\t\tm\t\tOhne Zeit %1"_s.arg(i));
    }
    table.LockUpdate(false);
    Choose(u"btnBearbeitung", u"btnBePunkte");
    ASSERT_TRUE(undo.CanUndo());
    const QStringList after = Snapshot(view, state);
    undo.Undo();
    EXPECT_EQ(table.CellText(100, u"Gesamt"), QString());
    undo.Redo();
    EXPECT_EQ(Snapshot(view, state), after);
}

TEST_F(UndoTest, RowsDeletedFromSeveralPlacesComeBackWhereTheyStood) {
    for (const char16_t* name : {u"A", u"B", u"C", u"D", u"E"}) {
        table.AddRow(u"\t\t\t\t\t"_s + QString::fromUtf16(name));
    }
    const QStringList before = Snapshot(view, state);
    for (int row : {1, 3, 5, 6}) {
        view.SetRowSelected(row, true);
    }
    ui.AnswerBox(MessageAnswer::Yes);
    Choose(u"btnBearbeitung", u"btnBeLö");
    EXPECT_EQ(table.RowCount(), 2);
    undo.Undo();
    EXPECT_EQ(Snapshot(view, state), before);
    undo.Redo();
    EXPECT_EQ(table.CellText(1, u"Name Vorname"), u"A"_s);
    EXPECT_EQ(table.CellText(2, u"Name Vorname"), u"C"_s);
}

// Every save makes the table clean, also one after a change the cells do not show (the event).
TEST_F(UndoTest, EverySaveMarksTheTableClean) {
    ui.AnswerFileDialog({dir.filePath(u"ziel"_s), 2});
    Choose(u"btnDatenbank", u"btnDbSpeichernUnter");
    EXPECT_TRUE(undo.IsClean());
    ui.AnswerInput(u"Stadtlauf 2024"_s);
    grid.CaptionClick();
    EXPECT_FALSE(undo.IsClean());
    Choose(u"btnDatenbank", u"btnDbSpeichern");
    EXPECT_TRUE(undo.IsClean());
}

// Opening a large competition again and again must not pile up old tables: steps go, oldest
// first, beyond the memory limit, but the newest stays however large it is.
TEST(UndoMemory, StepsBeyondTheLimitGoOldestFirstAndTheNewestStays) {
    const auto fill = [](ResultTable& table, int generation) {
        table.ClearTable(false);
        for (int i = 0; i < 2000; ++i) {
            table.AddRow(u"%1\t2024\t\t\t\tLäuferin Nummer %2 der Liste"_s.arg(generation).arg(i));
        }
    };
    ResultTable probe;
    DefineColumns(probe, [](const QString& t) { return t.size() * 100.0; });
    fill(probe, 0);
    probe.BeginChange();
    fill(probe, 1);
    Change step = probe.EndChange();
    step.LeaveToTable(probe); // as the stack keeps it: the new rows are the table's
    const std::size_t one = step.Bytes();
    ASSERT_GT(one, 2000u * 64);

    for (const auto& [stepsInLimit, kept] : {std::pair{2.5, 2}, std::pair{0.5, 1}}) {
        ResultTable table;
        TableView view(table);
        MainWindowState state;
        UndoStack undo(view, state, static_cast<std::size_t>(stepsInLimit * static_cast<double>(one)));
        DefineColumns(table, [](const QString& t) { return t.size() * 100.0; });
        fill(table, 0);
        for (int generation = 1; generation <= 6; ++generation) {
            UndoStep step(&undo, u"öffnen"_s);
            fill(table, generation);
        }
        EXPECT_EQ(undo.Count(), static_cast<std::size_t>(kept)) << stepsInLimit;
        while (undo.CanUndo()) {
            undo.Undo();
        }
        EXPECT_EQ(table.CellText(2000, 1), QString::number(6 - kept)) << stepsInLimit;
        while (undo.CanRedo()) {
            undo.Redo();
        }
        EXPECT_EQ(table.CellText(2000, 1), u"6"_s) << stepsInLimit;
    }
}

} // namespace

namespace {

// "Zeiten einlesen …": the distance preset from the heat's event name, the summary asked
// about, every time entered as one step that undo takes back whole.
TEST_F(UndoTest, TimesReadFromATimingFileAreOneStepAfterTheSummary) {
    ui.AnswerFileDialog({dir.filePath(u"lauf.csv"_s), 1});
    Choose(u"btnDatenbank", u"btnDbÖffnen");
    table.SetCellText(1, u"Nr", u"7"_s);
    table.SetCellText(3, u"Nr", u"9"_s);
    const QStringList before = Snapshot(view, state);
    QFile heat(dir.filePath(u"lauf1.lif"_s));
    ASSERT_TRUE(heat.open(QIODevice::WriteOnly));
    heat.write("4,1,1,1500m Frauen,\r\n1,9,1,Zander,Karl,,4:28.01\r\n2,7,2,Meier,Anna,,5:02.3\r\n"
               "DNF,8,3,X,Y,,\r\n");
    heat.close();
    ui.AnswerFileDialog({heat.fileName(), 1}).AnswerChoice(1).AnswerBox(MessageAnswer::Yes);
    Choose(u"btnBearbeitung", u"btnBeZeitenEinlesen");
    EXPECT_EQ(ui.PresetsShown().back(), 1); // "1500m", second of the distances
    ASSERT_FALSE(ui.Boxes().empty());
    EXPECT_EQ(ui.Boxes().back().text,
              u"1500m: 0 Zeit(en) einzutragen, 2 ersetzen eine andere, 0 unverändert.\r\n"
              u"Ersetzt werden:\r\n"
              u"  Nr 9 Zander, Karl: 4:30.0 → 4:28.1\r\n"
              u"  Nr 7 Meier, Anna: 5:10.0 → 5:02.3\r\n"
              u"Startnummern nicht gefunden: 1\r\n"
              u"  Zeile 4: Nr 8 X, Y\r\n\r\n"
              u"Übernehmen?"_s);
    EXPECT_EQ(table.CellText(1, u"1500m"), u"5:02.3"_s);
    EXPECT_EQ(table.CellText(3, u"1500m"), u"4:28.1"_s);
    EXPECT_EQ(undo.UndoText(), u"Zeiten einlesen …"_s);
    Choose(u"btnBearbeitung", u"btnRückgängig");
    EXPECT_EQ(Snapshot(view, state), before);
}

// Several heats chosen at once: each asked about in turn, "Abbrechen" leaves the rest unread,
// and what was entered is one step.
TEST_F(UndoTest, SeveralHeatsChosenAtOnceAreAskedAboutInTurnAndEnteredAsOneStep) {
    ui.AnswerFileDialog({dir.filePath(u"lauf.csv"_s), 1});
    Choose(u"btnDatenbank", u"btnDbÖffnen");
    table.SetCellText(1, u"Nr", u"7"_s);
    table.SetCellText(2, u"Nr", u"8"_s);
    const QStringList before = Snapshot(view, state);
    const auto heat = [&](const QString& name, const QByteArray& bytes) {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    };
    const QString sprint = heat(u"sprint.lif"_s, "1,1,1,60m\r\n1,7,1,Meier,Anna,,7.81\r\n");
    const QString missing = dir.filePath(u"fehlt.lif"_s);
    const QString middle = heat(u"mittel.lif"_s, "2,1,1,1500m\r\n1,8,1,Adler,Bernd,,4:31.01\r\n");
    const QString last = heat(u"lang.lif"_s, "3,1,1,10km\r\n1,8,1,Adler,Bernd,,0:40:01.2\r\n");
    ui.AnswerFileDialog({sprint, 1, {missing, middle, last}})
        .AnswerChoice(0)
        .AnswerBox(MessageAnswer::Yes)
        .AnswerBox(MessageAnswer::Ok)
        .AnswerChoice(1)
        .AnswerBox(MessageAnswer::Cancel);
    Choose(u"btnBearbeitung", u"btnBeZeitenEinlesen");
    EXPECT_TRUE(ui.FileDialogs().back().several);
    ASSERT_EQ(ui.Boxes().size(), 3u);
    EXPECT_EQ(ui.Boxes()[0].buttons, MessageButtons::YesNoCancel);
    EXPECT_TRUE(
        ui.Boxes()[1].text.startsWith(u"Die Datei \""_s + missing + u"\" lässt sich nicht lesen: "_s));
    EXPECT_EQ(ui.Boxes()[2].buttons, MessageButtons::YesNoCancel);
    EXPECT_EQ(table.CellText(1, u"60m"), u"7.9"_s);
    EXPECT_EQ(table.CellText(2, u"1500m"), QString());
    EXPECT_EQ(table.CellText(2, u"10km"), QString()); // not asked after "Abbrechen"
    EXPECT_EQ(ui.StatusText(StatusPanel::Status), u"1 Zeit(en) aus 4 Dateien eingetragen.  "_s);
    Choose(u"btnBearbeitung", u"btnRückgängig");
    EXPECT_EQ(Snapshot(view, state), before);
}

// A watched folder, times entered without the question: a heat written there arrives as one
// step, and the status bar says so; one that would replace a time is asked about.
TEST_F(UndoTest, AHeatWrittenIntoTheWatchedFolderIsEnteredAsOneStep) {
    EnsureApplication();
    ui.AnswerFileDialog({dir.filePath(u"lauf.csv"_s), 1});
    Choose(u"btnDatenbank", u"btnDbÖffnen");
    table.SetCellText(1, u"Nr", u"7"_s);
    table.SetCellText(2, u"Nr", u"8"_s);
    QTemporaryDir folder;
    ui.AnswerInput(folder.path()).AnswerBox(MessageAnswer::Yes);
    Choose(u"btnBearbeitung", u"btnBeZeitenordner");
    EXPECT_TRUE(toolbar.ItemChecked(u"btnBeZeitenordner"_s));
    const auto heat = [&](const QString& name, const QByteArray& bytes) {
        QFile file(folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    };
    const std::size_t steps = undo.Count();
    heat(u"lauf1.lif"_s, "1,1,1,1500m\r\n1,8,1,Adler,Bernd,,4:31.01\r\n");
    RunEventsFor(2600);
    EXPECT_EQ(table.CellText(2, u"1500m"), u"4:31.1"_s);
    EXPECT_EQ(undo.Count(), steps + 1);
    EXPECT_EQ(ui.StatusText(StatusPanel::Status), u"1 Zeit(en) aus \"lauf1.lif\" eingetragen (1500m).  "_s);

    // While its question is open (the window's dialog runs the event loop), another heat comes.
    bool another = false;
    ui.OnBox([&](const RecordedBox&) {
        if (!std::exchange(another, true)) {
            heat(u"lauf3.lif"_s, "1,1,1,1500m\r\n1,8,1,Adler,Bernd,,4:29.01\r\n");
            RunEventsFor(2600);
        }
    });
    ui.AnswerBox(MessageAnswer::No).AnswerBox(MessageAnswer::Yes);
    heat(u"lauf2.lif"_s, "1,1,1,60m\r\n1,7,1,Meier,Anna,,7.81\r\n");
    RunEventsFor(2600);
    ASSERT_EQ(ui.Boxes().size(), 3u); // the folder's question, then one a heat that replaces a time
    EXPECT_TRUE(ui.Boxes()[1].text.startsWith(u"60m: 0 Zeit(en) einzutragen, 1 ersetzen eine andere"_s))
        << ui.Boxes()[1].text.toStdString();
    EXPECT_TRUE(ui.Boxes()[2].text.startsWith(u"1500m: 0 Zeit(en) einzutragen, 1 ersetzen eine andere"_s))
        << ui.Boxes()[2].text.toStdString();
    EXPECT_EQ(table.CellText(1, u"60m"), u"8.0"_s);
    EXPECT_EQ(table.CellText(2, u"1500m"), u"4:29.1"_s);
    ui.OnBox({});
    Choose(u"btnBearbeitung", u"btnBeZeitenordner");
    EXPECT_FALSE(toolbar.ItemChecked(u"btnBeZeitenordner"_s));
}

TEST_F(UndoTest, AFilesRowHistoryIsItsUndoStepsBackToTheOpenNewestFirst) {
    ui.AnswerFileDialog({dir.filePath(u"lauf.csv"_s), 1});
    Choose(u"btnDatenbank", u"btnDbÖffnen");
    grid.EditCell(2, table.ColumnNumber(u"60m"), u"7.6"_s);
    grid.EditCell(2, table.ColumnNumber(u"1500m"), u"4:05.3"_s);
    undo.Undo(); // not done: not in the history
    grid.EditCell(1, table.ColumnNumber(u"60m"), u"7.9"_s);
    grid.EditCell(2, table.ColumnNumber(u"Name Vorname"), u"<b>O'Neil & \"Co\"</b>"_s);
    Choose(u"btnSortierung", u"btnSort1"); // the row moves; its history stays with it
    int row = 1;
    while (row < table.RowCount() && table.CellText(row, u"geb.") != u"1948") {
        ++row;
    }
    QStringList typed;
    for (const HistoryLine& line : undo.HistoryOf(table.IdOf(row))) {
        EXPECT_TRUE(line.time.isValid());
        if (!IsComputedColumn(line.column)) {
            typed << u"%1: %2 \"%3\" → \"%4\""_s.arg(line.station, line.column, line.before, line.after);
        }
    }
    EXPECT_EQ(
        typed,
        (QStringList{u"Name Vorname in Zeile 2: Name Vorname \"Adler, Bernd\" → \"<b>O'Neil & \"Co\"</b>\""_s,
                     u"60m in Zeile 2: 60m \"7.5\" → \"7.6\""_s}));

    view.SetCurrentRow(row);
    commands.RowMenuItemClick(4);
    ASSERT_EQ(ui.ShownReports().size(), 1u);
    QFile page(ui.ShownReports()[0]);
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(page.readAll());
    EXPECT_TRUE(html.contains(
        u"<h2>Verlauf von Zeile %1 (&lt;b&gt;O'Neil &amp; &quot;Co&quot;&lt;/b&gt;)</h2>"_s.arg(row)))
        << html.toStdString();
    EXPECT_FALSE(html.contains(u"<b>"_s));
    EXPECT_TRUE(undo.HistoryOf(0).empty());
}

} // namespace

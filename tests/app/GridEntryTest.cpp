#include "GTestPrinters.h"
#include "NoWindow.h"
#include "ScriptedUi.h"
#include "app/ClipboardCommands.h"
#include "app/GridCommands.h"
#include "app/UndoStack.h"
#include "ports/MainWindowState.h"
#include "scoring/AgeFactors.h"
#include "scoring/Scorer.h"
#include "table/ColumnModel.h"
#include "table/ResultTable.h"
#include "table/TableView.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace vastrel;
using namespace vastrel::testing;

namespace {

class GridEntryTest : public ::testing::Test {
protected:
    GridEntryTest()
        : scorer(table, ui, &view), undo(view, state), grid(view, scorer, ui, state, window, &undo) {
        DefineColumns(table, [](const QString& t) { return t.size() * 100.0; });
        AppendEmptyRow(table, view);
    }
    void Type(int row, const char16_t* key, const QString& text) {
        grid.EditCell(row, table.ColumnNumber(key), text);
    }

    ScriptedUi ui;
    ResultTable table;
    TableView view{table};
    MainWindowState state;
    Scorer scorer;
    UndoStack undo;
    NoWindow window;
    GridCommands grid;
};

// A run's date typed in full is kept as its year, as an imported one is: the age factors read
// the year, and "17.06.2012" would read as 17.
TEST_F(GridEntryTest, ADateTypedInFullIsKeptAsItsYear) {
    for (const auto& [typed, stored, factor] :
         {std::tuple{u"17.06.2012"_s, u"2012"_s, u"0.8210"_s},
          std::tuple{u"2012-06-17"_s, u"2012"_s, u"0.8210"_s},
          std::tuple{u"20120617"_s, u"2012"_s, u"0.8210"_s}, std::tuple{u"2012"_s, u"2012"_s, u"0.8210"_s},
          std::tuple{u"12"_s, u"12"_s, u""_s}, std::tuple{QString(), QString(), u""_s}}) {
        Type(1, u"geb.", u"1950"_s);
        Type(1, u"AF", QString());
        Type(1, u"Datum", typed);
        EXPECT_EQ(table.CellText(1, u"Datum"), stored) << typed.toStdString();
        AssignAgeFactors(view, ui, true);
        EXPECT_EQ(table.CellText(1, u"AF"), factor) << typed.toStdString();
    }
}

TEST_F(GridEntryTest, ATextWithANulCharacterIsRefusedWithAMessageTypedOrPasted) {
    const QString nul = u"Adler"_s + QChar(0) + u", Bernd"_s;
    ui.AnswerBox(MessageAnswer::Ok).AnswerBox(MessageAnswer::Ok);
    Type(1, u"Name Vorname", nul);
    grid.Paste(1, table.ColumnNumber(u"Name Vorname"), nul + u"\t1950"_s);
    EXPECT_EQ(table.CellText(1, u"Name Vorname"), QString());
    EXPECT_EQ(table.CellText(1, u"geb."), QString());
    ASSERT_EQ(ui.Boxes().size(), 2u);
    EXPECT_EQ(ui.Boxes()[0].text, u"Der Text enthält ein Nullzeichen (NUL) und wird nicht übernommen."_s);
    EXPECT_EQ(undo.Count(), 0u);
}

TEST(ClipboardCells, ReadsSpreadsheetTabsAndSemicolonText) {
    using Rows = std::vector<QStringList>;
    const std::vector<std::pair<QString, Rows>> cases = {
        {u"a\tb\nc\td\n"_s, Rows{{u"a"_s, u"b"_s}, {u"c"_s, u"d"_s}}},
        {u"a\tb\r\nc\t"_s, Rows{{u"a"_s, u"b"_s}, {u"c"_s, QString()}}},
        {u"Meier, Anna;1950\r\n"_s, Rows{{u"Meier, Anna"_s, u"1950"_s}}},
        {u"\"zwei\nZeilen\"\t\"mit \"\"Anf\u00fchrung\"\"\"\n"_s,
         Rows{{u"zwei\nZeilen"_s, u"mit \"Anf\u00fchrung\""_s}}},
        {u"a;b\tc"_s, Rows{{u"a;b"_s, u"c"_s}}}, // a tab anywhere: tabs separate
        {u"allein"_s, Rows{{u"allein"_s}}},
        {QString(), Rows{}},
    };
    for (const auto& [text, rows] : cases) {
        EXPECT_EQ(ClipboardCells(text), rows) << text.toStdString();
    }
}

class PasteTest : public GridEntryTest {
protected:
    PasteTest() {
        for (int i = 0; i < 2; ++i) {
            AppendEmptyRow(table, view);
        }
        for (int r = 1; r <= 3; ++r) {
            table.SetCellText(r, u"mw", u"m"_s);
            table.SetCellText(r, u"AF", u"1.0000"_s);
        }
        view.SetCurrentRow(1);
    }
    void Paste(int row, const char16_t* key, const QString& text) {
        grid.Paste(row, table.ColumnNumber(key), text);
    }
};

TEST_F(PasteTest, NamesAndYearsFillTheCellsFromTheCursorAsOneStep) {
    Paste(1, u"Name Vorname", u"Meier, Anna\t1950\nSchulz, Eva\t1960\nAdler, Bernd\t1948\n"_s);
    EXPECT_EQ(table.CellText(1, u"Name Vorname"), u"Meier, Anna"_s);
    EXPECT_EQ(table.CellText(3, u"geb."), u"1948"_s);
    EXPECT_TRUE(ui.Boxes().empty());
    EXPECT_EQ(ui.StatusText(StatusPanel::Status), u"Eingefügt: 6 Werte in 3 Zeilen.  "_s);
    EXPECT_EQ(undo.UndoText(), u"Einfügen"_s);
    undo.Undo();
    for (int r = 1; r <= 3; ++r) {
        EXPECT_EQ(table.CellText(r, u"Name Vorname"), QString()) << r;
    }
}

TEST_F(PasteTest, TimesAreCheckedAndScoredAndComputedColumnsLeftOut) {
    ui.AnswerBox();
    table.SetCellText(3, u"60m", u"8.0"_s);
    Paste(1, u"60m", u"7,5\t800\t4:05,3\n1:05.2\n\t\t\n"_s);
    EXPECT_EQ(table.CellText(1, u"60m"), u"7.5"_s);
    EXPECT_EQ(table.CellText(1, u"1500m"), u"4:05.3"_s);
    EXPECT_EQ(table.CellText(1, u"Punkte2"), u"821"_s) << "the row is scored";
    EXPECT_NE(table.CellText(1, u"Punkte1"), u"800"_s);
    EXPECT_EQ(table.CellText(2, u"60m"), QString());
    EXPECT_EQ(table.CellText(3, u"60m"), QString()) << "an empty cell of the block empties, unchecked";
    EXPECT_EQ(ui.BoxTexts(), QStringList{u"Eingefügt: 5 Werte in 3 Zeilen.\r\n"
                                         u"Nicht eingefügt: 1 Wert in berechneten Spalten (Punkte1).\r\n"
                                         u"Nicht zur Eingabeform passend:\r\n"
                                         u"Zeile 2, 60m: Formatfehler [00.0]!"_s});
    EXPECT_EQ(ui.Boxes().back().title, u"Einfügen"_s);
}

TEST_F(PasteTest, RowsPastTheEndAreMadeWhenTheUserSaysSo) {
    const QString block = u"A\nB\nC\n"_s;
    for (const auto& [answer, rows, last] :
         {std::tuple{MessageAnswer::Cancel, 3, u""_s}, std::tuple{MessageAnswer::No, 3, u"A"_s},
          std::tuple{MessageAnswer::Yes, 5, u"C"_s}}) {
        ui.AnswerBox(answer);
        Paste(3, u"Name Vorname", block);
        EXPECT_EQ(table.RowCount(), rows);
        EXPECT_EQ(table.CellText(table.RowCount(), u"Name Vorname"), last);
    }
    EXPECT_EQ(ui.Boxes().front().text,
              u"Was eingefügt wird, reicht 2 Zeilen über das Ende der Tabelle hinaus. Sollen 2 neue Zeilen "
              u"angefügt werden?\r\n\r\nBei Nein wird nur bis zur letzten Zeile eingefügt."_s);
    EXPECT_TRUE(table.CellFlag(5, u"Gesamt")) << "a new row as \"Datensatz anfügen\" makes it";
}

TEST_F(PasteTest, CopiedRowsAreTheSelectedRowsVisibleCells) {
    table.SetCellText(1, u"Name Vorname", u"Meier, Anna"_s);
    table.SetCellText(2, u"Name Vorname", u"zwei\tTeile"_s);
    view.SetRowSelected(1, true);
    view.SetRowSelected(2, true);
    const QStringList lines = CopiedRows(view).split(u'\n');
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[2], QString());
    EXPECT_TRUE(lines[0].startsWith(u"\t\tm\tMeier, Anna\t\t1.0000\t"_s)) << lines[0].toStdString();
    EXPECT_TRUE(lines[1].contains(u"\t\"zwei\tTeile\"\t"_s));
    // Pasted back a row lower, the copy gives the same cells; its empty computed cells lose nothing.
    grid.Paste(2, 1, CopiedRows(view));
    EXPECT_TRUE(ui.Boxes().empty());
    EXPECT_EQ(table.CellText(2, u"Name Vorname"), u"Meier, Anna"_s);
    EXPECT_EQ(table.CellText(3, u"Name Vorname"), u"zwei\tTeile"_s);
}

} // namespace

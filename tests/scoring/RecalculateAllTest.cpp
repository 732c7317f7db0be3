#include "ScoringFixture.h"
#include "scoring/Recalculation.h"

using namespace Qt::StringLiterals;
using namespace vastrel;
using namespace vastrel::testing;

namespace {

TEST_F(ScoringTest, RecalculateAllShowsItsProgressInOrder) {
    for (int i = 0; i < 8; ++i) {
        Row({{u"mw", u"m"}, {u"AF", u"1.0000"}, {u"60m", u"7.0"}});
    }
    RecalculateAll(view, scorer, ui);
    EXPECT_EQ(
        ui.StatusHistory(StatusPanel::Progress),
        (QStringList{u"Berechnung läuft! Bitte warten!  "_s, u"12% in Bearbeitung...  "_s,
                     u"25% in Bearbeitung...  "_s, u"38% in Bearbeitung...  "_s, u"50% in Bearbeitung...  "_s,
                     u"62% in Bearbeitung...  "_s, u"75% in Bearbeitung...  "_s, u"88% in Bearbeitung...  "_s,
                     u"100% in Bearbeitung...  "_s, u"Berechnung abgeschlossen!  "_s}));
    for (int row = 1; row <= 8; ++row) {
        EXPECT_EQ(Cell(row, u"Gesamt"), u"933"_s);
    }
    EXPECT_FALSE(ui.Busy());
    EXPECT_EQ(ui.BusyChanges(), 2);
    EXPECT_EQ(ui.EventsProcessed(), 2); // at the start and at the end; no tenth row
    EXPECT_FALSE(table.IsLocked());
}

TEST_F(ScoringTest, RecalculateAllLetsTheWindowBreatheEveryTenthRow) {
    for (int i = 0; i < 25; ++i) {
        Row({{u"mw", u"w"}, {u"60m", u"8.0"}});
    }
    RecalculateAll(view, scorer, ui);
    EXPECT_EQ(ui.EventsProcessed(), 4); // start, rows 10 and 20, end
    EXPECT_EQ(ui.StatusHistory(StatusPanel::Progress).at(3), u"12% in Bearbeitung...  "_s); // row 3 of 25
}

TEST_F(ScoringTest, RecalculateAllSortsByRunAndTotalDescending) {
    Row({{u"Lauf", u"1"}, {u"mw", u"m"}, {u"60m", u"7.0"}});
    Row({{u"Lauf", u"2"}, {u"mw", u"m"}, {u"60m", u"8.0"}});
    Row({{u"Lauf", u"1"}, {u"mw", u"m"}, {u"60m", u"6.9"}});
    Row({{u"Lauf", u"2"}, {u"mw", u"w"}, {u"60m", u"8.0"}});
    view.SetCurrentRow(3);
    RecalculateAll(view, scorer, ui);
    QStringList order;
    for (int row = 1; row <= 4; ++row) {
        order << Cell(row, u"Lauf") + u'/' + Cell(row, u"Gesamt");
    }
    EXPECT_EQ(order, (QStringList{u"2/907"_s, u"2/721"_s, u"1/956"_s, u"1/933"_s}));
    EXPECT_EQ(view.CurrentRow(), 1);
}

TEST_F(ScoringTest, AnUnreadableTimeStopsTheRunAfterThatRowsPoints) {
    Row({{u"Lauf", u"3"}, {u"mw", u"m"}, {u"60m", u"7.0"}});
    Row({{u"Lauf", u"2"}, {u"mw", u"m"}, {u"60m", u"7.0"}, {u"1500m", u"4:x"}, {u"Gesamt", u"old"}});
    Row({{u"Lauf", u"1"}, {u"mw", u"m"}, {u"60m", u"7.0"}, {u"Gesamt", u"old"}});
    scorer.SetInputErrorFlag(true); // left over from an earlier edit: cleared at the start
    ui.AnswerBox();
    RecalculateAll(view, scorer, ui);
    EXPECT_EQ(ui.BoxTexts(), QStringList{u"Eingabefehler in Zeile: 2"_s});
    EXPECT_EQ(Cell(1, u"Gesamt"), u"933"_s);  // row 1: computed
    EXPECT_EQ(Cell(2, u"Punkte1"), u"933"_s); // row 2: points only
    EXPECT_EQ(Cell(2, u"Gesamt"), u"old"_s);
    EXPECT_EQ(Cell(3, u"Punkte1"), QString()); // row 3: untouched
    EXPECT_EQ(Cell(3, u"Gesamt"), u"old"_s);
    EXPECT_EQ(view.CurrentRow(), 1);
    EXPECT_EQ(ui.StatusHistory(StatusPanel::Progress).constLast(), u"Berechnung abgeschlossen!  "_s);
    EXPECT_EQ(ui.StatusHistory(StatusPanel::Progress).size(), 3); // start, row 1, end
}

TEST_F(ScoringTest, RecalculateAllOnAnEmptyTable) {
    RecalculateAll(view, scorer, ui);
    EXPECT_EQ(ui.StatusHistory(StatusPanel::Progress),
              (QStringList{u"Berechnung läuft! Bitte warten!  "_s, u"Berechnung abgeschlossen!  "_s}));
    EXPECT_EQ(table.SortOrder(), u"Lauf DESC,Gesamt DESC"_s);
}

TEST_F(ScoringTest, RecalculateAllPassesOverEmptyRows) {
    Row({});
    Row({{u"mw", u"w"}, {u"60m", u"8.0"}});
    Row({});
    RecalculateAll(view, scorer, ui); // no sex message for the empty rows
    EXPECT_EQ(Cell(1, u"Gesamt"), u"907"_s);
    EXPECT_EQ(table.RowCount(), 3);
}

} // namespace

#include "ScoringFixture.h"
#include "scoring/Recalculation.h"
#include "table/ResultTableObserver.h"

using namespace Qt::StringLiterals;
using namespace vastrel;
using namespace vastrel::testing;

namespace {

TEST_F(ScoringTest, RecalculateRowScoresTheEditedRow) {
    const int row = Row({{u"mw", u"w"}, {u"AF", u"1.0000"}, {u"60m", u"8"}});
    RecalculateRow(table, scorer, row);
    EXPECT_EQ(Cell(row, u"60m"), u"8.0"_s);
    EXPECT_EQ(Cell(row, u"Punkte1"), u"907"_s);
    EXPECT_EQ(Cell(row, u"Gesamt"), u"907"_s);
    EXPECT_FALSE(table.IsLocked());
}

// A new row typed from left to right: no box until the first time is in it.
TEST_F(ScoringTest, ARowWithoutATimeIsPassedOverWithoutTheSexMessage) {
    const int row = Row({});
    RecalculateRow(table, scorer, row); // no box scripted: a message would fail the test
    EXPECT_TRUE(table.IsRowEmpty(row));
    for (const auto& [key, text] :
         {std::pair{u"Lauf", u"1"_s}, std::pair{u"Datum", u"2024"_s},
          std::pair{u"Name Vorname", u"Testlaeufer, Otto"_s}, std::pair{u"AF", u"x"_s}}) {
        table.SetCellText(row, key, text);
        RecalculateRow(table, scorer, row);
    }
    EXPECT_TRUE(ui.Boxes().empty());
    table.SetCellText(row, u"1500m", u"4:05.3"_s);
    ui.AnswerBox();
    RecalculateRow(table, scorer, row);
    EXPECT_EQ(ui.BoxTexts(), QStringList{u"Vorgabe männlich oder weiblich fehlt! m/w?   "_s});
}

TEST_F(ScoringTest, AnInputErrorDuringOneRowStaysSetAndTheSumsAreWritten) {
    const int row = Row({{u"mw", u"m"}, {u"AF", u"1.0000"}, {u"60m", u"7.0"}, {u"1500m", u"x:1"}});
    ui.AnswerBox();
    RecalculateRow(table, scorer, row);
    EXPECT_TRUE(scorer.InputErrorFlag());
    EXPECT_EQ(Cell(row, u"Summe1"), u"933"_s);
}

} // namespace

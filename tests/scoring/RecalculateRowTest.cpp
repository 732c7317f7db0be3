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

TEST_F(ScoringTest, AnEmptyRowIsPassedOverWithoutTheSexMessage) {
    const int row = Row({});
    RecalculateRow(table, scorer, row); // no box scripted: a message would fail the test
    EXPECT_TRUE(IsRowEmpty(table, row));
    table.SetCellText(row, u"Name Vorname", u"Meier, Anna"_s);
    EXPECT_FALSE(IsRowEmpty(table, row));
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

#include "ScoringFixture.h"

using namespace Qt::StringLiterals;
using namespace vastrel;
using namespace vastrel::testing;

namespace {

const char16_t* const kComputed[] = {u"Punkte1", u"Punkte2", u"Punkte3", u"Punkte4", u"Punkte5",
                                     u"Punkte6", u"Punkte7", u"Punkte8", u"Punkte9", u"Summe1",
                                     u"Summe2",  u"Summe3",  u"Summe4",  u"Gesamt"};

TEST_F(ScoringTest, ARowWithoutTimesEndsWithEveryComputedCellEmpty) {
    const int row = Row({{u"mw", u"m"}, {u"AF", u"1.0000"}, {u"Punkte1", u"12"}});
    scorer.ComputeRowPoints(scoringRow); // nothing to score ...
    EXPECT_EQ(Cell(row, u"Punkte1"), u"12"_s);
    scorer.UpdateRowSums(scoringRow); // ... and the sums pass empties what a removed time left
    for (const char16_t* key : kComputed) {
        EXPECT_EQ(Cell(row, key), QString()) << QString::fromUtf16(key).toStdString();
    }
}

TEST_F(ScoringTest, TheFullRoadOfATypedTime) {
    const int row = Row({{u"mw", u"m"}, {u"AF", u"1.0000"}, {u"1500m", u"4:05.3"}});
    scorer.ComputeRowPoints(scoringRow);
    scorer.UpdateRowSums(scoringRow);
    EXPECT_EQ(Cell(row, u"Punkte2"), u"821"_s);
    EXPECT_EQ(Cell(row, u"Summe1"), u"821"_s);
    EXPECT_EQ(Cell(row, u"Gesamt"), u"821"_s);
    EXPECT_EQ(Cell(row, u"Summe2"), QString());
}

TEST_F(ScoringTest, RemovingATimeEmptiesItsPoints) {
    const int row = Row({{u"60m", u"  "},
                         {u"Punkte1", u"933"},
                         {u"10km", u""},
                         {u"Summe4", u"723"},
                         {u"1500m", u"5:12.3"},
                         {u"Punkte2", u"700"}});
    scorer.UpdateRowSums(scoringRow);
    EXPECT_EQ(Cell(row, u"Punkte1"), QString());
    EXPECT_EQ(Cell(row, u"Summe4"), QString());
    EXPECT_EQ(Cell(row, u"1500m"), u"5:12.3"_s); // other distances stay as typed
    EXPECT_EQ(Cell(row, u"Summe1"), u"700"_s);
    EXPECT_EQ(Cell(row, u"Gesamt"), u"700"_s);
}

TEST_F(ScoringTest, SprintTimesGetOneDecimal) {
    struct {
        const char16_t* typed;
        const char16_t* stored;
    } const cases[] = {{u"8", u"8.0"}, {u"7.46", u"7.5"},    {u"7.25", u"7.3"},
                       {u"x7", u".0"}, {u"12.04s", u"12.0"}, {u"7,5", u"7.0"}};
    for (const auto& c : cases) {
        const int row = Row({{u"60m", c.typed}, {u"100m", c.typed}, {u"200m", c.typed}});
        scorer.UpdateRowSums(scoringRow);
        for (const char16_t* key : {u"60m", u"100m", u"200m"}) {
            EXPECT_EQ(Cell(row, key), QString::fromUtf16(c.stored))
                << QString::fromUtf16(c.typed).toStdString();
        }
    }
}

TEST_F(ScoringTest, DaySumsAndTotal) {
    const int row = Row({{u"60m", u"7.0"},
                         {u"Punkte1", u"933"},
                         {u"1500m", u"4:05.3"},
                         {u"Punkte2", u"821"},
                         {u"100m", u"11.0"},
                         {u"Punkte4", u"966"},
                         {u"200m", u"23.0"},
                         {u"Punkte7", u"903"},
                         {u"5000m", u"20:00.0"},
                         {u"Punkte8", u"434"},
                         {u"10km", u"0:35:12.0"},
                         {u"Summe4", u"723"}});
    scorer.UpdateRowSums(scoringRow);
    EXPECT_EQ(Cell(row, u"Summe1"), u"1754"_s);
    EXPECT_EQ(Cell(row, u"Summe2"), u"966"_s);
    EXPECT_EQ(Cell(row, u"Summe3"), u"1337"_s);
    EXPECT_EQ(Cell(row, u"Summe4"), u"723"_s);
    EXPECT_EQ(Cell(row, u"Gesamt"), u"4780"_s); // no thousands separator
}

TEST_F(ScoringTest, OnlyDayTwoGivesEmptyDayOneAndThree) {
    const int row =
        Row({{u"3000m", u"12:00.0"}, {u"Punkte5", u"674"}, {u"Summe1", u"99"}, {u"Summe3", u"5"}});
    scorer.UpdateRowSums(scoringRow);
    EXPECT_EQ(Cell(row, u"Summe1"), QString());
    EXPECT_EQ(Cell(row, u"Summe2"), u"674"_s);
    EXPECT_EQ(Cell(row, u"Summe3"), QString());
    EXPECT_EQ(Cell(row, u"Gesamt"), u"674"_s);
}

TEST_F(ScoringTest, FractionalPointsFromAFileAreRoundedOnlyInTheDayOneSum) {
    const int row = Row({{u"60m", u"7.0"},
                         {u"Punkte1", u"10.5"},
                         {u"100m", u"11.0"},
                         {u"Punkte4", u"10.25"},
                         {u"Punkte5", u"7,5"},
                         {u"3000m", u"12:00.0"}});
    scorer.UpdateRowSums(scoringRow);
    EXPECT_EQ(Cell(row, u"Summe1"), u"11"_s);    // "#": half away from zero
    EXPECT_EQ(Cell(row, u"Summe2"), u"17.25"_s); // 10.25 + 7 (the comma ends the number)
    EXPECT_EQ(Cell(row, u"Gesamt"), u"28.25"_s);
}

TEST_F(ScoringTest, TheTenKilometrePointsEnterTheTotalButAreNotRecomputedThere) {
    const int row = Row({{u"10km", u"0:35:12.0"}, {u"Summe4", u"17"}});
    scorer.UpdateRowSums(scoringRow);
    EXPECT_EQ(Cell(row, u"Summe4"), u"17"_s);
    EXPECT_EQ(Cell(row, u"Gesamt"), u"17"_s);
}

} // namespace

#include "scoring/Ranking.h"
#include "GTestPrinters.h"
#include "table/ColumnModel.h"
#include "table/ResultTable.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace vastrel;

namespace {

// Lauf, m/w, Gesamt, Summe2 of each row; the places by Gesamt and by the day 2 sum.
struct PlaceCase {
    const char16_t* run;
    const char16_t* sex;
    const char16_t* total;
    const char16_t* day2;
    int byTotal;
    int byDay2;
};

TEST(PlacesByPoints, RankWithinRunAndSexAndShareTies) {
    const PlaceCase cases[] = {
        {u"1", u"m", u"900", u"300", 2, 1}, {u"1", u"m", u"950", u"200", 1, 3},
        {u"1", u"m", u"900", u"300", 2, 1}, {u"1", u"m", u"800", u"", 4, 0},   // 1, 2, 2, 4; no day 2
        {u"1", u"w", u"700", u"100", 1, 1}, {u"2", u"m", u"100", u"50", 1, 1}, // other groups
        {u"1", u"m", u"", u"", 0, 0},       {u"1", u"m", u"abc", u"", 0, 0},   // no points: no place
        {u"1", u"M", u"5000", u"", 1, 0},                                      // "M" is not "m"
    };
    ResultTable table;
    DefineColumns(table, [](const QString& t) { return t.size() * 100.0; });
    for (const PlaceCase& c : cases) {
        const int row = table.AddRow(QString());
        table.SetCellText(row, u"Lauf", QString::fromUtf16(c.run));
        table.SetCellText(row, u"mw", QString::fromUtf16(c.sex));
        table.SetCellText(row, u"Gesamt", QString::fromUtf16(c.total));
        table.SetCellText(row, u"Summe2", QString::fromUtf16(c.day2));
    }
    const std::vector<int> byTotal = PlacesByPoints(table, u"Gesamt");
    const std::vector<int> byDay2 = PlacesByPoints(table, u"Summe2");
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(byTotal[i], cases[i].byTotal) << "row " << i + 1;
        EXPECT_EQ(byDay2[i], cases[i].byDay2) << "row " << i + 1;
    }
    EXPECT_EQ(table.ColumnCount(), 33); // places are computed, never stored
}

} // namespace

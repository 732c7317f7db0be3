#include "table/ColumnModel.h"
#include "GTestPrinters.h"
#include "ScriptedUi.h"
#include "table/CompetitionLayout.h"
#include "table/ResultTable.h"
#include "table/TableView.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace Qt::StringLiterals;
using namespace vastrel;

namespace {

double CharacterWidth(const QString& text) {
    return text.size() * vastrel::testing::ScriptedUi::kTwipsPerCharacter;
}

class ColumnModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        DefineColumns(table, CharacterWidth);
        AppendEmptyRow(table, view);
    }
    ResultTable table;
    TableView view{table};
};

struct Expected {
    int number;
    const char16_t* key;
    const char16_t* caption;
    int align;
    int kind;
};

// The column list as the organisers know it, written out once more by hand.
const Expected kExpected[] = {
    {1, u"Lauf", u"Lauf", 2, 1},
    {2, u"Datum", u"Datum", 2, 0},
    {3, u"lNr", u"l.Nr.", 2, 1},
    {4, u"mw", u"m/w", 2, 0},
    {5, u"Nr", u"Nr", 2, 1},
    {6, u"Name Vorname", u"Name, Vorname", 0, 0},
    {7, u"geb.", u"geb.", 2, 1},
    {8, u"AF", u"AF", 2, 1},
    {9, u"Bemerkung", u"Bemerkung", 0, 0},
    {10, u"60m", u"60m ", 2, 4},
    {11, u"Punkte1", u"Punkte", 2, 1},
    {12, u"1500m", u"1500m", 2, 0},
    {13, u"Punkte2", u"Punkte", 2, 1},
    {14, u"400m", u"400m", 2, 0},
    {15, u"Punkte3", u"Punkte", 2, 1},
    {16, u"Summe1", u"Summe", 2, 1},
    {17, u"100m", u"100m", 2, 4},
    {18, u"Punkte4", u"Punkte", 2, 1},
    {19, u"3000m", u"3000m", 2, 0},
    {20, u"Punkte5", u"Punkte", 2, 1},
    {21, u"800m", u"800m", 2, 0},
    {22, u"Punkte6", u"Punkte", 2, 1},
    {23, u"Summe2", u"Summe", 2, 1},
    {24, u"200m", u"200m", 2, 4},
    {25, u"Punkte7", u"Punkte", 2, 1},
    {26, u"5000m", u"5000m", 2, 0},
    {27, u"Punkte8", u"Punkte", 2, 1},
    {28, u"1000m", u"1000m", 2, 0},
    {29, u"Punkte9", u"Punkte", 2, 1},
    {30, u"Summe3", u"Summe", 2, 1},
    {31, u"10km", u"10km", 2, 0},
    {32, u"Summe4", u"Summe", 2, 1},
    {33, u"Gesamt", u"Gesamt", 2, 1},
};

TEST_F(ColumnModelTest, StartsWith33ColumnsAndOneEmptyCurrentRow) {
    ASSERT_EQ(table.ColumnCount(), 33);
    EXPECT_EQ(table.RowCount(), 1);
    EXPECT_EQ(view.CurrentRow(), 1);
    for (int c = 1; c <= 33; ++c) {
        EXPECT_EQ(table.CellText(1, c), QString()) << c;
    }
    EXPECT_EQ(table.TableMode(), 1);
    EXPECT_EQ(table.SearchCaption(), u"Suche:"_s);
}

TEST_F(ColumnModelTest, EveryColumnHasItsKeyCaptionAndLayout) {
    for (const Expected& e : kExpected) {
        SCOPED_TRACE(e.number);
        const Column& c = table.ColumnAt(e.number);
        EXPECT_EQ(c.key, QString::fromUtf16(e.key));
        EXPECT_EQ(c.headerText, QString::fromUtf16(e.caption));
        EXPECT_EQ(c.layout, (ColumnLayout{10, e.align, true, 1, e.align, 0, e.kind}));
        EXPECT_EQ(table.ColumnNumber(e.key), e.number);
    }
}

// The competition layout and the column list describe one table: the day views, the run data,
// the hidden and the short-report columns fall on the column numbers the organisers know.
TEST_F(ColumnModelTest, TheCompetitionLayoutNamesTheColumnsOfTheModel) {
    const auto numbers = [&](const QStringList& keys) {
        QList<int> n;
        for (const QString& key : keys) {
            n << table.ColumnNumber(key);
        }
        return n;
    };
    const auto range = [](int first, int last) {
        QList<int> n;
        for (int c = first; c <= last; ++c) {
            n << c;
        }
        return n;
    };
    EXPECT_EQ(numbers(DayColumnKeys(1)), range(10, 16));
    EXPECT_EQ(numbers(DayColumnKeys(2)), range(17, 23));
    EXPECT_EQ(numbers(DayColumnKeys(3)), range(24, 30));
    EXPECT_EQ(numbers(DayColumnKeys(4)), range(31, 32));
    EXPECT_EQ(numbers(CompetitionColumnKeys()), range(10, 33));
    EXPECT_EQ(table.ColumnNumber(kTotalKey), 33);
    QStringList person;
    for (const char16_t* key : kPersonKeys) {
        person << QString::fromUtf16(key);
    }
    EXPECT_EQ(numbers(person), range(1, 8));
    EXPECT_EQ(table.ColumnNumber(kFirstRunDataKey), 9);

    QStringList hidden;
    for (int c = 1; c <= 33; ++c) {
        if (!table.Visible(c)) {
            hidden << table.Key(c);
        }
    }
    EXPECT_EQ(hidden, (QStringList{u"lNr"_s, u"Nr"_s, u"Bemerkung"_s}));
    for (const char16_t* key : kShortReportLeftOutKeys) {
        EXPECT_GT(table.ColumnNumber(key), 0) << QString::fromUtf16(key).toStdString();
    }
    for (const Distance& d : kDistances) {
        SCOPED_TRACE(QString::fromUtf16(d.timeKey).toStdString());
        EXPECT_EQ(DayOf(d.timeKey), d.day);
        EXPECT_EQ(table.ColumnNumber(d.pointsKey), table.ColumnNumber(d.timeKey) + 1);
        EXPECT_EQ(table.ColumnAt(d.timeKey).Kind() == ColumnKind::SprintTime,
                  d.group == DistanceGroup::Sprint);
        EXPECT_EQ(table.ColumnAt(d.pointsKey).Kind(), ColumnKind::Number);
    }
    EXPECT_EQ(PointsColumnKeys().size(), 9);
    EXPECT_EQ(DayOf(kTotalKey), std::nullopt);
}

TEST_F(ColumnModelTest, SixtyMetresCaptionEndsInABlankButItsKeyDoesNot) {
    EXPECT_EQ(table.HeaderText(10), u"60m "_s);
    EXPECT_EQ(table.Key(10), u"60m"_s);
}

TEST_F(ColumnModelTest, OnlyNameAndRemarkAreLeftAligned) {
    QStringList left;
    for (int c = 1; c <= 33; ++c) {
        if (table.ColumnAt(c).layout.cellAlignment == 0) {
            left << table.Key(c);
        }
    }
    EXPECT_EQ(left, (QStringList{u"Name Vorname"_s, u"Bemerkung"_s}));
}

TEST_F(ColumnModelTest, WidthsAreCaptionWidthTimesOneAndAHalfRoundedHalfToEven) {
    for (int c = 1; c <= 33; ++c) {
        const double expected = std::nearbyint(CharacterWidth(table.HeaderText(c)) * 1.5);
        EXPECT_EQ(table.Width(c),
                  std::max<int>(static_cast<int>(expected), ResultTable::kDefaultMinimumWidth))
            << table.Key(c).toStdString();
    }
    EXPECT_EQ(table.FixedWidth(u"Datum"), 500);
    EXPECT_EQ(table.FixedWidth(u"Lauf"), 0);

    // 301 twips * 1.5 = 451.5 goes to 452, 303 * 1.5 = 454.5 to 454
    ResultTable small;
    small.AddColumn(u"a"_s, u"a"_s, 10, 0, true, 1, 0, 0, 0);
    small.AddColumn(u"b"_s, u"bb"_s, 10, 0, true, 1, 0, 0, 0);
    SetColumnWidths(small, [](const QString& text) { return text.size() == 1 ? 301.0 : 303.0; });
    EXPECT_EQ(small.Width(1), 452);
    EXPECT_EQ(small.Width(2), 454);
}

TEST_F(ColumnModelTest, AppendedRowsFlagTheirFiveSumCells) {
    AppendEmptyRow(table, view);
    EXPECT_EQ(table.RowCount(), 2);
    EXPECT_EQ(view.CurrentRow(), 2);
    QStringList flagged;
    for (int c = 1; c <= 33; ++c) {
        if (table.CellFlag(2, c)) {
            flagged << table.Key(c);
        }
    }
    EXPECT_EQ(flagged, (QStringList{u"Summe1"_s, u"Summe2"_s, u"Summe3"_s, u"Summe4"_s, u"Gesamt"_s}));
    EXPECT_TRUE(table.CellFlag(1, u"Gesamt"));
}

TEST_F(ColumnModelTest, DefiningAgainStartsOver) {
    table.SetCellText(1, 1, u"5"_s);
    DefineColumns(table, CharacterWidth);
    EXPECT_EQ(table.ColumnCount(), 33);
    EXPECT_EQ(table.RowCount(), 0);
}

} // namespace

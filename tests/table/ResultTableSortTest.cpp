#include "GTestPrinters.h"
#include "TableFixture.h"
#include "system/GermanSortKeys.h"
#include "table/TableView.h"

#include <QCollator>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace vastrel;
using namespace vastrel::testing;

namespace {

class SortTest : public ::testing::Test {
protected:
    void SetUp() override {
        AddColumns(table, {{u"Lauf"_s, 1}, {u"Name"_s, 0}, {u"60m"_s, 4}, {u"1500m"_s, 0}, {u"Gesamt"_s, 1}});
    }
    void Rows(const QStringList& rows) {
        for (const QString& r : rows) {
            table.AddRow(r);
        }
    }
    ResultTable table;
};

TEST_F(SortTest, NumbersCompareNumericallyAndEmptyCellsGoLastBothWays) {
    Rows({u"\ta\t\t\t900"_s, u"\tb"_s, u"\tc\t\t\t1200"_s, u"\td\t\t\t95"_s, u"\te\t\t\t "_s});
    table.SortBy(u"Gesamt"_s, SortDirection::Ascending);
    EXPECT_EQ(ColumnTexts(table, 2), (QStringList{u"d"_s, u"a"_s, u"c"_s, u"b"_s, u"e"_s}));
    table.SortBy(u"Gesamt"_s, SortDirection::Descending);
    EXPECT_EQ(ColumnTexts(table, 2), (QStringList{u"c"_s, u"a"_s, u"d"_s, u"b"_s, u"e"_s}));
}

// Texts alone: equal ones keep their order in both directions, texts the collation holds equal
// ("Berg", "berg") follow their exact text, empty cells go last.
TEST_F(SortTest, TextsKeepTheOrderOfEqualsAndEmptyCellsGoLastBothWays) {
    Rows({u"1\tBerg"_s, u"2"_s, u"3\tahrens"_s, u"4\tberg"_s, u"5\tBerg"_s, u"6\t "_s, u"7\tCäsar"_s});
    table.SortBy(u"Name"_s, SortDirection::Ascending);
    EXPECT_EQ(ColumnTexts(table, 1), (QStringList{u"3"_s, u"1"_s, u"5"_s, u"4"_s, u"7"_s, u"2"_s, u"6"_s}));
    table.SortBy(u"Name"_s, SortDirection::Descending);
    EXPECT_EQ(ColumnTexts(table, 1), (QStringList{u"7"_s, u"4"_s, u"1"_s, u"5"_s, u"3"_s, u"2"_s, u"6"_s}));
}

TEST_F(SortTest, TwoKeysMajorFirstInOneDirection) {
    Rows({u"1\ta\t\t\t100"_s, u"2\tb\t\t\t50"_s, u"1\tc\t\t\t300"_s, u"\td\t\t\t999"_s, u"2\te\t\t\t70"_s});
    table.SortBy(u"Lauf,Gesamt"_s, SortDirection::Descending);
    EXPECT_EQ(ColumnTexts(table, 2), (QStringList{u"e"_s, u"b"_s, u"c"_s, u"a"_s, u"d"_s}));
    EXPECT_EQ(table.SortOrder(), u"Lauf DESC,Gesamt DESC"_s);
}

TEST_F(SortTest, StableForEqualKeys) {
    Rows({u"1\ta"_s, u"1\tb"_s, u"1\tc"_s, u"0\td"_s});
    table.SortBy(u"Lauf"_s, SortDirection::Ascending);
    EXPECT_EQ(ColumnTexts(table, 2), (QStringList{u"d"_s, u"a"_s, u"b"_s, u"c"_s}));
    table.SortBy(u"Lauf"_s, SortDirection::Descending);
    EXPECT_EQ(ColumnTexts(table, 2), (QStringList{u"a"_s, u"b"_s, u"c"_s, u"d"_s}));
}

TEST_F(SortTest, TextUsesGermanCollationWithNumbersInside) {
    Rows({u"\tZander"_s, u"\tÖzdemir"_s, u"\tabel"_s, u"\tOtto"_s, u"\tÄrger"_s, u"\tBauer"_s});
    table.SortBy(u"Name"_s, SortDirection::Ascending);
    EXPECT_EQ(ColumnTexts(table, 2),
              (QStringList{u"abel"_s, u"Ärger"_s, u"Bauer"_s, u"Otto"_s, u"Özdemir"_s, u"Zander"_s}));

    table.ClearTable(false);
    Rows({u"\t\t\t12:01.0"_s, u"\t\t\t4:05.3"_s, u"\t\t\t"_s, u"\t\t\t10:00.0"_s});
    table.SortBy(u"1500m"_s, SortDirection::Ascending);
    EXPECT_EQ(ColumnTexts(table, 4), (QStringList{u"4:05.3"_s, u"10:00.0"_s, u"12:01.0"_s, u""_s}));
}

// Many names, some repeated, some the collation holds equal: the order must be the collation's,
// exact text breaking its ties, and short repeated texts must share one rank.
TEST_F(SortTest, ManyNamesSortByTheCollationAsFewDo) {
    const QStringList stems = {u"Müller"_s, u"MÜLLER"_s, u"mueller"_s, u"Öz"_s,
                               u"Abel"_s,   u"Zoë"_s,    u"w"_s,       u"m"_s};
    for (int i = 0; i < 12000; ++i) {
        const QString& stem = stems.at(i % stems.size());
        table.AddRow(u"\t"_s + (stem.size() == 1 ? stem : u"%1 %2"_s.arg(stem).arg((i * 7919) % 12000)));
    }
    table.SortBy(u"Name"_s, SortDirection::Ascending);
    QCollator collator(QLocale(QLocale::German, QLocale::Germany));
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    const QStringList names = ColumnTexts(table, 2);
    for (qsizetype i = 1; i < names.size(); ++i) {
        const int c = collator.compare(names[i - 1], names[i]);
        ASSERT_TRUE(c < 0 || (c == 0 && names[i - 1] <= names[i]))
            << names[i - 1].toStdString() << " / " << names[i].toStdString();
    }
}

// The table's own collation keys must order every pair as QCollator, set up as the program
// once used it, compares them: umlauts, ß, case, accents, numbers inside, punctuation, blanks.
TEST(GermanSortKeys, OrderEveryPairAsQCollatorDoes) {
    const QStringList texts = {u"Müller"_s,
                               u"Mueller"_s,
                               u"MÜLLER"_s,
                               u"Muller"_s,
                               u"Müll"_s,
                               u"Ärger"_s,
                               u"Arger"_s,
                               u"Zoë"_s,
                               u"Zoe"_s,
                               u"Straße"_s,
                               u"Strasse"_s,
                               u"STRASSE"_s,
                               u"Läufer9"_s,
                               u"Läufer10"_s,
                               u"Läufer010"_s,
                               u"Läufer 10"_s,
                               u"Läufer1000000"_s,
                               u"Läufer999999"_s,
                               u"O'Neil"_s,
                               u"ONeil"_s,
                               u"Öz, Ali"_s,
                               u"Oz, Ali"_s,
                               u"von Berg"_s,
                               u"Von Berg"_s,
                               u"van den Berg"_s,
                               u"Éric"_s,
                               u"Eric"_s,
                               u"Çelik"_s,
                               u"Celik"_s,
                               u"Łukasz"_s,
                               u"Lukasz"_s,
                               u"Ødegaard"_s,
                               u"Smith-Jones"_s,
                               u"Smith Jones"_s,
                               u"SmithJones"_s,
                               u"a"_s,
                               u"A"_s,
                               u"ä"_s,
                               u"z"_s,
                               u"1"_s,
                               u"12"_s,
                               u"-"_s,
                               u" "_s,
                               u"日本"_s,
                               u"Ωmega"_s,
                               u"x\u0308"_s,
                               u"ẍ"_s};
    QCollator collator(QLocale(QLocale::German, QLocale::Germany));
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    GermanSortKeys keys;
    for (const QString& text : texts) {
        keys.Add(text);
    }
    const auto sign = [](int c) {
        return (c > 0) - (c < 0);
    };
    for (qsizetype a = 0; a < texts.size(); ++a) {
        for (qsizetype b = 0; b < texts.size(); ++b) {
            EXPECT_EQ(sign(keys.Compare(static_cast<std::size_t>(a), static_cast<std::size_t>(b))),
                      sign(collator.compare(texts[a], texts[b])))
                << texts[a].toStdString() << " / " << texts[b].toStdString();
        }
    }
}

// Rows with equal keys, empty ones included, keep their order in both directions.
TEST_F(SortTest, ManyRowsSortStably) {
    for (int i = 0; i < 9000; ++i) {
        table.AddRow(u"%1\t%2"_s.arg(i % 7 == 0 ? QString() : QString::number(i % 3)).arg(i));
    }
    for (SortDirection direction : {SortDirection::Descending, SortDirection::Ascending}) {
        table.SortBy(u"Lauf"_s, direction);
        for (int row = 2; row <= table.RowCount(); ++row) {
            if (table.CellText(row, 1) == table.CellText(row - 1, 1)) {
                ASSERT_LT(table.CellText(row - 1, 2).toInt(), table.CellText(row, 2).toInt()) << row;
            }
        }
        table.SortBy(u"Name"_s, SortDirection::Ascending); // numeric names: back to the first order
    }
}

// Numbers of every sign and size, and the two zeros, sort by value; a text in a number column
// sorts after the numbers ascending, before them descending.
TEST_F(SortTest, NumbersOfEverySizeAndTextsAmongThem) {
    Rows({u"\ta\t\t\t-0"_s, u"\tb\t\t\t1e3"_s, u"\tc\t\t\t-2.5"_s, u"\td\t\t\t0"_s,
          u"\te\t\t\t1000000000000"_s, u"\tf\t\t\t0.001"_s, u"\tg\t\t\t-1000000000000"_s});
    table.SortBy(u"Gesamt"_s, SortDirection::Ascending);
    EXPECT_EQ(ColumnTexts(table, 2), (QStringList{u"g"_s, u"c"_s, u"a"_s, u"d"_s, u"f"_s, u"e"_s, u"b"_s}));
    table.SortBy(u"Gesamt"_s, SortDirection::Descending);
    EXPECT_EQ(ColumnTexts(table, 2), (QStringList{u"b"_s, u"e"_s, u"f"_s, u"a"_s, u"d"_s, u"c"_s, u"g"_s}));
}

TEST_F(SortTest, SprintTimesCompareAsSeconds) {
    Rows({u"\ta\t12.0"_s, u"\tb\t9.5"_s, u"\tc\t1:02.0"_s, u"\td\t10.1"_s});
    table.SortBy(u"60m"_s, SortDirection::Ascending);
    EXPECT_EQ(ColumnTexts(table, 2), (QStringList{u"b"_s, u"d"_s, u"a"_s, u"c"_s}));
}

TEST_F(SortTest, KeysWithoutAColumnAreIgnored) {
    Rows({u"\tMeier\t\t\t5"_s, u"\tAdam\t\t\t7"_s, u"\tMeier\t\t\t1"_s});
    table.SortBy(u"Name,Alter"_s, SortDirection::Ascending);
    EXPECT_EQ(ColumnTexts(table, 5), (QStringList{u"7"_s, u"5"_s, u"1"_s}));
    EXPECT_EQ(table.SortOrder(), u"Name ASC"_s);

    table.SortBy(u"Alter"_s, SortDirection::Descending); // nothing to sort by: order stays
    EXPECT_EQ(ColumnTexts(table, 5), (QStringList{u"7"_s, u"5"_s, u"1"_s}));
}

TEST_F(SortTest, OnlyTheLeadColumnRemembersTheDirection) {
    Rows({u"1"_s, u"2"_s});
    table.SortBy(u"Lauf,Gesamt"_s, SortDirection::Ascending);
    EXPECT_EQ(table.SortDirection(u"Lauf"), SortDirection::Ascending);
    EXPECT_EQ(table.SortDirection(u"Gesamt"), SortDirection::None);
    table.SortBy(u"Gesamt"_s, SortDirection::Descending);
    EXPECT_EQ(table.SortDirection(u"Gesamt"), SortDirection::Descending);
    EXPECT_EQ(table.SortDirection(u"Lauf"), SortDirection::None);
    EXPECT_TRUE(table.SortOrder().contains(u"DESC"_s));
    table.SortBy(u"Name"_s, SortDirection::Ascending);
    EXPECT_FALSE(table.SortOrder().contains(u"DESC"_s));
}

class FindRowTest : public SortTest {
protected:
    void SetUp() override {
        SortTest::SetUp();
        Rows({u"1\tMeier, Anna"_s, u"1\tSchulz, Eva"_s, u"2\tmeister, Jo"_s, u"2\tAmeise, Tim"_s});
        view.SetCurrentRow(1);
    }
    TableView view{table};
};

TEST_F(FindRowTest, FindsTheNextMatchAfterTheCurrentRowIgnoringCase) {
    int column = 2;
    EXPECT_EQ(view.FindRow(u"Mei*"_s, column), 3);
    EXPECT_EQ(column, 2);
    view.SetCurrentRow(3);
    EXPECT_EQ(view.FindRow(u"Mei*"_s, column), 1); // wraps round
    view.SetCurrentRow(1);
    EXPECT_EQ(view.FindRow(u"Mei*"_s, column), 3);
}

TEST_F(FindRowTest, TheCurrentRowItselfIsFoundLast) {
    int column = 2;
    view.SetCurrentRow(2);
    EXPECT_EQ(view.FindRow(u"schulz*"_s, column), 2);
}

TEST_F(FindRowTest, PatternMatchesTheWholeCell) {
    int column = 2;
    EXPECT_EQ(view.FindRow(u"*eise*"_s, column), 4);
    EXPECT_EQ(view.FindRow(u"Schul?, Eva"_s, column), 2);
    EXPECT_EQ(view.FindRow(u"eise*"_s, column), 0);
    EXPECT_EQ(column, 2); // untouched when nothing is found
}

TEST_F(FindRowTest, ColumnZeroSearchesEveryVisibleColumnAndReportsTheHit) {
    int column = 0;
    EXPECT_EQ(view.FindRow(u"2"_s, column), 3);
    EXPECT_EQ(column, 1);
    table.SetVisible(1, false);
    column = 0;
    EXPECT_EQ(view.FindRow(u"2"_s, column), 0);
}

} // namespace

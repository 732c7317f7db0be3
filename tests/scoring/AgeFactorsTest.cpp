#include "scoring/AgeFactors.h"
#include "ScoringFixture.h"

using namespace Qt::StringLiterals;
using namespace vastrel;
using namespace vastrel::testing;

namespace {

struct AgeCase {
    const char16_t* sex;
    const char16_t* born;
    const char16_t* runDate;
    bool withClasses;
    const char16_t* factor; // nullptr: the cell keeps "old"
};

void PrintTo(const AgeCase& c, std::ostream* os) {
    *os << QString::fromUtf16(c.sex).toStdString() << ' ' << QString::fromUtf16(c.born).toStdString() << ' '
        << QString::fromUtf16(c.runDate).toStdString() << (c.withClasses ? " mit" : " ohne");
}

class AgeFactorCases : public ScoringTest, public ::testing::WithParamInterface<AgeCase> {};

TEST_P(AgeFactorCases, FollowTheAgeClasses) {
    const AgeCase& c = GetParam();
    Row({{u"mw", c.sex}, {u"geb.", c.born}, {u"Datum", c.runDate}, {u"AF", u"old"}});
    AssignAgeFactors(view, ui, c.withClasses);
    EXPECT_EQ(table.CellText(1, u"AF"), c.factor ? QString::fromUtf16(c.factor) : u"old"_s);
}

INSTANTIATE_TEST_SUITE_P(
    Competitors, AgeFactorCases,
    ::testing::Values(
        AgeCase{u"w", u"1950", u"2012", true, u"0.7887"}, AgeCase{u"m", u"1950", u"2012", true, u"0.8210"},
        AgeCase{u"m", u"1953", u"2012", true, u"1.0000"}, AgeCase{u"w", u"1918", u"2012", true, u"0.3599"},
        AgeCase{u"w", u"1917", u"2012", true, nullptr}, AgeCase{u"m", u"2011", u"2012", true, nullptr},
        AgeCase{u"m", u"1900", u"2012", true, u"1.0000"}, AgeCase{u"W", u"1950", u"2012", true, u"0.8210"},
        AgeCase{u"w", u"1950", u"2012", false, u"1.0000"}, AgeCase{u"", u"1937", u"2012", true, u"0.6992"},
        AgeCase{u"w", u"1932", u"2012", true, u"0.5510"}, AgeCase{u"m", u"1927", u"2012", true, u"0.5657"},
        AgeCase{u"w", u"1942", u"2012", true, u"0.6888"}, AgeCase{u"m", u"1947", u"2012", true, u"0.7857"},
        AgeCase{u"w", u"48", u"2012", true, u"1.0000"}, AgeCase{u"m", u"", u"2012", true, u"1.0000"},
        AgeCase{u"m", u"1950", u"", true, nullptr}));

TEST(AgeFactorEntry, ATypedCommaBecomesThePoint) {
    for (const auto& [typed, stored] : {std::pair{u" 0,7887 "_s, u"0.7887"_s}, std::pair{u"1"_s, u"1"_s},
                                        std::pair{u"abc"_s, u"abc"_s}, std::pair{QString(), QString()}}) {
        QString text = typed;
        TidyAgeFactorEntry(text);
        EXPECT_EQ(text, stored);
    }
}

TEST(AgeFactorTable, ClassBoundaries) {
    EXPECT_EQ(AgeFactorFor(1, false), std::nullopt);
    EXPECT_EQ(AgeFactorFor(2, false), u"1.0000"_s);
    EXPECT_EQ(AgeFactorFor(59, true), u"1.0000"_s);
    EXPECT_EQ(AgeFactorFor(60, true), u"0.7887"_s);
    EXPECT_EQ(AgeFactorFor(64, false), u"0.8210"_s);
    EXPECT_EQ(AgeFactorFor(65, true), u"0.7425"_s);
    EXPECT_EQ(AgeFactorFor(94, false), u"0.4701"_s);
    EXPECT_EQ(AgeFactorFor(95, false), std::nullopt);
}

TEST_F(ScoringTest, TheYearOfBirthIsTakenFromTheSameCompetitorAbove) {
    Row({{u"Name Vorname", u"Meier, Anna"},
         {u"mw", u"w"},
         {u"geb.", u"1950"},
         {u"Datum", u"2012"},
         {u"Lauf", u"1"}});
    Row({{u"Name Vorname", u"Meier, Anna"},
         {u"mw", u"w"},
         {u"geb.", u""},
         {u"Datum", u"2012"},
         {u"Lauf", u"2"}});
    Row({{u"Name Vorname", u"Meier, Anna"},
         {u"mw", u"w"},
         {u"geb.", u"48"},
         {u"Datum", u"2012"},
         {u"Lauf", u"3"}});
    Row({{u"Name Vorname", u"Adam, Eva"},
         {u"mw", u"w"},
         {u"geb.", u""},
         {u"Datum", u"2012"},
         {u"Lauf", u"4"}});
    AssignAgeFactors(view, ui, true);
    // Afterwards the rows stand by run, descending.
    EXPECT_EQ(table.CellText(1, u"Name Vorname"), u"Adam, Eva"_s);
    EXPECT_EQ(table.CellText(1, u"geb."), QString()); // no one above with the same name
    EXPECT_EQ(table.CellText(1, u"AF"), u"1.0000"_s);
    for (int row = 2; row <= 4; ++row) {
        EXPECT_EQ(table.CellText(row, u"geb."), u"1950"_s) << row; // passed on from row to row
        EXPECT_EQ(table.CellText(row, u"AF"), u"0.7887"_s) << row;
    }
}

// The name sort holds "MEIER, Anna" and "Meier, Anna" equal; the exact text decides between
// them, so the two "Meier, Anna" rows stand together and the year is passed on.
TEST_F(ScoringTest, NamesThatDifferOnlyInCaseDoNotSeparateTheSameCompetitor) {
    Row({{u"Name Vorname", u"Meier, Anna"}, {u"mw", u"w"}, {u"geb.", u"1950"}, {u"Datum", u"2012"}});
    Row({{u"Name Vorname", u"MEIER, Anna"}, {u"mw", u"w"}, {u"geb.", u""}, {u"Datum", u"2012"}});
    Row({{u"Name Vorname", u"Meier, Anna"}, {u"mw", u"w"}, {u"geb.", u""}, {u"Datum", u"2012"}});
    AssignAgeFactors(view, ui, true);
    QStringList rows;
    for (int row = 1; row <= 3; ++row) {
        rows << table.CellText(row, u"Name Vorname") + u'/' + table.CellText(row, u"geb.") + u'/' +
                    table.CellText(row, u"AF");
    }
    rows.sort();
    EXPECT_EQ(rows, (QStringList{u"MEIER, Anna//1.0000"_s, u"Meier, Anna/1950/0.7887"_s,
                                 u"Meier, Anna/1950/0.7887"_s}));
}

TEST_F(ScoringTest, AnEmptyYearFirstInTheSortStaysEmpty) {
    Row({{u"Name Vorname", u"Meier, Anna"}, {u"mw", u"w"}, {u"geb.", u""}, {u"Datum", u"2012"}});
    Row({{u"Name Vorname", u"Meier, Anna"}, {u"mw", u"w"}, {u"geb.", u"1950"}, {u"Datum", u"2012"}});
    AssignAgeFactors(view, ui, true);
    QStringList years;
    for (int row = 1; row <= 2; ++row) {
        years << table.CellText(row, u"geb.") + u'/' + table.CellText(row, u"AF");
    }
    years.sort();
    EXPECT_EQ(years, (QStringList{u"/1.0000"_s, u"1950/0.7887"_s}));
}

TEST_F(ScoringTest, AgeFactorsShowProgressAndEndSortedWithTheCursorOnTop) {
    for (int i = 0; i < 8; ++i) {
        Row({{u"Name Vorname", i % 2 ? u"B" : u"A"}, {u"Lauf", i < 4 ? u"1" : u"2"}});
    }
    view.SetCurrentRow(5);
    AssignAgeFactors(view, ui, false);
    EXPECT_EQ(
        ui.StatusHistory(StatusPanel::Progress),
        (QStringList{u"12% in Bearbeitung...  "_s, u"25% in Bearbeitung...  "_s, u"38% in Bearbeitung...  "_s,
                     u"50% in Bearbeitung...  "_s, u"62% in Bearbeitung...  "_s, u"75% in Bearbeitung...  "_s,
                     u"88% in Bearbeitung...  "_s, u"100% in Bearbeitung...  "_s}));
    EXPECT_EQ(table.CellText(1, u"Lauf"), u"2"_s);
    EXPECT_EQ(view.CurrentRow(), 1);
    EXPECT_FALSE(ui.Busy());
    EXPECT_EQ(ui.BusyChanges(), 2);
    EXPECT_FALSE(table.IsLocked());
    EXPECT_EQ(table.SortOrder(), u"Lauf DESC,Gesamt DESC"_s);
}

TEST_F(ScoringTest, AgeFactorsOnAnEmptyTableStillSort) {
    AssignAgeFactors(view, ui, true);
    EXPECT_EQ(table.SortOrder(), u"Lauf DESC,Gesamt DESC"_s);
    EXPECT_TRUE(ui.StatusHistory(StatusPanel::Progress).isEmpty());
}

TEST_F(ScoringTest, AnAgeBeyondWholeNumbersEndsTheRunWithAMessage) {
    Row({{u"Name Vorname", u"A"}, {u"geb.", u"1950"}, {u"Datum", u"99999999999"}, {u"AF", u"old"}});
    ui.AnswerBox();
    AssignAgeFactors(view, ui, true);
    EXPECT_EQ(ui.BoxTexts(), QStringList{u"Überlauf"_s});
    EXPECT_EQ(ui.Boxes()[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(table.CellText(1, u"AF"), u"old"_s);
    EXPECT_FALSE(ui.Busy());
    EXPECT_FALSE(table.IsLocked());
    EXPECT_EQ(table.SortOrder(), u"Name Vorname ASC"_s); // the final sort is not made
}

} // namespace

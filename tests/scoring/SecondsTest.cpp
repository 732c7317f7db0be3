#include "ScoringFixture.h"

using namespace Qt::StringLiterals;
using namespace vastrel;
using namespace vastrel::testing;

namespace {

struct SecCase {
    const char16_t* time;
    const char16_t* ageFactor;
    const char16_t* expected;
};

void PrintTo(const SecCase& c, std::ostream* os) {
    *os << "«" << QString::fromUtf16(c.time).toStdString() << "» AF «"
        << QString::fromUtf16(c.ageFactor).toStdString() << "»";
}

class Seconds : public ScoringTest, public ::testing::WithParamInterface<SecCase> {};

TEST_P(Seconds, RoundsToTenthsAndAppliesTheAgeFactor) {
    const SecCase& c = GetParam();
    Row({{u"AF", c.ageFactor}});
    EXPECT_EQ(scorer.sec(scoringRow, QString::fromUtf16(c.time), u"#.#"_s), QString::fromUtf16(c.expected));
    EXPECT_FALSE(scorer.InputErrorFlag());
}

INSTANTIATE_TEST_SUITE_P(
    Times, Seconds,
    ::testing::Values(SecCase{u"12.34", u"1.0000", u"12.3"}, SecCase{u"3:25.4", u"0.7887", u"161.99898"},
                      SecCase{u"0:35:12.0", u"1.0000", u"2112"}, SecCase{u"9:06:07.0", u"1.0000", u"32767"},
                      SecCase{u"", u"1.0000", u"0"}, SecCase{u"7.85", u"1.0000", u"7.9"},
                      SecCase{u"7.84", u"1.0000", u"7.8"}, SecCase{u"4:05.3", u"1.0000", u"245.3"},
                      SecCase{u"1:2:3:4", u"1.0000", u"0"},
                      // the 16-bit limit is gone: long times count in full
                      SecCase{u"9:07:00.0", u"1.0000", u"32820"}, SecCase{u"10:00:00.0", u"1.0000", u"36000"},
                      SecCase{u"100:00:00.0", u"1.0000", u"360000"},
                      // contributions are whole seconds, halves to the even neighbour
                      SecCase{u"0.025:00", u"1.0000", u"2"}, SecCase{u"0.075:00", u"1.0000", u"4"},
                      SecCase{u"0.00625:00:00", u"1.0000", u"22"},
                      // a factor that is no number above 0 reads as 0; an empty cell as 1; a comma
                      // is the decimal point
                      SecCase{u"12.3", u"abc", u"0"}, SecCase{u"12.3", u"", u"12.3"},
                      SecCase{u"12.3", u"  ", u"12.3"}, SecCase{u"12.3", u"0.8210x", u"0"},
                      SecCase{u"12.3", u"0,8210", u"10.0983"}, SecCase{u"12.3", u" 0.8210 ", u"10.0983"}));

TEST_F(ScoringTest, AnUnreadablePartIsReportedWithTheRowNumber) {
    Row({});
    const int row = Row({{u"AF", u"1.0000"}});
    ui.AnswerBox();
    EXPECT_EQ(scorer.sec(scoringRow, u"1:2x.0"_s, u"#.#"_s), u"0"_s);
    EXPECT_TRUE(scorer.InputErrorFlag());
    ASSERT_EQ(ui.Boxes().size(), 1u);
    EXPECT_EQ(ui.Boxes()[0].text, u"Eingabefehler in Zeile: 2"_s);
    EXPECT_EQ(ui.Boxes()[0].title, u"Vastrel"_s);
    EXPECT_EQ(ui.Boxes()[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(ui.Boxes()[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(view.CurrentRow(), row);
}

TEST_F(ScoringTest, TheMessageNamesRowsBeyond32767InFull) {
    table.LockUpdate(true);
    for (int i = 0; i < 40001; ++i) {
        table.AddRow(QString());
    }
    ui.AnswerBox();
    EXPECT_EQ(scorer.sec(40001, u"x"_s, u"#.#"_s), u"0"_s);
    EXPECT_EQ(ui.BoxTexts(), QStringList{u"Eingabefehler in Zeile: 40001"_s});
    EXPECT_EQ(view.CurrentRow(), 40001);
}

} // namespace

#include "ScoringFixture.h"

using namespace Qt::StringLiterals;
using namespace vastrel;
using namespace vastrel::testing;

namespace {

struct PointsCase {
    const char16_t* sex;
    const char16_t* distance;
    const char16_t* time;
    const char16_t* ageFactor;
    const char16_t* pointsColumn;
    const char16_t* points;
};

void PrintTo(const PointsCase& c, std::ostream* os) {
    *os << QString::fromUtf16(c.sex).toStdString() << ' ' << QString::fromUtf16(c.distance).toStdString()
        << " «" << QString::fromUtf16(c.time).toStdString() << "» AF «"
        << QString::fromUtf16(c.ageFactor).toStdString() << "»";
}

class RowPoints : public ScoringTest, public ::testing::WithParamInterface<PointsCase> {};

TEST_P(RowPoints, FollowTheQuadraticFormula) {
    const PointsCase& c = GetParam();
    const int row = Row({{u"mw", c.sex}, {u"AF", c.ageFactor}, {c.distance, c.time}});
    scorer.ComputeRowPoints(scoringRow);
    EXPECT_EQ(Cell(row, c.pointsColumn), QString::fromUtf16(c.points));
}

INSTANTIATE_TEST_SUITE_P(
    Results, RowPoints,
    ::testing::Values(PointsCase{u"m", u"60m", u"7.0", u"1.0000", u"Punkte1", u"933"},
                      PointsCase{u"w", u"60m", u"8.0", u"1.0000", u"Punkte1", u"907"},
                      PointsCase{u"w", u"200m", u"50.0", u"1.0000", u"Punkte7", u"40"},
                      PointsCase{u"m", u"1500m", u"4:05.3", u"1.0000", u"Punkte2", u"821"},
                      PointsCase{u"m", u"1500m", u"4:05.3", u"0.7887", u"Punkte2", u"1191"},
                      PointsCase{u"m", u"10km", u"0:35:12.0", u"1.0000", u"Summe4", u"723"},
                      PointsCase{u"m", u"60m", u"15.3", u"1.0000", u"Punkte1", u"1"},
                      PointsCase{u"w", u"10km", u"1:22:33.4", u"1.0000", u"Summe4", u"1"},
                      PointsCase{u"m", u"60m", u"15.1", u"1.0000", u"Punkte1", u"1"},
                      // a row without any time is not scored
                      PointsCase{u"m", u"60m", u"", u"1.0000", u"Punkte1", u""},
                      PointsCase{u"m", u"1500m", u"4:05.3", u"0,7887", u"Punkte2", u"1191"},
                      // an empty age factor counts as 1
                      PointsCase{u"m", u"60m", u"7.0", u"", u"Punkte1", u"933"},
                      // the 16-bit wrap is gone: long 10 km times score the minimum
                      PointsCase{u"m", u"10km", u"9:07:00.0", u"1.0000", u"Summe4", u"1"},
                      PointsCase{u"m", u"10km", u"10:00:00.0", u"1.0000", u"Summe4", u"1"},
                      PointsCase{u"m", u"100m", u"11.0", u"1.0000", u"Punkte4", u"966"},
                      PointsCase{u"w", u"3000m", u"12:00.0", u"1.0000", u"Punkte5", u"674"},
                      PointsCase{u"m", u"800m", u"2:10.0", u"1.0000", u"Punkte6", u"677"},
                      PointsCase{u"m", u"5000m", u"20:00.0", u"1.0000", u"Punkte8", u"434"},
                      PointsCase{u"w", u"1000m", u"4:00.0", u"1.0000", u"Punkte9", u"462"},
                      PointsCase{u"m", u"400m", u"1:00.0", u"1.0000", u"Punkte3", u"613"}));

TEST_F(ScoringTest, NewRowWithoutAgeFactorScoresLikeFactorOne) {
    const int row = Row({{u"mw", u"m"}, {u"60m", u"7.0"}});
    scorer.ComputeRowPoints(scoringRow);
    scorer.UpdateRowSums(scoringRow);
    EXPECT_EQ(Cell(row, u"Punkte1"), u"933"_s);
    EXPECT_EQ(Cell(row, u"AF"), QString()); // the cell itself stays empty
}

TEST_F(ScoringTest, TheSexMustBeExactlyMOrW) {
    for (const char16_t* sex : {u"M", u"W", u"m ", u"", u"x"}) {
        SCOPED_TRACE(QString::fromUtf16(sex).toStdString());
        const int row = Row({{u"mw", sex}, {u"AF", u"1.0000"}, {u"60m", u"7.0"}, {u"Punkte1", u"12"}});
        ui.AnswerBox();
        scorer.ComputeRowPoints(scoringRow);
        EXPECT_EQ(Cell(row, u"Punkte1"), u"12"_s);
        EXPECT_EQ(Cell(row, u"Punkte2"), QString());
    }
    ASSERT_EQ(ui.Boxes().size(), 5u);
    for (const RecordedBox& box : ui.Boxes()) {
        EXPECT_EQ(box.text, u"Vorgabe männlich oder weiblich fehlt! m/w?   "_s);
        EXPECT_EQ(box.title, u"Vorgabe Geschlecht"_s);
        EXPECT_EQ(box.icon, MessageIcon::Information);
        EXPECT_EQ(box.buttons, MessageButtons::Ok);
    }
}

TEST_F(ScoringTest, AnUnreadableTimeScoresNothingAndIsReportedOnce) {
    Row({});
    const int row = Row({{u"mw", u"m"},
                         {u"AF", u"1.0000"},
                         {u"60m", u"7.0"},
                         {u"1500m", u"4:ab.0"},
                         {u"Punkte2", u"500"},
                         {u"400m", u"1:00.0"}});
    ui.AnswerBox();
    scorer.ComputeRowPoints(scoringRow);
    EXPECT_EQ(ui.BoxTexts(), QStringList{u"Eingabefehler in Zeile: 2"_s});
    EXPECT_TRUE(scorer.InputErrorFlag());
    EXPECT_EQ(view.CurrentRow(), row);
    EXPECT_EQ(Cell(row, u"Punkte2"), QString());
    EXPECT_EQ(Cell(row, u"Punkte1"), u"933"_s); // the rest of the row is still scored
    EXPECT_EQ(Cell(row, u"Punkte3"), u"613"_s);

    scorer.UpdateRowSums(scoringRow);
    EXPECT_EQ(Cell(row, u"Summe1"), u"1546"_s);
}

TEST_F(ScoringTest, EveryCoefficientScoresAboutThe3176PointsOfTimeZero) {
    for (Sex sex : {Sex::Men, Sex::Women}) {
        for (int d = 0; d < kDistanceCount; ++d) {
            const Coefficient& c = scorer.Coefficients().At(sex, d);
            EXPECT_GE(c.a * c.b * c.b, 3175.0) << d;
            EXPECT_LE(c.a * c.b * c.b, 3179.0) << d;
        }
    }
    EXPECT_TRUE(scorer.Coefficients().IsComplete());
}

// Values no race produces, typed or opened: reported or scored, never a crash or a wrapped sum.
TEST_F(ScoringTest, AnAgeFactorThatIsNoNumberAboveZeroLeavesTheRowWithoutPoints) {
    for (const char16_t* factor : {u"abc", u"0", u"-0.5", u"0,7887x"}) {
        const int row = Row({{u"mw", u"m"}, {u"AF", factor}, {u"60m", u"7.0"}, {u"Punkte1", u"12"}});
        ui.AnswerBox();
        scorer.ComputeRowPoints(row);
        scorer.UpdateRowSums(row);
        EXPECT_EQ(ui.BoxTexts().constLast(), u"Der Altersfaktor AF in Zeile %1 ist keine Zahl größer als 0. "
                                             u"Die Zeile erhält keine Punkte."_s.arg(row));
        EXPECT_EQ(Cell(row, u"Punkte1"), QString()) << QString::fromUtf16(factor).toStdString();
        EXPECT_EQ(Cell(row, u"Gesamt"), QString());
    }
    EXPECT_EQ(ui.Boxes()[0].title, u"Vastrel"_s);
    EXPECT_EQ(ui.Boxes()[0].icon, MessageIcon::Exclamation);
    EXPECT_FALSE(scorer.InputErrorFlag()); // a full recalculation goes on with the next row
}

TEST_F(ScoringTest, ATimeBeyondAnyRaceIsUnconvertibleAndScoresNothing) {
    const int row = Row({{u"mw", u"m"},
                         {u"AF", u"1.0000"},
                         {u"60m", u"7.0"},
                         {u"10km", u"99999999999999999999:99999999999999999999:0"},
                         {u"Summe4", u"5"}});
    ui.AnswerBox();
    scorer.ComputeRowPoints(row);
    scorer.UpdateRowSums(row);
    EXPECT_EQ(ui.BoxTexts(), QStringList{u"Eingabefehler in Zeile: %1"_s.arg(row)});
    EXPECT_EQ(Cell(row, u"Summe4"), QString());
    EXPECT_EQ(Cell(row, u"Gesamt"), u"933"_s);
}

TEST_F(ScoringTest, LongDecimalsAreWrittenInFull) {
    const QString tiny = u"0."_s + QString(80, u'0') + u'1';
    // A tiny factor is a factor: the time counts as almost nothing.
    const int fast = Row({{u"mw", u"m"}, {u"60m", u"7.0"}});
    table.SetCellText(fast, u"AF", tiny);
    scorer.ComputeRowPoints(fast);
    EXPECT_EQ(Cell(fast, u"Punkte1"), u"3175"_s);
    EXPECT_EQ(scorer.sec(fast, u"7.5"_s, u"#.#"_s), u"0."_s + QString(80, u'0') + u"75"_s);
    // Imported points of a row without m/w are summed as they stand.
    const int imported = Row({{u"100m", u"11.0"}});
    table.SetCellText(imported, u"Punkte4", tiny);
    scorer.UpdateRowSums(imported);
    EXPECT_EQ(Cell(imported, u"Summe2"), tiny);
    EXPECT_EQ(Cell(imported, u"Gesamt"), tiny);
}

} // namespace

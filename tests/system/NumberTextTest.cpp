#include "system/NumberText.h"
#include "GTestPrinters.h"

#include <QLocale>
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdint>

using namespace Qt::StringLiterals;
using namespace vastrel;

namespace {

struct LenientCase {
    const char16_t* text;
    double expected;
};

class LenientReading : public ::testing::TestWithParam<LenientCase> {};

TEST_P(LenientReading, ReadsTheLeadingNumber) {
    EXPECT_DOUBLE_EQ(ReadLenient(QStringView(GetParam().text)), GetParam().expected)
        << QString::fromUtf16(GetParam().text).toStdString();
}

INSTANTIATE_TEST_SUITE_P(Texts, LenientReading,
                         ::testing::Values(LenientCase{u"12.5x", 12.5}, LenientCase{u"7,5", 7},
                                           LenientCase{u"", 0}, LenientCase{u"abc", 0},
                                           LenientCase{u"  1950", 1950}, LenientCase{u"1 500", 1500},
                                           LenientCase{u"-3.25", -3.25}, LenientCase{u"+4", 4},
                                           LenientCase{u".5", 0.5}, LenientCase{u"12.5.3", 12.5},
                                           LenientCase{u"0.7887", 0.7887}, LenientCase{u"1e3", 1},
                                           LenientCase{u"-", 0}, LenientCase{u"4:05.3", 4},
                                           LenientCase{u"59,5", 59}, LenientCase{u"\t7\n.25", 7.25}));

TEST(StrictConversion, AcceptsPlainDecimalNumbers) {
    struct {
        const char16_t* text;
        double value;
    } const accepted[] = {{u"7", 7},       {u"7.85", 7.85}, {u" 8 ", 8},        {u".5", 0.5},     {u"5.", 5},
                          {u"-3.5", -3.5}, {u"+2", 2},      {u"0012.30", 12.3}, {u"245.3", 245.3}};
    for (const auto& c : accepted) {
        const auto v = ConvertStrict(QStringView(c.text));
        ASSERT_TRUE(v.has_value()) << QString::fromUtf16(c.text).toStdString();
        EXPECT_DOUBLE_EQ(*v, c.value);
    }
}

TEST(StrictConversion, RejectsEverythingElse) {
    for (const char16_t* text : {u"", u" ", u".", u"-", u"7,85", u"1:05.2", u"2x", u"1e3", u"1 000", u"--1",
                                 u"1.2.3", u"€5", u"0x10"}) {
        EXPECT_FALSE(ConvertStrict(QStringView(text)).has_value()) << QString::fromUtf16(text).toStdString();
    }
}

TEST(NumberToText, WholeNumbersWithoutDecimalsOthersWithFifteenDigits) {
    EXPECT_EQ(NumberToText(933), u"933"_s);
    EXPECT_EQ(NumberToText(0), u"0"_s);
    EXPECT_EQ(NumberToText(-0.0), u"0"_s);
    EXPECT_EQ(NumberToText(32767), u"32767"_s);
    EXPECT_EQ(NumberToText(205.4 * 0.7887), u"161.99898"_s);
    EXPECT_EQ(NumberToText(0.5), u"0.5"_s);
    EXPECT_EQ(NumberToText(-12.25), u"-12.25"_s);
    EXPECT_EQ(NumberToText(0.1 + 0.2), u"0.3"_s);
    EXPECT_EQ(NumberToText(1234567.5), u"1234567.5"_s); // no grouping
    EXPECT_EQ(NumberToText(1e20), u"100000000000000000000"_s);
    EXPECT_EQ(NumberToText(0.00001), u"0.00001"_s); // never an exponent
    EXPECT_EQ(NumberToText(2.0 / 3.0), u"0.666666666666667"_s);
}

struct PatternCase {
    double value;
    const char16_t* pattern;
    const char16_t* expected;
};

class PatternFormatting : public ::testing::TestWithParam<PatternCase> {};

TEST_P(PatternFormatting, RoundsHalfAwayFromZeroOnTheDecimalForm) {
    const auto& c = GetParam();
    EXPECT_EQ(FormatNumber(c.value, QStringView(c.pattern)), QString::fromUtf16(c.expected))
        << c.value << " with " << QString::fromUtf16(c.pattern).toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, PatternFormatting,
    ::testing::Values(
        // "#.#": the time rounding of the points formula
        PatternCase{12.34, u"#.#", u"12.3"}, PatternCase{7.85, u"#.#", u"7.9"},
        PatternCase{7.849, u"#.#", u"7.8"}, PatternCase{245.3, u"#.#", u"245.3"},
        PatternCase{2112, u"#.#", u"2112."}, PatternCase{0, u"#.#", u"."}, PatternCase{0.05, u"#.#", u".1"},
        PatternCase{9.95, u"#.#", u"10."}, PatternCase{-7.85, u"#.#", u"-7.9"},
        PatternCase{1.45, u"#.#", u"1.5"}, PatternCase{2.675, u"#.#", u"2.7"},
        // "#.0": sprint times
        PatternCase{8, u"#.0", u"8.0"}, PatternCase{7.46, u"#.0", u"7.5"}, PatternCase{7.25, u"#.0", u"7.3"},
        PatternCase{7.85, u"#.0", u"7.9"}, PatternCase{0, u"#.0", u".0"}, PatternCase{0.46, u"#.0", u".5"},
        PatternCase{9.96, u"#.0", u"10.0"}, PatternCase{12.04, u"#.0", u"12.0"},
        // "#": the day 1 sum
        PatternCase{0, u"#", u""}, PatternCase{821, u"#", u"821"}, PatternCase{12.5, u"#", u"13"},
        PatternCase{0.4, u"#", u""}, PatternCase{2499.5, u"#", u"2500"}, PatternCase{-2.5, u"#", u"-3"}));

TEST(NumberText, IgnoresTheLocale) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const char* previous = std::setlocale(LC_ALL, nullptr);
    const std::string saved = previous ? previous : "C";
    std::setlocale(LC_ALL, "de_DE.UTF-8");

    EXPECT_EQ(NumberToText(161.99898), u"161.99898"_s);
    EXPECT_EQ(FormatNumber(7.46, u"#.0"), u"7.5"_s);
    EXPECT_DOUBLE_EQ(ReadLenient(u"0.7887"), 0.7887);
    EXPECT_DOUBLE_EQ(ConvertStrict(u"245.3").value_or(0), 245.3);
    EXPECT_FALSE(ConvertStrict(u"245,3").has_value());

    std::setlocale(LC_ALL, saved.c_str());
    QLocale::setDefault(QLocale::c());
}

} // namespace

namespace {

// Values of two decimals, n / 100, written as decimals: the tenths they round to follow from
// integer arithmetic alone, so the binary fast path and the decimal path are both checked.
TEST(NumberText, TenthsRoundHalfAwayFromZeroForEveryTwoDecimalValue) {
    for (int n = -20000; n <= 20000; ++n) {
        const double value = n / 100.0;
        const int magnitude = n < 0 ? -n : n;
        const int tenths = (magnitude + 5) / 10; // half away from zero
        const QString digits = tenths / 10 ? QString::number(tenths / 10) : QString();
        const QString sign = (n < 0 && tenths != 0) ? u"-"_s : QString();
        const QString expected = sign + digits + u'.' + QString::number(tenths % 10);
        ASSERT_EQ(FormatNumber(value, u"#.0"), expected) << n;
        ASSERT_DOUBLE_EQ(RoundLikePattern(value, u"#.#"), (n < 0 ? -tenths : tenths) / 10.0) << n;
    }
}

// A text taken as written in tenths must come back unchanged from reading and writing it; texts
// that would change are not taken.
TEST(NumberText, TextsWrittenInTenthsComeBackAsTheyAre) {
    for (int n = 0; n <= 9999999; n += (n < 20000 ? 1 : 13)) { // up to 999999.9
        const QString text = FormatNumber(n / 10.0, u"#.0");
        ASSERT_TRUE(IsWrittenInTenths(text)) << text.toStdString();
        ASSERT_EQ(FormatNumber(ReadLenient(text), u"#.0"), text);
    }
    for (const char16_t* other : {u"7", u"7.", u"7.50", u"07.5", u"0.5", u" 7.5", u"7.5 ", u"-7.5", u"+7.5",
                                  u"7,5", u"1e3.0", u"1234567.8", u"", u"."}) {
        const QString text = QString::fromUtf16(other);
        EXPECT_FALSE(IsWrittenInTenths(text)) << text.toStdString();
    }
}

TEST(NumberText, WholeNumbersRoundHalfAwayFromZero) {
    for (int n = -5000; n <= 5000; ++n) {
        const double value = n / 10.0;
        const int magnitude = n < 0 ? -n : n;
        const int whole = (magnitude + 5) / 10;
        const QString expected =
            whole == 0 ? QString() : (n < 0 ? u"-"_s : QString()) + QString::number(whole);
        ASSERT_EQ(FormatNumber(value, u"#"), expected) << n;
    }
}

// The rounding to 15 digits must give what writing and reading the text would give;
// Qt's own formatting serves as the independent writer.
TEST(NumberText, TextPrecisionMatchesAWriteAndReadBack) {
    std::uint64_t state = 88172645463325252ull;
    auto next = [&] {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return state;
    };
    for (int i = 0; i < 200000; ++i) {
        const double time = static_cast<double>(next() % 60000) / 10.0;      // up to 6000.0 s
        const double factor = static_cast<double>(next() % 10000) / 10000.0; // 0.0000 .. 0.9999
        const double effective = time * factor;
        const double expected = QString::number(effective, 'g', 15).toDouble();
        ASSERT_EQ(RoundToTextPrecision(effective), expected) << time << " * " << factor;
        ASSERT_EQ(ConvertStrict(NumberToText(effective)).value_or(-1), expected) << time << " * " << factor;
    }
}

TEST(NumberText, LongNumbersAreReadExactly) {
    EXPECT_EQ(ReadLenient(u"1234567890.123456789"), 1234567890.123456789);
    EXPECT_EQ(ConvertStrict(u"0.30000000000000004").value_or(0), 0.30000000000000004);
    EXPECT_EQ(ConvertStrict(u"123456789012345678901234567890").value_or(0), 1.2345678901234568e29);
    EXPECT_EQ(ReadLenient(u"   -0000000000000000000000000000000012.5abc"), -12.5);
}

} // namespace

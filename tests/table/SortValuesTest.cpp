#include "table/SortValues.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <numeric>
#include <random>
#include <span>

using namespace vastrel;

namespace {

// The order as a comparison sort gives it: numbers by value, texts by rank, numbers before texts
// turned round descending, values of none last both ways, equal rows in their first order.
std::vector<SortIndex> OrderByComparing(const std::vector<SortValue>& values, std::size_t keys,
                                        bool descending) {
    std::vector<SortIndex> order(values.size() / keys);
    std::iota(order.begin(), order.end(), SortIndex{0});
    std::stable_sort(order.begin(), order.end(), [&](SortIndex a, SortIndex b) {
        for (std::size_t k = 0; k < keys; ++k) {
            const SortValue& va = values[a * keys + k];
            const SortValue& vb = values[b * keys + k];
            if (va.cls() == SortValue::Empty || vb.cls() == SortValue::Empty) {
                if (va.cls() != vb.cls()) {
                    return vb.cls() == SortValue::Empty;
                }
                continue;
            }
            int c = va.cls() != vb.cls() ? (va.cls() < vb.cls() ? -1 : 1) : 0;
            if (c == 0 && va.cls() == SortValue::Number) {
                c = va.number() < vb.number() ? -1 : (vb.number() < va.number() ? 1 : 0);
            } else if (c == 0) {
                c = va.textKey() < vb.textKey() ? -1 : (vb.textKey() < va.textKey() ? 1 : 0);
            }
            if (c != 0) {
                return descending ? c > 0 : c < 0;
            }
        }
        return false;
    });
    return order;
}

} // namespace

// Numbers of every sign and size (both zeros, infinities, the smallest and largest doubles,
// values a digit apart) or a few close ones, texts and empty cells, one to three keys, both
// directions.
TEST(SortValues, OrderAsAComparisonSortDoes) {
    const double kWide[] = {0.0,
                            -0.0,
                            1.0,
                            -1.0,
                            7.5,
                            -7.5,
                            1e-300,
                            -1e-300,
                            5e-324,
                            std::numeric_limits<double>::max(),
                            -std::numeric_limits<double>::max(),
                            HUGE_VAL,
                            -HUGE_VAL,
                            821.0,
                            822.0,
                            4096.0,
                            4097.0,
                            1e15,
                            1e15 + 1};
    const double kClose[] = {1.0, 2.0, 3.0, 7.5, 821.0, 822.0};
    std::mt19937 random(7);
    for (std::size_t keys : {1u, 2u, 3u}) {
        for (std::span<const double> numbers :
             {std::span<const double>(kWide), std::span<const double>(kClose)}) {
            for (int textRanks : {0, 3, 5000}) {
                std::vector<SortValue> values(3000 * keys);
                for (SortValue& v : values) {
                    const auto pick = random() % 10;
                    if (pick < 2) {
                        v = {}; // empty
                    } else if (pick < 5 && textRanks > 0) {
                        v = SortValue::OfText(static_cast<int>(random() % static_cast<unsigned>(textRanks)));
                    } else {
                        v = SortValue::OfNumber(numbers[random() % numbers.size()]);
                    }
                }
                for (bool descending : {false, true}) {
                    EXPECT_EQ(StableOrderOf(values, keys, descending),
                              OrderByComparing(values, keys, descending))
                        << keys << " keys, " << textRanks << " ranks, descending " << descending;
                }
            }
        }
    }
}

// Keys of few values share one word: a text key of two ranks before a key of close numbers, and
// a key of numbers and empty cells before one of texts.
TEST(SortValues, KeysSharingAWordKeepTheirOrder) {
    const auto text = [](int rank) {
        return SortValue::OfText(rank);
    };
    const auto number = [](double n) {
        return SortValue::OfNumber(n);
    };
    const std::vector<SortValue> values = {text(1), number(2.0), text(0), number(3.0),
                                           text(1), number(1.0), text(0), number(822.0)};
    EXPECT_EQ(StableOrderOf(values, 2, false), (std::vector<SortIndex>{1, 3, 2, 0}));
    EXPECT_EQ(StableOrderOf(values, 2, true), (std::vector<SortIndex>{0, 2, 3, 1}));
    const std::vector<SortValue> withEmpty = {number(7.5), text(2), SortValue{}, text(0),
                                              number(7.5), text(1), number(1.0), text(3)};
    EXPECT_EQ(StableOrderOf(withEmpty, 2, false), (std::vector<SortIndex>{3, 2, 0, 1}));
    EXPECT_EQ(StableOrderOf(withEmpty, 2, true), (std::vector<SortIndex>{0, 2, 3, 1}));
}

// Words of every width, equal ones among them, in order and stable.
TEST(SortValues, OrderOfWordsIsStableAndSmallestFirst) {
    std::mt19937_64 random(11);
    std::vector<std::uint64_t> words(5000);
    for (std::uint64_t& w : words) {
        w = random() >> (random() % 64);
    }
    words[17] = words[4000]; // equals keep their order
    std::vector<SortIndex> expected(words.size());
    std::iota(expected.begin(), expected.end(), SortIndex{0});
    std::stable_sort(expected.begin(), expected.end(),
                     [&](SortIndex a, SortIndex b) { return words[a] < words[b]; });
    EXPECT_EQ(OrderOfWords(words), expected);
}

// Eight bytes tell the three apart: no number, not even one that is no number at all, reads as
// a text or as nothing.
TEST(SortValues, NumbersTextsAndNothingStayApart) {
    for (double n : {0.0, -0.0, HUGE_VAL, -HUGE_VAL, std::numeric_limits<double>::quiet_NaN(),
                     -std::numeric_limits<double>::quiet_NaN(), std::bit_cast<double>(0xfff9000000000007),
                     std::bit_cast<double>(0xfffa000000000000)}) {
        EXPECT_EQ(SortValue::OfNumber(n).cls(), SortValue::Number) << n;
    }
    EXPECT_EQ(SortValue::OfNumber(-7.5).number(), -7.5);
    EXPECT_EQ(SortValue::OfText(0).cls(), SortValue::Text);
    EXPECT_EQ(SortValue::OfText(2147483647).textKey(), 2147483647);
    EXPECT_EQ(SortValue().cls(), SortValue::Empty);
}

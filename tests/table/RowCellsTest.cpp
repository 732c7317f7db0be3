#include "table/RowCells.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <random>
#include <thread>

using namespace Qt::StringLiterals;

namespace vastrel {
namespace {

// The row as plain strings, to hold RowCells against.
QStringList Texts(const RowCells& cells, std::size_t columns) {
    QStringList out;
    for (std::size_t c = 0; c < columns; ++c) {
        out << cells.At(c).toString();
    }
    return out;
}

TEST(RowCells, FieldsBuildTheRowAndTrailingEmptyOnesAreNotStored) {
    const QString a = u"Meier, Anna"_s, b = u"4:05.3"_s, empty;
    const RowCells cells(std::vector<QStringView>{a, empty, b, empty, empty});
    EXPECT_EQ(cells.Count(), 3u);
    EXPECT_EQ(Texts(cells, 5), (QStringList{a, u""_s, b, u""_s, u""_s}));
    EXPECT_EQ(RowCells(std::vector<QStringView>{empty, empty}).Bytes(), 0u); // no block for an empty row
    EXPECT_TRUE(RowCells(std::vector<QStringView>{empty, empty}).IsEmpty());
    EXPECT_FALSE(cells.IsEmpty());
    const QString wide(70000, QChar(u'x')); // past what 16 bits could count
    const RowCells long_(std::vector<QStringView>{a, wide, b});
    EXPECT_EQ(long_.At(1).size(), 70000);
    EXPECT_EQ(long_.At(2), b);
}

// Writing makes a new block and leaves every copy of the old one as it was, on any thread.
TEST(RowCells, CopiesShareAndWritingLeavesThemAlone) {
    const RowCells original(std::vector<QStringView>{u"1", u"Meier", u"8.0"});
    RowCells copy = original;
    const RowCells written = copy.With(1, u"Schulz");
    EXPECT_EQ(Texts(original, 3), (QStringList{u"1"_s, u"Meier"_s, u"8.0"_s}));
    EXPECT_EQ(Texts(written, 3), (QStringList{u"1"_s, u"Schulz"_s, u"8.0"_s}));
    EXPECT_TRUE(copy == original);
    EXPECT_FALSE(written == original);
    EXPECT_TRUE(original.With(5, u"").At(5).isEmpty());
    EXPECT_TRUE(original.With(5, u"") == original); // an empty cell stored reads as none stored
    EXPECT_EQ(Texts(original.Left(2), 3), (QStringList{u"1"_s, u"Meier"_s, u""_s}));
    EXPECT_TRUE(original.Left(9) == original);

    // Copies made and dropped on two threads at once count right: the block lives on.
    std::vector<RowCells> held(10000, original);
    std::thread other([&held] {
        for (std::size_t i = 0; i < held.size(); i += 2) {
            held[i] = RowCells();
        }
    });
    for (int i = 0; i < 10000; ++i) {
        RowCells more = original;
    }
    other.join();
    held.clear();
    EXPECT_EQ(original.At(1), u"Meier"_s);
}

// Random writes of growing, shrinking and equal-length texts, past the stored cells too, against
// a list of strings.
TEST(RowCells, RandomWritesAgreeWithPlainStrings) {
    std::mt19937 random(7);
    constexpr std::size_t kColumns = 33;
    RowCells cells;
    QStringList expected(kColumns);
    for (int step = 0; step < 3000; ++step) {
        const auto column = static_cast<std::size_t>(random() % kColumns);
        const QString text(static_cast<qsizetype>(random() % 9), QChar(u'a' + step % 26));
        const RowCells before = cells;
        cells = cells.With(column, text);
        ASSERT_EQ(before.At(column), expected[static_cast<qsizetype>(column)]) << step;
        expected[static_cast<qsizetype>(column)] = text;
        ASSERT_EQ(Texts(cells, kColumns), expected) << step;
    }
}

} // namespace
} // namespace vastrel

#include "table/RowCells.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <random>

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
    const RowCells cells({a, empty, b, empty, empty}, 4);
    EXPECT_EQ(cells.Count(), 3u);
    EXPECT_EQ(Texts(cells, 5), (QStringList{a, u""_s, b, u""_s, u""_s}));
    EXPECT_EQ(RowCells({empty, empty}, 33).Bytes(), 0u); // an empty row holds no allocation
    EXPECT_EQ(RowCells({a, b}, 1).Count(), 1u);          // surplus fields dropped
    RowCells roomy({a, empty}, 33, 20);                  // every cell placed, 20 characters to spare
    const std::size_t bytes = roomy.Bytes();
    EXPECT_EQ(roomy.Count(), 33u);
    roomy.Set(32, u"8391"_s, 33);
    roomy.Set(10, u"812"_s, 33);
    EXPECT_EQ(roomy.Bytes(), bytes); // no new block
    EXPECT_EQ(roomy.At(0), a);
    EXPECT_EQ(roomy.At(32), u"8391"_s);
    RowCells emptied({empty, b}, 33);
    EXPECT_FALSE(emptied.IsEmpty());
    emptied.Set(1, {}, 33);
    EXPECT_TRUE(emptied.IsEmpty()); // cells stored, all of them empty
}

// Rows made from images one after the other in one buffer read as rows made from their fields:
// trailing empty cells, a row of empty cells only, and one past the 65,535 characters 16-bit ends
// hold; each made to measure.
TEST(RowCells, ImagesInOneBufferMakeTheRowsTheirFieldsMake) {
    const QString a = u"Läufer, Jan"_s, b = u"12:40.1"_s, odd = u"123"_s, empty;
    const QString wide(70000, QChar(u'x'));
    const std::vector<std::vector<QStringView>> rows = {
        {a, empty, b, empty}, {empty, empty}, {odd}, {a, wide, b}, {b, odd}};
    std::vector<char> buffer;
    std::vector<std::size_t> starts;
    for (const auto& fields : rows) {
        starts.push_back(buffer.size());
        RowCells::AppendImage(fields, buffer);
    }
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const RowCells expected(rows[i], rows[i].size());
        const RowCells made = RowCells::FromImage(buffer.data() + starts[i]);
        EXPECT_EQ(made.Count(), expected.Count()) << i;
        EXPECT_EQ(Texts(made, 4), Texts(expected, 4)) << i;
        EXPECT_EQ(made.Bytes(), expected.Bytes()) << i;
        EXPECT_EQ(starts[i] % 8, 0u) << i;
    }
}

// Random writes of growing, shrinking and equal-length texts, past the stored cells too, and a
// row that crosses the 65,535 characters 16-bit ends can hold, against a list of strings.
TEST(RowCells, RandomWritesAgreeWithPlainStrings) {
    std::mt19937 random(7);
    constexpr std::size_t kColumns = 33;
    RowCells cells;
    RowCells scratch; // copied into again and again, its block kept where it fits
    QStringList expected(kColumns);
    std::size_t longColumn = 0;
    for (int step = 0; step < 5000; ++step) {
        auto column = static_cast<std::size_t>(random() % kColumns);
        const auto length = step == 2500 ? 70000u : random() % 9;
        QString text(static_cast<qsizetype>(length), QChar(u'a' + step % 26));
        if (step == 2500) {
            longColumn = column;
        } else if (step == 2600) {
            column = longColumn; // the long text goes again
        }
        cells.Set(column, text, kColumns);
        expected[static_cast<qsizetype>(column)] = text;
        if (step % 97 == 0) {
            RowCells copy(cells); // a copy holds the same texts and can be written on
            copy.Set(0, u"Kopie"_s, kColumns);
            QStringList copied = expected;
            copied[0] = u"Kopie"_s;
            ASSERT_EQ(Texts(copy, kColumns), copied) << step;
            scratch.AssignWithRoom(cells, kColumns, 20);
            ASSERT_EQ(scratch.Count(), kColumns);
            ASSERT_TRUE(scratch.SameTexts(cells, kColumns)) << step;
            const std::size_t bytes = scratch.Bytes();
            scratch.Set(kColumns - 1, QString(20, u'z'), kColumns);
            ASSERT_EQ(scratch.Bytes(), bytes) << step; // the room is there
            ASSERT_EQ(scratch.SameTexts(cells, kColumns), expected.last() == QString(20, u'z')) << step;
            ASSERT_TRUE(scratch.SameTexts(cells, kColumns - 1)) << step;
        }
        ASSERT_EQ(Texts(cells, kColumns), expected) << step;
    }
}

} // namespace
} // namespace vastrel

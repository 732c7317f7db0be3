#include "GTestPrinters.h"
#include "TableFixture.h"
#include "table/TableJournal.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace vastrel;
using namespace vastrel::testing;

namespace {

class ResultTableTest : public ::testing::Test {
protected:
    void SetUp() override { AddColumns(table, {{u"Lauf"_s, 1}, {u"Name"_s, 0}, {u"Zeit"_s, 4}}); }
    ResultTable table;
};

TEST_F(ResultTableTest, AddRowSplitsAtTabsPadsAndDropsFields) {
    EXPECT_EQ(table.AddRow(u"1\tMeier\t7.5"_s), 1);
    EXPECT_EQ(table.AddRow(u"2"_s), 2);
    EXPECT_EQ(table.AddRow(u"3\tA\t8.0\tzu viel\tnoch mehr"_s), 3);
    EXPECT_EQ(table.AddRow(QString()), 4);
    EXPECT_EQ(table.AddRow(u"\t\tx"_s), 5);
    EXPECT_EQ(table.RowCount(), 5);
    EXPECT_EQ(ColumnTexts(table, 2), (QStringList{u"Meier"_s, u""_s, u"A"_s, u""_s, u""_s}));
    EXPECT_EQ(ColumnTexts(table, 3), (QStringList{u"7.5"_s, u""_s, u"8.0"_s, u""_s, u"x"_s}));
}

TEST_F(ResultTableTest, CellsByKeyAndByNumber) {
    table.AddRow(u"1\tMeier\t7.5"_s);
    EXPECT_EQ(table.CellText(1, u"Name"), u"Meier"_s);
    EXPECT_EQ(table.CellText(1, 2), u"Meier"_s);
    table.SetCellText(1, u"Zeit", u"8.1"_s);
    EXPECT_EQ(table.CellText(1, 3), u"8.1"_s);
    EXPECT_EQ(table.ColumnNumber(u"Zeit"), 3);
    EXPECT_EQ(table.ColumnNumber(u"Alter"), 0);
    EXPECT_EQ(table.ColumnNumber(u"zeit"), 0); // keys are case-sensitive
}

TEST_F(ResultTableTest, OutOfRangeReadsAreEmptyAndWritesIgnored) {
    table.AddRow(u"1"_s);
    EXPECT_EQ(table.CellText(0, 1), QString());
    EXPECT_EQ(table.CellText(2, 1), QString());
    EXPECT_EQ(table.CellText(1, 4), QString());
    EXPECT_EQ(table.CellText(1, u"Alter"), QString());
    table.SetCellText(2, 1, u"x"_s);
    table.SetCellText(1, u"Alter", u"x"_s);
    table.SetCellFlag(9, 1, true);
    EXPECT_EQ(table.RowCount(), 1);
    EXPECT_FALSE(table.CellFlag(9, 1));
    EXPECT_EQ(table.Key(99), QString());
    EXPECT_FALSE(table.Visible(u"Alter"));
}

TEST_F(ResultTableTest, CellFlagsMakeCellsComputed) {
    table.AddRow(QString());
    EXPECT_TRUE(table.IsCellEditable(1, 2));
    table.SetCellFlag(1, u"Name", true);
    EXPECT_TRUE(table.CellFlag(1, 2));
    EXPECT_FALSE(table.IsCellEditable(1, 2));
    EXPECT_FALSE(table.CellFlag(1, 1));
}

// Flags of columns past the 64th are kept apart from the row: they go with it through a sort,
// into a copy, out with a deleted row and back with undo, and clearing one sets none.
TEST_F(ResultTableTest, FlagsPastTheSixtyFourthColumnStayWithTheirRow) {
    for (int c = 4; c <= 140; ++c) {
        table.AddColumn(u"S%1"_s.arg(c), u"S%1"_s.arg(c), 10, 0, true, 1, 0, 0, 0);
    }
    table.AddRow(u"2\tB"_s);
    table.AddRow(u"1\tA"_s);
    table.SetCellFlag(1, 64, true);
    table.SetCellFlag(1, 65, true);
    table.SetCellFlag(1, 140, true);
    table.SetCellFlag(1, 65, false);
    table.SetCellFlag(2, 130, false);
    table.SortBy(u"Lauf"_s, SortDirection::Ascending);
    const auto flagged = [](const ResultTable& t, int row) {
        QList<int> columns;
        for (int c = 1; c <= t.ColumnCount(); ++c) {
            if (t.CellFlag(row, c)) {
                columns << c;
            }
        }
        return columns;
    };
    EXPECT_EQ(flagged(table, 2), (QList<int>{64, 140}));
    EXPECT_EQ(flagged(table, 1), QList<int>());
    EXPECT_EQ(flagged(*table.Copy(), 2), (QList<int>{64, 140}));
    TableJournal journal;
    table.RecordInto(&journal);
    table.SetRowSelected(2, true);
    ASSERT_TRUE(table.DeleteSelectedRows());
    table.RecordInto(nullptr);
    journal.Undo(table);
    EXPECT_EQ(flagged(table, 2), (QList<int>{64, 140}));
}

TEST_F(ResultTableTest, AddingAColumnWidensEveryRow) {
    table.AddRow(u"1\tA\t7.0"_s);
    table.AddColumn(u"Neu"_s, u"Neu"_s, 10, 0, true, 1, 0, 0, 0);
    EXPECT_EQ(table.ColumnCount(), 4);
    EXPECT_EQ(table.CellText(1, 4), QString());
    table.SetCellText(1, 4, u"x"_s);
    EXPECT_EQ(table.CellText(1, u"Neu"), u"x"_s);
}

TEST_F(ResultTableTest, ClearTableEmptiesRowsAndOptionallyColumns) {
    table.AddRow(u"1"_s);
    table.ClearTable(false);
    EXPECT_EQ(table.RowCount(), 0);
    EXPECT_EQ(table.ColumnCount(), 3);
    table.ClearTable(true);
    EXPECT_EQ(table.ColumnCount(), 0);
    EXPECT_EQ(table.ColumnNumber(u"Lauf"), 0);
}

TEST_F(ResultTableTest, EditCellLetsTheValidatorRewriteThenReportsTheStoredText) {
    table.AddRow(QString());
    QStringList calls;
    table.Events().validateCellEdit = [&](int column, QString& text) {
        calls << u"validate %1 %2"_s.arg(column).arg(text);
        text.replace(u',', u'.');
    };
    table.Events().afterCellEdit = [&](int row, int column, const QString& text) {
        calls << u"after %1 %2 %3 %4"_s.arg(row).arg(column).arg(text, table.CellText(row, column));
    };
    table.EditCell(1, u"Zeit", u"7,85"_s);
    EXPECT_EQ(calls, (QStringList{u"validate 3 7,85"_s, u"after 1 3 7.85 7.85"_s}));
}

TEST_F(ResultTableTest, DeletingOneSelectedRowNamesIt) {
    for (int i = 1; i <= 20; ++i) {
        table.AddRow(QString::number(i));
    }
    table.SetRowSelected(17, true);
    int askedRow = -1;
    table.Events().beforeRowsDelete = [&](int row, bool&) {
        askedRow = row;
    };
    EXPECT_TRUE(table.DeleteSelectedRows());
    EXPECT_EQ(askedRow, 17);
    EXPECT_EQ(table.RowCount(), 19);
    EXPECT_EQ(table.CellText(17, 1), u"18"_s);
    EXPECT_EQ(table.SelectedRowCount(), 0);
    EXPECT_EQ(table.CurrentRow(), 17);
}

TEST_F(ResultTableTest, DeletingSeveralRowsPassesZeroAndCancelKeepsThem) {
    for (int i = 1; i <= 5; ++i) {
        table.AddRow(QString::number(i));
    }
    for (int r : {1, 3, 5}) {
        table.SetRowSelected(r, true);
    }
    EXPECT_EQ(table.SelectedRowCount(), 3);
    int askedRow = -1;
    table.Events().beforeRowsDelete = [&](int row, bool& cancel) {
        askedRow = row;
        cancel = true;
    };
    EXPECT_FALSE(table.DeleteSelectedRows());
    EXPECT_EQ(askedRow, 0);
    EXPECT_EQ(table.RowCount(), 5);
    EXPECT_EQ(table.SelectedRowCount(), 3);

    table.Events().beforeRowsDelete = [](int, bool&) {
    };
    EXPECT_TRUE(table.DeleteSelectedRows());
    EXPECT_EQ(ColumnTexts(table, 1), (QStringList{u"2"_s, u"4"_s}));
    EXPECT_EQ(table.CurrentRow(), 1);
}

TEST_F(ResultTableTest, WithoutSelectionTheCurrentRowIsDeleted) {
    table.AddRow(u"1"_s);
    table.AddRow(u"2"_s);
    table.SetCurrentRow(2);
    int askedRow = -1;
    table.Events().beforeRowsDelete = [&](int row, bool&) {
        askedRow = row;
    };
    EXPECT_TRUE(table.DeleteSelectedRows());
    EXPECT_EQ(askedRow, 2);
    EXPECT_EQ(ColumnTexts(table, 1), QStringList{u"1"_s});
    EXPECT_EQ(table.CurrentRow(), 1);

    table.ClearTable(false);
    askedRow = -1;
    EXPECT_FALSE(table.DeleteSelectedRows());
    EXPECT_EQ(askedRow, -1); // nothing to delete, nothing asked
}

TEST_F(ResultTableTest, SelectionCountFollowsChanges) {
    for (int i = 0; i < 4; ++i) {
        table.AddRow(QString());
    }
    table.SetRowSelected(2, true);
    table.SetRowSelected(2, true);
    table.SetRowSelected(4, true);
    EXPECT_EQ(table.SelectedRowCount(), 2);
    table.SetRowSelected(2, false);
    EXPECT_EQ(table.SelectedRowCount(), 1);
    EXPECT_TRUE(table.RowSelected(4));
    EXPECT_FALSE(table.RowSelected(2));
    table.ClearSelection();
    EXPECT_EQ(table.SelectedRowCount(), 0);

    // A range of rows at once, clamped to the table, counted once per row, told once.
    CountingObserver observer;
    table.SetObserver(&observer);
    table.SetRowSelected(3, true);
    table.SelectRows(2, 9);
    EXPECT_EQ(table.SelectedRowCount(), 3);
    EXPECT_EQ(observer.states, 2);
    table.SelectRows(3, 4); // nothing new: nothing told
    EXPECT_EQ(observer.states, 2);
    table.SetObserver(nullptr);
}

TEST_F(ResultTableTest, CurrentRowStaysInsideTheTable) {
    table.SetCurrentRow(1);
    EXPECT_EQ(table.CurrentRow(), 0); // no rows
    table.AddRow(QString());
    table.AddRow(QString());
    table.SetCurrentRow(1);
    EXPECT_EQ(table.CurrentRow(), 1);
    table.SetCurrentRow(7);
    EXPECT_EQ(table.CurrentRow(), 2);
    table.SetCurrentRow(0);
    EXPECT_EQ(table.CurrentRow(), 1);
}

TEST_F(ResultTableTest, LockedChangesAreAnnouncedOnceWhenUnlocked) {
    CountingObserver observer;
    table.SetObserver(&observer);
    table.LockUpdate(true);
    for (int i = 0; i < 100; ++i) {
        table.AddRow(u"1\tA\t7.0"_s);
        table.SetCellText(i + 1, 2, u"B"_s);
        table.SetVisible(2, i % 2 == 0);
        table.SetCurrentRow(i + 1);
    }
    table.Refresh(); // still locked: nothing
    EXPECT_EQ(observer.Total(), 0);
    table.LockUpdate(false);
    EXPECT_EQ(observer.resets, 1);
    EXPECT_EQ(observer.Total(), 1);
    table.Refresh();
    EXPECT_EQ(observer.resets, 2);
    table.SetObserver(nullptr);
}

TEST_F(ResultTableTest, UnlockedChangesAreAnnouncedOneByOne) {
    table.AddRow(QString());
    CountingObserver observer;
    table.SetObserver(&observer);
    table.SetCellText(1, 1, u"5"_s);
    table.SetCellText(1, 1, u"5"_s); // unchanged: not announced
    table.SetCellFlag(1, 1, true);
    table.SetVisible(1, false);
    table.SetCaption(u"Stadtlauf"_s);
    EXPECT_EQ(observer.cells, 2);
    EXPECT_EQ(observer.columns, 1);
    EXPECT_EQ(observer.states, 1);
    EXPECT_EQ(observer.resets, 0);
    table.SetObserver(nullptr);
}

TEST_F(ResultTableTest, FitColumnKeepsTheNarrowestWidth) {
    table.SetWidth(1, 100);
    table.FitColumn(1);
    EXPECT_EQ(table.Width(1), ResultTable::kDefaultMinimumWidth);
    table.SetFixedWidth(2, 500);
    table.SetWidth(2, 450);
    table.FitColumn(2);
    EXPECT_EQ(table.Width(2), 500);
    table.SetWidth(3, 900);
    table.FitColumn(3);
    EXPECT_EQ(table.Width(3), 900);
}

TEST_F(ResultTableTest, ReportSettingsAreKeptUntilReset) {
    table.SetReportTitle(u"Stadtlauf"_s);
    table.SetReportCaption(u"Stadtlauf - 2.Tag"_s);
    table.SetReportOptionA(true);
    table.SetReportOptionB(true);
    EXPECT_EQ(table.ReportCaption(), u"Stadtlauf - 2.Tag"_s);
    EXPECT_TRUE(table.ReportOptionA() && table.ReportOptionB());
    table.ResetReport();
    EXPECT_EQ(table.ReportTitle(), QString());
    EXPECT_FALSE(table.ReportOptionA() || table.ReportOptionB());
}

// A scored competition row (every cell filled as scoring leaves it) stays within 600 bytes.
TEST(ResultTableMemory, AScoredCompetitionRowTakesAtMost600Bytes) {
    ResultTable table;
    for (int c = 1; c <= 33; ++c) {
        table.AddColumn(u"c%1"_s.arg(c), QString(), 10, 2, true, 1, 2, 0, 0);
    }
    const QString row =
        u"2\t2024\t%1\tw\t%1\tLäuferin-Mustermann%1, "
        u"Alexandra\t1951\t0.7887\t\t8.1\t812\t4:11.1\t794\t1:01.0\t"
        u"955\t2561\t12.1\t845\t9:01.5\t812\t2:11.1\t801\t2458\t24.1\t911\t17:01.0\t760\t3:11.4\t"
        u"802\t2473\t0:36:12.0\t899\t8391"_s;
    for (int i = 1; i <= 1000; ++i) {
        table.AddRow(row.arg(10000 + i));
    }
    EXPECT_LE(table.RowBytes() / 1000, 600u);
}

} // namespace

#include "GTestPrinters.h"
#include "TableFixture.h"
#include "table/TableView.h"

#include <gtest/gtest.h>

#include <functional>

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
    EXPECT_EQ(table.CellText(3, 4), QString()); // the surplus field is nowhere
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

// A row's flags are one bit a column: a table takes no more columns than the bits.
TEST_F(ResultTableTest, ATableHasAtMostSixtyFourColumns) {
    for (int c = 4; c <= 70; ++c) {
        table.AddColumn(u"S%1"_s.arg(c), u"S%1"_s.arg(c), 10, 0, true, 1, 0, 0, 0);
    }
    EXPECT_EQ(table.ColumnCount(), kMaxColumns);
    table.AddRow(QString());
    table.SetCellFlag(1, 64, true);
    EXPECT_TRUE(table.CellFlag(1, 64));
    EXPECT_FALSE(table.CellFlag(1, 63));
}

TEST_F(ResultTableTest, AddingAColumnWidensEveryRow) {
    table.AddRow(u"1\tA\t7.0"_s);
    table.AddColumn(u"Neu"_s, u"Neu"_s, 10, 0, true, 1, 0, 0, 0);
    EXPECT_EQ(table.ColumnCount(), 4);
    EXPECT_EQ(table.CellText(1, 4), QString());
    table.SetCellText(1, 4, u"x"_s);
    EXPECT_EQ(table.CellText(1, u"Neu"), u"x"_s);
}

TEST_F(ResultTableTest, RowsThatBringTheirIdsKeepThemAndNewRowsGetOthers) {
    TableData data;
    data.columns = table.Data().columns;
    data.rows = {Row{7, {}}, Row{0, {}}, Row{3, {}}}; // a server's ids, and one read from a file
    table.Replace(std::move(data));
    table.AddRow(u"4"_s);
    std::vector<RowId> ids;
    for (int row = 1; row <= table.RowCount(); ++row) {
        ids.push_back(table.IdOf(row));
    }
    EXPECT_EQ(ids, (std::vector<RowId>{7, 8, 3, 9}));
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

TEST_F(ResultTableTest, RemovingRowsClosesUpAndSkipsWhatIsNotThere) {
    for (int i = 1; i <= 6; ++i) {
        table.AddRow(QString::number(i));
    }
    table.RemoveRows({2, 2, 5, 9});
    EXPECT_EQ(ColumnTexts(table, 1), (QStringList{u"1"_s, u"3"_s, u"4"_s, u"6"_s}));
}

// Everything between BeginChange and EndChange is one change, told once; taken back (turned
// round and applied) the table is as it was, row ids included, and done again as it was after.
TEST_F(ResultTableTest, AChangeTurnedRoundTakesItselfBack) {
    for (const QString& row : {u"2\tB\t9.0"_s, u"1\tA\t8.0"_s, u"3\tC"_s, u"4\tD"_s}) {
        table.AddRow(row);
    }
    table.SetCaption(u"Stadtlauf"_s);
    const QStringList before = Snapshot(table);
    CountingObserver observer;
    table.AddObserver(&observer);
    table.BeginChange();
    table.SetCellText(1, u"Zeit", u"7.5"_s);
    table.SetCellFlag(1, u"Zeit", true);
    table.SetCellText(1, u"Name", u"Bea"_s); // the same row again: joins its edit
    table.SortBy(u"Lauf"_s, SortDirection::Descending);
    table.RemoveRows({1, 3});
    table.AddRow(u"5\tE"_s);
    table.SetCaption(u"Stadtlauf 2024"_s);
    table.StoreCells(2, RowCells(std::vector<QStringView>{u"9", u"Z"}));
    Change change = table.EndChange();
    EXPECT_EQ(observer.changes, 1);
    EXPECT_TRUE(change.MovesRows());
    const QStringList after = Snapshot(table);
    ASSERT_NE(after, before);

    change.Invert();
    table.Apply(change);
    EXPECT_EQ(Snapshot(table), before);
    change.Invert();
    table.Apply(change);
    EXPECT_EQ(Snapshot(table), after);
    EXPECT_EQ(observer.changes, 3);
    table.RemoveObserver(&observer);

    // Replacing the whole table is taken back the same way.
    table.BeginChange();
    table.ClearTable(true);
    Change cleared = table.EndChange();
    EXPECT_EQ(table.ColumnCount(), 0);
    cleared.Invert();
    table.Apply(cleared);
    EXPECT_EQ(Snapshot(table), after);
    EXPECT_EQ(table.CellText(1, u"Name"), table.CellText(1, 2)); // the keys are found again
}

// Undo keeps a change without the cells the table holds: a later change then writes those rows
// in place, and taking both back, the later first, gives every state back exactly.
TEST_F(ResultTableTest, ChangesLeftToTheTableAreTakenBackExactly) {
    const QStringList empty = Snapshot(table);
    const auto step = [this](const std::function<void()>& work) {
        table.BeginChange();
        work();
        Change change = table.EndChange();
        change.LeaveToTable(table);
        return change;
    };
    Change added = step([this] {
        for (const QString& row : {u"2\tBerg\t9.0"_s, u"1\tAdler\t8.0"_s, u"3\tZahn"_s}) {
            table.AddRow(row);
        }
        table.SetCellFlag(3, u"Zeit", true);
    });
    const QStringList afterAdding = Snapshot(table);
    Change edited = step([this] {
        table.SetCellText(1, u"Zeit", u"7.5"_s); // same length: in place
        table.SetCellText(2, u"Name", u"Adlerin"_s);
        table.SortBy(u"Lauf"_s, SortDirection::Ascending);
        table.StoreCells(3, RowCells(std::vector<QStringView>{u"3", u"Zahn", u"6.0"}));
    });
    const QStringList afterEditing = Snapshot(table);
    for (Change* change : {&edited, &added}) {
        change->TakeFromTable(table);
        change->Invert();
        table.Apply(*change);
        change->LeaveToTable(table);
        EXPECT_EQ(Snapshot(table), change == &edited ? afterAdding : empty);
    }
    for (Change* change : {&added, &edited}) {
        change->TakeFromTable(table);
        change->Invert();
        table.Apply(*change);
        change->LeaveToTable(table);
        EXPECT_EQ(Snapshot(table), change == &added ? afterAdding : afterEditing);
    }
}

// Outside BeginChange every change is one of its own, told at once; changes nobody is told of
// are not described at all.
TEST_F(ResultTableTest, ChangesOutsideAScopeAreToldOneByOne) {
    table.AddRow(QString());
    CountingObserver observer;
    table.AddObserver(&observer);
    table.SetCellText(1, 1, u"5"_s);
    table.SetCellText(1, 1, u"5"_s); // unchanged: not told
    table.SetCellFlag(1, 1, true);
    table.SetVisible(1, false);
    table.SetCaption(u"Stadtlauf"_s);
    EXPECT_EQ(observer.changes, 3);
    EXPECT_EQ(observer.columns, 1);
    EXPECT_EQ(observer.refreshes, 0);
    table.RemoveObserver(&observer);
    table.BeginChange();
    table.EndChange();
    table.BeginChange();
    EXPECT_TRUE(table.EndChange().IsEmpty());
}

TEST_F(ResultTableTest, UnlockingOrRefreshingTellsTheViewsToShowAllAnew) {
    CountingObserver observer;
    table.AddObserver(&observer);
    table.LockUpdate(true);
    table.Refresh(); // still locked: nothing
    EXPECT_EQ(observer.refreshes, 0);
    table.LockUpdate(false);
    EXPECT_EQ(observer.refreshes, 1);
    table.Refresh();
    EXPECT_EQ(observer.refreshes, 2);
    table.RemoveObserver(&observer);
}

TEST_F(ResultTableTest, TheSortDirectionFollowsFromTheLastSortOrder) {
    table.AddRow(u"1"_s);
    table.AddRow(u"2"_s);
    table.SortBy(u"Lauf,Zeit"_s, SortDirection::Descending);
    EXPECT_EQ(table.SortOrder(), u"Lauf DESC,Zeit DESC"_s);
    EXPECT_EQ(table.SortDirection(u"Lauf"), SortDirection::Descending);
    EXPECT_EQ(table.SortDirection(u"Zeit"), SortDirection::None);
    EXPECT_EQ(table.SortDirection(u"Alter"), SortDirection::None);
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

// A copy for another thread shares the rows' blocks: a row changed afterwards leaves it alone.
TEST_F(ResultTableTest, ACopyKeepsTheTableAsItWas) {
    table.AddRow(u"1\tMeier"_s);
    const auto copy = table.Copy();
    table.SetCellText(1, u"Name", u"Schulz"_s);
    table.RemoveRows({1});
    EXPECT_EQ(copy->CellText(1, u"Name"), u"Meier"_s);
    EXPECT_EQ(copy->RowCount(), 1);
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

// The view: the selection goes with its rows through a sort, and rows that go take their
// selection with them; the cursor stays inside the table.
class TableViewTest : public ResultTableTest {
protected:
    TableView view{table};
};

TEST_F(TableViewTest, SelectionCountsRowsAndIsToldOnce) {
    for (int i = 0; i < 4; ++i) {
        table.AddRow(QString());
    }
    view.SetRowSelected(2, true);
    view.SetRowSelected(2, true);
    view.SetRowSelected(4, true);
    EXPECT_EQ(view.SelectedRowCount(), 2);
    view.SetRowSelected(2, false);
    EXPECT_EQ(view.SelectedRows(), std::vector<int>{4});
    view.ClearSelection();
    EXPECT_EQ(view.SelectedRowCount(), 0);

    CountingObserver observer;
    view.AddObserver(&observer);
    view.SetRowSelected(3, true);
    view.SelectRows(2, 9); // clamped to the table, counted once a row
    EXPECT_EQ(view.SelectedRowCount(), 3);
    EXPECT_EQ(observer.views, 2);
    view.SelectRows(3, 4); // nothing new: nothing told
    EXPECT_EQ(observer.views, 2);
    view.RemoveObserver(&observer);
}

TEST_F(TableViewTest, TheSelectionStaysWithItsRowsAndTheCursorInsideTheTable) {
    for (const QString& row : {u"3\tc"_s, u"1\ta"_s, u"2\tb"_s, u"4\td"_s}) {
        table.AddRow(row);
    }
    view.SetCurrentRow(4);
    view.SetRowSelected(2, true);
    view.SetRowSelected(4, true);
    table.SortBy(u"Lauf"_s, SortDirection::Ascending);
    EXPECT_EQ(view.SelectedRows(), (std::vector<int>{1, 4})); // "a" and "d"
    table.RemoveRows({1});
    EXPECT_EQ(view.SelectedRows(), std::vector<int>{3});
    EXPECT_EQ(view.CurrentRow(), 3);
    table.RemoveRows({1, 2, 3});
    EXPECT_EQ(view.SelectedRowCount(), 0);
    EXPECT_EQ(view.CurrentRow(), 0);
}

TEST_F(TableViewTest, CurrentRowStaysInsideTheTable) {
    view.SetCurrentRow(1);
    EXPECT_EQ(view.CurrentRow(), 0); // no rows
    table.AddRow(QString());
    table.AddRow(QString());
    view.SetCurrentRow(1);
    EXPECT_EQ(view.CurrentRow(), 1);
    view.SetCurrentRow(7);
    EXPECT_EQ(view.CurrentRow(), 2);
    view.SetCurrentRow(0);
    EXPECT_EQ(view.CurrentRow(), 1);
}

TEST_F(TableViewTest, ViewChangesAreNotToldWhileTheTableIsLocked) {
    table.AddRow(QString());
    CountingObserver observer;
    view.AddObserver(&observer);
    table.LockUpdate(true);
    view.SetCurrentRow(1);
    view.SetSearchText(u"Mei"_s);
    EXPECT_EQ(observer.views, 0);
    table.LockUpdate(false);
    view.SetRowSelected(1, true);
    EXPECT_EQ(observer.views, 1);
    view.RemoveObserver(&observer);
}

} // namespace

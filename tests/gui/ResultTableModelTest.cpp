#include "gui/ResultTableModel.h"
#include "GTestPrinters.h"
#include "gui/QtUi.h"
#include "table/ColumnModel.h"
#include "table/ResultTable.h"
#include "table/TableView.h"

#include <QBrush>
#include <QSignalSpy>
#include <gtest/gtest.h>

#include <functional>

using namespace Qt::StringLiterals;
using namespace vastrel;

namespace {

class ResultTableModelTest : public ::testing::Test {
protected:
    ResultTableModelTest() : model(table, view) {
        DefineColumns(table, [](const QString& t) { return t.size() * 100.0; });
        AppendEmptyRow(table, view);
    }
    ResultTable table;
    TableView view{table};
    ResultTableModel model;
};

TEST_F(ResultTableModelTest, ShowsTheTableAsItIs) {
    EXPECT_EQ(model.rowCount(), 1);
    EXPECT_EQ(model.columnCount(), 33);
    EXPECT_EQ(model.headerData(9, Qt::Horizontal, Qt::DisplayRole).toString(), u"60m "_s);
    // Running row numbers; the cursor's row is marked.
    EXPECT_EQ(model.headerData(0, Qt::Vertical, Qt::DisplayRole).toString(), u"\u25B6 1"_s);
    AppendEmptyRow(table, view);
    EXPECT_EQ(model.headerData(0, Qt::Vertical, Qt::DisplayRole).toString(), u"1"_s);
    EXPECT_EQ(model.headerData(1, Qt::Vertical, Qt::DisplayRole).toString(), u"\u25B6 2"_s);
    table.SetCellText(1, u"Name Vorname", u"Meier, Anna"_s);
    EXPECT_EQ(model.data(model.index(0, 5), Qt::DisplayRole).toString(), u"Meier, Anna"_s);
}

TEST_F(ResultTableModelTest, AlternatesRowColours) {
    AppendEmptyRow(table, view);
    const auto colour = [&](int row) {
        return model.data(model.index(row, 0), Qt::BackgroundRole).value<QBrush>().color().name();
    };
    EXPECT_EQ(colour(0), u"#e3efff"_s);
    EXPECT_EQ(colour(1), u"#fffff0"_s);
}

TEST_F(ResultTableModelTest, ComputedCellsCannotBeEdited) {
    const QModelIndex total = model.index(0, table.ColumnNumber(u"Gesamt") - 1);
    const QModelIndex name = model.index(0, table.ColumnNumber(u"Name Vorname") - 1);
    EXPECT_FALSE(model.flags(total).testFlag(Qt::ItemIsEditable));
    EXPECT_TRUE(model.flags(name).testFlag(Qt::ItemIsEditable));
    EXPECT_FALSE(model.setData(total, u"9999"_s, Qt::EditRole));
    EXPECT_EQ(table.CellText(1, u"Gesamt"), QString());
    EXPECT_TRUE(model.data(total, Qt::ForegroundRole).isValid()); // drawn apart from typed cells
}

// A typed text is handed on as it was typed: checking and storing it is the commands' work.
TEST_F(ResultTableModelTest, TypedTextIsHandedToTheEditCommand) {
    QSignalSpy edited(&model, &ResultTableModel::CellEdited);
    EXPECT_TRUE(model.setData(model.index(0, 3), u"m"_s, Qt::EditRole));
    ASSERT_EQ(edited.count(), 1);
    EXPECT_EQ(edited.at(0), (QList<QVariant>{1, 4, u"m"_s}));
    EXPECT_EQ(table.CellText(1, u"mw"), QString());
}

TEST_F(ResultTableModelTest, ALockedBulkChangeIsOneReset) {
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    QSignalSpy changes(&model, &QAbstractItemModel::dataChanged);
    table.LockUpdate(true);
    for (int i = 0; i < 1000; ++i) {
        table.AddRow(u"1\t2007"_s);
        table.SetCellText(i + 1, 1, u"2"_s);
    }
    EXPECT_EQ(model.rowCount(), 1); // the view has not been told yet
    table.LockUpdate(false);
    EXPECT_EQ(resets.count(), 1);
    EXPECT_EQ(changes.count(), 0);
    EXPECT_EQ(model.rowCount(), 1001);
}

// Every kind of change made while the table is locked reaches the view when it is unlocked:
// changed cells as one repaint, and a refresh after it repaints nothing; the cursor, the
// selection and the title line as a new state; columns as their layout. Column captions are
// told only when one changed: item views lay out every item again on any header change.
TEST_F(ResultTableModelTest, LockedChangesReachTheViewOnceWhenUnlocked) {
    AppendEmptyRow(table, view);
    const std::pair<const char*, std::function<void()>> cellChanges[] = {
        {"cell",
         [&] {
             table.SetCellText(1, u"Name Vorname", u"Meier, Anna"_s);
         }},
        {"row",
         [&] {
             table.StoreCells(2, RowCells(std::vector<QStringView>{u"1", u"2024"}));
         }},
        {"flag",
         [&] {
             table.SetCellFlag(1, u"Name Vorname", true);
         }},
        {"order",
         [&] {
             table.SortBy(u"Datum"_s, SortDirection::Ascending);
         }}, // the second row first
    };
    QSignalSpy repaints(&model, &QAbstractItemModel::dataChanged);
    QSignalSpy states(&model, &ResultTableModel::TableStateChanged);
    QSignalSpy layouts(&model, &ResultTableModel::ColumnLayoutChanged);
    QSignalSpy captions(&model, &QAbstractItemModel::headerDataChanged);
    table.Refresh();
    EXPECT_EQ(repaints.count(), 0) << "a refresh without a change";
    for (const auto& [what, change] : cellChanges) {
        const qsizetype before = repaints.count();
        table.LockUpdate(true);
        change();
        EXPECT_EQ(repaints.count(), before) << what << " is not shown while locked";
        table.LockUpdate(false);
        EXPECT_EQ(repaints.count(), before + 1) << what << " reaches the view";
        table.Refresh();
        EXPECT_EQ(repaints.count(), before + 1) << what << ": the refresh after it repaints nothing";
    }
    const std::pair<const char*, std::function<void()>> stateChanges[] = {
        {"selection",
         [&] {
             view.SetRowSelected(2, true);
         }},
        {"cursor",
         [&] {
             view.SetCurrentRow(2);
         }},
        {"title",
         [&] {
             table.SetCaption(u"1. Tag"_s);
         }},
        {"column",
         [&] {
             table.SetVisible(u"60m", false);
         }},
        {"caption",
         [&] {
             table.SetHeaderText(u"60m", u"60 m"_s);
         }},
    };
    for (const auto& [what, change] : stateChanges) {
        const qsizetype statesBefore = states.count();
        const qsizetype layoutsBefore = layouts.count();
        table.LockUpdate(true);
        change();
        EXPECT_EQ(states.count(), statesBefore) << what;
        table.LockUpdate(false);
        EXPECT_GT(states.count(), statesBefore) << what << " reaches the view";
        EXPECT_GT(layouts.count(), layoutsBefore) << what << " reaches the view";
    }
    ASSERT_EQ(captions.count(), 1);
    EXPECT_EQ(captions.at(0).at(1).toInt(), table.ColumnNumber(u"60m") - 1);
    EXPECT_EQ(captions.at(0).at(2).toInt(), table.ColumnNumber(u"60m") - 1);
    EXPECT_EQ(model.headerData(table.ColumnNumber(u"60m") - 1, Qt::Horizontal, Qt::DisplayRole), u"60 m"_s);
}

// A change of one command tells the rows it edited, not the whole table.
TEST_F(ResultTableModelTest, AChangeRepaintsTheRowsItEdited) {
    for (int i = 0; i < 10; ++i) {
        AppendEmptyRow(table, view);
    }
    QSignalSpy changes(&model, &QAbstractItemModel::dataChanged);
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    table.BeginChange();
    table.SetCellText(4, u"Name Vorname", u"Meier, Anna"_s);
    table.SetCellText(7, u"Name Vorname", u"Adler, Bernd"_s);
    table.EndChange();
    ASSERT_EQ(changes.count(), 1);
    EXPECT_EQ(changes.at(0).at(0).toModelIndex(), model.index(3, 0));
    EXPECT_EQ(changes.at(0).at(1).toModelIndex(), model.index(6, 32));
    table.BeginChange();
    table.AddRow(QString());
    table.EndChange();
    EXPECT_EQ(resets.count(), 1);
    EXPECT_EQ(model.rowCount(), 12);
}

TEST_F(ResultTableModelTest, AnUnlockedCellChangeIsOneDataChange) {
    QSignalSpy changes(&model, &QAbstractItemModel::dataChanged);
    table.SetCellText(1, 2, u"2007"_s);
    ASSERT_EQ(changes.count(), 1);
    EXPECT_EQ(changes.at(0).at(0).toModelIndex(), model.index(0, 1));
}

} // namespace

namespace {

TEST(FileDialogFilters, TheProgramsFilterStringsBecomeQtNameFilters) {
    EXPECT_EQ(vastrel::ToQtNameFilters(
                  u"fil-Datei (*.fil)|*.fil|csv-Datei (*.csv)|*.csv|Excel-Datei (*.xls)|*.xls|"_s),
              (QStringList{u"fil-Datei (*.fil)"_s, u"csv-Datei (*.csv)"_s, u"Excel-Datei (*.xls)"_s}));
    EXPECT_EQ(vastrel::ToQtNameFilters(u"Texte|*.txt|"_s), QStringList{u"Texte (*.txt)"_s});
    EXPECT_TRUE(vastrel::ToQtNameFilters(QString()).isEmpty());
}

} // namespace

#include "gui/ResultTableModel.h"
#include "GTestPrinters.h"
#include "gui/QtUi.h"
#include "table/ColumnModel.h"
#include "table/ResultTable.h"

#include <QBrush>
#include <QSignalSpy>
#include <gtest/gtest.h>

#include <functional>

using namespace Qt::StringLiterals;
using namespace vastrel;

namespace {

class ResultTableModelTest : public ::testing::Test {
protected:
    ResultTableModelTest() : model(table) {
        DefineColumns(table, [](const QString& t) { return t.size() * 100.0; });
        AppendEmptyRow(table);
    }
    ResultTable table;
    ResultTableModel model;
};

TEST_F(ResultTableModelTest, ShowsTheTableAsItIs) {
    EXPECT_EQ(model.rowCount(), 1);
    EXPECT_EQ(model.columnCount(), 33);
    EXPECT_EQ(model.headerData(9, Qt::Horizontal, Qt::DisplayRole).toString(), u"60m "_s);
    // Running row numbers; the cursor's row is marked.
    EXPECT_EQ(model.headerData(0, Qt::Vertical, Qt::DisplayRole).toString(), u"\u25B6 1"_s);
    AppendEmptyRow(table);
    EXPECT_EQ(model.headerData(0, Qt::Vertical, Qt::DisplayRole).toString(), u"1"_s);
    EXPECT_EQ(model.headerData(1, Qt::Vertical, Qt::DisplayRole).toString(), u"\u25B6 2"_s);
    table.SetCellText(1, u"Name Vorname", u"Meier, Anna"_s);
    EXPECT_EQ(model.data(model.index(0, 5), Qt::DisplayRole).toString(), u"Meier, Anna"_s);
}

TEST_F(ResultTableModelTest, AlternatesRowColours) {
    AppendEmptyRow(table);
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

TEST_F(ResultTableModelTest, TypedTextGoesThroughTheTablesEditPath) {
    QStringList calls;
    table.Events().validateCellEdit = [&](int, QString& text) {
        text = text.toUpper();
    };
    table.Events().afterCellEdit = [&](int row, int column, const QString& text) {
        calls << u"%1/%2/%3"_s.arg(row).arg(column).arg(text);
    };
    EXPECT_TRUE(model.setData(model.index(0, 3), u"m"_s, Qt::EditRole));
    EXPECT_EQ(table.CellText(1, u"mw"), u"M"_s);
    EXPECT_EQ(calls, QStringList{u"1/4/M"_s});
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

// A refresh repaints the grid only when something it shows changed since the last one: every
// kind of change, made while locked, must still reach the view. Column captions are told only
// when one changed: item views lay out every item again on any header change.
TEST_F(ResultTableModelTest, ARefreshRepaintsOnlyAfterAChange) {
    AppendEmptyRow(table);
    const std::pair<const char*, std::function<void()>> changes[] = {
        {"cell",
         [&] {
             table.SetCellText(1, u"Name Vorname", u"Meier, Anna"_s);
         }},
        {"stored cell",
         [&] {
             table.StoreCellText(2, 6, u"Adler, Bernd");
         }},
        {"flag",
         [&] {
             table.SetCellFlag(1, u"Name Vorname", true);
         }},
        {"order",
         [&] {
             table.SortBy(u"Name Vorname"_s, SortDirection::Ascending);
         }},
        {"column",
         [&] {
             table.SetVisible(u"60m", false);
         }},
        {"caption",
         [&] {
             table.SetHeaderText(u"60m", u"60 m"_s);
         }},
        {"selection",
         [&] {
             table.SetRowSelected(2, true);
         }},
        {"cursor",
         [&] {
             table.SetCurrentRow(2);
         }},
        {"title",
         [&] {
             table.SetCaption(u"1. Tag"_s);
         }},
    };
    QSignalSpy repaints(&model, &QAbstractItemModel::dataChanged);
    QSignalSpy captions(&model, &QAbstractItemModel::headerDataChanged);
    table.Refresh();
    ASSERT_EQ(repaints.count(), 1);
    table.Refresh();
    EXPECT_EQ(repaints.count(), 1) << "a refresh without a change";
    for (const auto& [what, change] : changes) {
        const qsizetype before = repaints.count();
        table.LockUpdate(true);
        change();
        table.LockUpdate(false);
        EXPECT_EQ(repaints.count(), before + 1) << what << " reaches the view";
        table.Refresh();
        EXPECT_EQ(repaints.count(), before + 1) << what << ": the refresh after it repaints nothing";
    }
    ASSERT_EQ(captions.count(), 1);
    EXPECT_EQ(captions.at(0).at(1).toInt(), table.ColumnNumber(u"60m") - 1);
    EXPECT_EQ(captions.at(0).at(2).toInt(), table.ColumnNumber(u"60m") - 1);
    EXPECT_EQ(model.headerData(table.ColumnNumber(u"60m") - 1, Qt::Horizontal, Qt::DisplayRole), u"60 m"_s);
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

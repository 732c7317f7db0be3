#include "app/RowEditing.h"
#include "GTestPrinters.h"
#include "ScriptedUi.h"
#include "ports/MainWindowState.h"
#include "table/ColumnModel.h"
#include "table/ResultTable.h"
#include "table/TableView.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace vastrel;
using namespace vastrel::testing;

namespace {

class RowEditingTest : public ::testing::Test {
protected:
    RowEditingTest() {
        DefineColumns(table, [](const QString& t) { return t.size() * 100.0; });
    }
    void FullRows(int count) {
        for (int i = 1; i <= count; ++i) {
            QStringList cells;
            for (int c = 1; c <= 33; ++c) {
                cells << u"%1-%2"_s.arg(i).arg(c);
            }
            table.AddRow(cells.join(u'\t'));
        }
    }
    void ExpectDeleteBox(const QString& text) {
        ASSERT_FALSE(ui.Boxes().empty());
        EXPECT_EQ(ui.Boxes().back().text, text);
        EXPECT_EQ(ui.Boxes().back().title, u"Löschen"_s);
        EXPECT_EQ(ui.Boxes().back().buttons, MessageButtons::YesNoDefaultNo)
            << "No is the default of a question that destroys data";
        EXPECT_EQ(ui.Boxes().back().icon, MessageIcon::Question);
    }

    ScriptedUi ui;
    ResultTable table;
    TableView view{table};
    MainWindowState state;
};

TEST_F(RowEditingTest, DeletingOneRowNamesItAndNoKeepsIt) {
    FullRows(20);
    view.SetRowSelected(17, true);
    ui.AnswerBox(MessageAnswer::No);
    EXPECT_FALSE(DeleteSelectedRows(view, ui));
    ExpectDeleteBox(u"Zeile 17 löschen?"_s);
    EXPECT_EQ(table.RowCount(), 20);
    ui.AnswerBox(MessageAnswer::Yes);
    EXPECT_TRUE(DeleteSelectedRows(view, ui));
    EXPECT_EQ(table.RowCount(), 19);
    EXPECT_EQ(table.CellText(17, 1), u"18-1"_s);
}

TEST_F(RowEditingTest, DeletingSeveralRowsAsksWithTheirCount) {
    FullRows(5);
    for (int r : {1, 2, 4}) {
        view.SetRowSelected(r, true);
    }
    ui.AnswerBox(MessageAnswer::Yes);
    EXPECT_TRUE(DeleteSelectedRows(view, ui));
    ExpectDeleteBox(
        u"Achtung!\r\nEs sind 3 Datensätze selektiert.\r\n\r\nAlle selektierten Datenzeilen löschen?"_s);
    EXPECT_EQ(table.RowCount(), 2);
    EXPECT_EQ(table.CellText(1, 1), u"3-1"_s);
    EXPECT_EQ(table.CellText(2, 1), u"5-1"_s);
}

// Without a selection the cursor's row is the one meant; the cursor then stands where the first
// row went, or on the new last row.
TEST_F(RowEditingTest, WithoutSelectionTheCursorsRowIsDeleted) {
    FullRows(3);
    view.SetCurrentRow(3);
    ui.AnswerBox(MessageAnswer::Yes);
    EXPECT_TRUE(DeleteSelectedRows(view, ui));
    ExpectDeleteBox(u"Zeile 3 löschen?"_s);
    EXPECT_EQ(table.RowCount(), 2);
    EXPECT_EQ(view.CurrentRow(), 2);
    for (int r : {1, 2}) {
        view.SetRowSelected(r, true);
    }
    ui.AnswerBox(MessageAnswer::Yes);
    EXPECT_TRUE(DeleteSelectedRows(view, ui));
    EXPECT_EQ(view.CurrentRow(), 0);
    EXPECT_EQ(view.SelectedRowCount(), 0);
    const auto boxes = ui.Boxes().size();
    EXPECT_FALSE(DeleteSelectedRows(view, ui)); // nothing to delete, nothing asked
    EXPECT_EQ(ui.Boxes().size(), boxes);
}

TEST_F(RowEditingTest, ClearingRunDataEmptiesColumnsNineOnOfTheSelectedRows) {
    FullRows(3);
    view.SetRowSelected(1, true);
    view.SetRowSelected(3, true);
    ui.AnswerBox(MessageAnswer::Yes);
    ClearRunData(view, ui);
    ExpectDeleteBox(
        u"Achtung!\r\nEs sind 2 Datensätze selektiert.\r\n\r\nAlle selektierten Laufdaten löschen?"_s);
    for (int r : {1, 3}) {
        for (int c = 1; c <= 8; ++c) {
            EXPECT_EQ(table.CellText(r, c), u"%1-%2"_s.arg(r).arg(c));
        }
        for (int c = 9; c <= 33; ++c) {
            EXPECT_EQ(table.CellText(r, c), QString()) << r << '/' << c;
        }
    }
    EXPECT_EQ(table.CellText(2, 9), u"2-9"_s);
    EXPECT_EQ(ui.StatusHistory(StatusPanel::Progress),
              (QStringList{u"Lösche Daten! Bitte warten!  "_s, u"Löschung abgeschlossen!  "_s}));
    EXPECT_FALSE(ui.Busy());
    EXPECT_EQ(ui.BusyChanges(), 2);
}

TEST_F(RowEditingTest, ClearingRunDataAnsweredNoChangesNothing) {
    FullRows(1);
    view.SetRowSelected(1, true);
    ui.AnswerBox(MessageAnswer::No);
    ClearRunData(view, ui);
    EXPECT_EQ(table.CellText(1, 33), u"1-33"_s);
    EXPECT_TRUE(ui.StatusHistory(StatusPanel::Progress).isEmpty());
}

TEST_F(RowEditingTest, ClearingWithoutSelectionAsksWithZeroAndChangesNoRow) {
    FullRows(2);
    ui.AnswerBox(MessageAnswer::Yes);
    ClearRunData(view, ui);
    ExpectDeleteBox(
        u"Achtung!\r\nEs sind 0 Datensätze selektiert.\r\n\r\nAlle selektierten Laufdaten löschen?"_s);
    EXPECT_EQ(table.CellText(1, 33), u"1-33"_s);
}

TEST_F(RowEditingTest, TheContextMenusNewRowHasNoFlaggedSums) {
    FullRows(1);
    AddRowFromContextMenu(view);
    EXPECT_EQ(table.RowCount(), 2);
    EXPECT_EQ(view.CurrentRow(), 2);
    for (int c = 1; c <= 33; ++c) {
        EXPECT_FALSE(table.CellFlag(2, c));
    }
}

TEST_F(RowEditingTest, TheEventNameBecomesTheTitleAndCancelKeepsIt) {
    table.SetCaption(u"Vastrel - 1.Tag"_s);
    state.baseCaption = u"Vastrel"_s;
    ui.AnswerInput(u"Stadtlauf 2024"_s);
    EnterEventName(table, state, ui);
    EXPECT_EQ(table.Caption(), u"Stadtlauf 2024"_s);
    EXPECT_EQ(state.baseCaption, u"Stadtlauf 2024"_s);

    ui.AnswerInput(std::nullopt);
    EnterEventName(table, state, ui);
    EXPECT_EQ(table.Caption(), u"Stadtlauf 2024"_s);
    EXPECT_EQ(state.baseCaption, u"Stadtlauf 2024"_s);

    ui.AnswerInput(QString());
    EnterEventName(table, state, ui);
    EXPECT_EQ(table.Caption(), QString());
    EXPECT_EQ(state.baseCaption, QString());
}

TEST_F(RowEditingTest, AHeaderClickTogglesByTheLastSortOfTheTable) {
    table.AddRow(u"2"_s);
    table.AddRow(u"1"_s);
    table.AddRow(u"3"_s);
    view.SetCurrentRow(3);
    SortByHeader(view, 1);
    EXPECT_EQ(table.CellText(1, 1), u"3"_s); // descending first
    EXPECT_EQ(view.CurrentRow(), 1);
    SortByHeader(view, 1);
    EXPECT_EQ(table.CellText(1, 1), u"1"_s);
    SortByHeader(view, 2); // the last sort was ascending, whichever column: descending
    EXPECT_TRUE(table.SortOrder().contains(u"DESC"_s));
}

TEST_F(RowEditingTest, TheSearchMakesTheMatchingRowCurrent) {
    table.AddRow(u"\t\t\t\t\tSchulz, Eva"_s);
    table.AddRow(u"\t\t\t\t\tMeier, Anna"_s);
    view.SetCurrentRow(1);
    view.SetRowSelected(1, true);
    int number = 0;
    view.SetSearchText(QString());
    SearchRow(view, number);
    EXPECT_EQ(view.CurrentRow(), 1);
    view.SetSearchText(u"mei"_s);
    SearchRow(view, number);
    EXPECT_EQ(view.CurrentRow(), 2);
    EXPECT_EQ(number, 6);
    EXPECT_EQ(view.SelectedRowCount(), 1); // the hit alone is selected
    EXPECT_TRUE(view.RowSelected(2));
    view.SetSearchText(u"Xaver"_s);
    SearchRow(view, number);
    EXPECT_EQ(view.CurrentRow(), 2);
}

TEST_F(RowEditingTest, ARowActionOutsideTheSelectionIsRefused) {
    FullRows(3);
    bool cancel = false;
    GuardRowAction(view, 2, cancel);
    EXPECT_FALSE(cancel); // nothing selected
    view.SetRowSelected(1, true);
    GuardRowAction(view, 1, cancel);
    EXPECT_FALSE(cancel);
    GuardRowAction(view, 2, cancel);
    EXPECT_TRUE(cancel);
}

} // namespace

#include "app/ViewCommands.h"
#include "FakeToolbar.h"
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

class ViewCommandsTest : public ::testing::Test {
protected:
    ViewCommandsTest() {
        DefineColumns(table, [](const QString& t) { return t.size() * 100.0; });
        state.baseCaption = u"Stadtlauf 2024"_s;
        table.SetCaption(state.baseCaption);
    }
    QStringList VisibleAmong10To33() const {
        QStringList keys;
        for (int c = 10; c <= 33; ++c) {
            if (table.Visible(c)) {
                keys << table.Key(c);
            }
        }
        return keys;
    }
    QStringList VisibleAmong1To9() const {
        QStringList keys;
        for (int c = 1; c <= 9; ++c) {
            if (table.Visible(c)) {
                keys << table.Key(c);
            }
        }
        return keys;
    }
    void Rows(const QStringList& rows) {
        for (const QString& r : rows) {
            table.AddRow(r);
        }
    }
    QStringList Column(const char16_t* key) const {
        QStringList texts;
        for (int r = 1; r <= table.RowCount(); ++r) {
            texts << table.CellText(r, key);
        }
        return texts;
    }

    ScriptedUi ui;
    ResultTable table;
    TableView view{table};
    MainWindowState state;
};

TEST_F(ViewCommandsTest, EachDayShowsItsColumnsAndTheTotal) {
    const struct {
        const char16_t* item;
        QStringList columns;
        const char16_t* caption;
    } days[] = {
        {u"btnAnz1Tag",
         {u"60m"_s, u"Punkte1"_s, u"1500m"_s, u"Punkte2"_s, u"400m"_s, u"Punkte3"_s, u"Summe1"_s,
          u"Gesamt"_s},
         u"Stadtlauf 2024 - 1.Tag"},
        {u"btnAnz2Tag",
         {u"100m"_s, u"Punkte4"_s, u"3000m"_s, u"Punkte5"_s, u"800m"_s, u"Punkte6"_s, u"Summe2"_s,
          u"Gesamt"_s},
         u"Stadtlauf 2024 - 2.Tag"},
        {u"btnAnz3Tag",
         {u"200m"_s, u"Punkte7"_s, u"5000m"_s, u"Punkte8"_s, u"1000m"_s, u"Punkte9"_s, u"Summe3"_s,
          u"Gesamt"_s},
         u"Stadtlauf 2024 - 3.Tag"},
        {u"btnAnz4Tag", {u"10km"_s, u"Summe4"_s, u"Gesamt"_s}, u"Stadtlauf 2024 - 4.Tag"},
    };
    for (const auto& day : days) {
        for (int twice = 0; twice < 2; ++twice) { // the same view twice gives the same result
            ShowDayView(table, state, ui, QString::fromUtf16(day.item));
            EXPECT_EQ(VisibleAmong10To33(), day.columns);
            EXPECT_EQ(table.Caption(), QString::fromUtf16(day.caption));
            EXPECT_EQ(table.LayoutValue(), 38);
        }
    }
    EXPECT_EQ(state.baseCaption, u"Stadtlauf 2024"_s);
}

TEST_F(ViewCommandsTest, DayViewsLeaveThePersonColumnsAloneAndAllResetsThem) {
    table.SetVisible(u"Nr", true);
    ShowDayView(table, state, ui, u"btnAnz2Tag"_s);
    EXPECT_EQ(VisibleAmong1To9(),
              (QStringList{u"Lauf"_s, u"Datum"_s, u"mw"_s, u"Nr"_s, u"Name Vorname"_s, u"geb."_s, u"AF"_s}));
    ShowDayView(table, state, ui, u"btnAnzAlles"_s);
    EXPECT_EQ(VisibleAmong1To9(),
              (QStringList{u"Lauf"_s, u"Datum"_s, u"mw"_s, u"Name Vorname"_s, u"geb."_s, u"AF"_s}));
    EXPECT_EQ(VisibleAmong10To33().size(), 24);
    EXPECT_EQ(table.Caption(), u"Stadtlauf 2024"_s);
    EXPECT_EQ(table.LayoutValue(), 56);
    EXPECT_EQ(table.FixedWidth(u"Datum"), 500);
    EXPECT_FALSE(table.IsLocked());
}

TEST_F(ViewCommandsTest, TheSameOrderTwiceReversesItAndEmptyTotalsStayAtTheBottom) {
    Rows({u"1\t\t\tm\t\tA"_s, u"1\t\t\tw\t\tB"_s, u"1\t\t\tm\t\tC"_s, u"1\t\t\tw\t\tD"_s});
    table.SetCellText(1, u"Gesamt", u"900"_s);
    table.SetCellText(2, u"Gesamt", u"1200"_s);
    table.SetCellText(4, u"Gesamt", u"50"_s);
    ui.SetStatusText(StatusPanel::Progress, u"Berechnung abgeschlossen!  "_s);
    view.SetCurrentRow(3);
    SortTable(view, ui, u"btnSort1"_s);
    EXPECT_EQ(Column(u"Name Vorname"), (QStringList{u"D"_s, u"A"_s, u"B"_s, u"C"_s}));
    EXPECT_EQ(view.CurrentRow(), 1);
    EXPECT_EQ(ui.StatusText(StatusPanel::Progress), QString());
    SortTable(view, ui, u"btnSort1"_s);
    EXPECT_EQ(Column(u"Name Vorname"), (QStringList{u"B"_s, u"A"_s, u"D"_s, u"C"_s}));
}

TEST_F(ViewCommandsTest, TheThreeRunOrdersShareOneToggle) {
    Rows({u"2\t\t\tm\t\tA"_s, u"1\t\t\tw\t\tB"_s, u"3\t\t\tm\t\tC"_s});
    SortTable(view, ui, u"btnSort4"_s); // ascending: "Lauf" had not been sorted ascending
    EXPECT_EQ(Column(u"Lauf"), (QStringList{u"1"_s, u"2"_s, u"3"_s}));
    SortTable(view, ui, u"btnSort5"_s); // shares the lead column: descending now
    EXPECT_EQ(Column(u"Lauf"), (QStringList{u"3"_s, u"2"_s, u"1"_s}));
    SortTable(view, ui, u"btnSort6"_s);
    EXPECT_EQ(Column(u"Lauf"), (QStringList{u"1"_s, u"2"_s, u"3"_s}));
    SortTable(view, ui, u"btnSort2"_s); // "mw" leads: starts ascending
    EXPECT_EQ(Column(u"mw"), (QStringList{u"m"_s, u"m"_s, u"w"_s}));
    SortTable(view, ui, u"btnSort3"_s);
    EXPECT_EQ(Column(u"Name Vorname"), (QStringList{u"A"_s, u"B"_s, u"C"_s}));
}

TEST_F(ViewCommandsTest, ShortPrintFollowsTheCheckMark) {
    FakeToolbar toolbar;
    ASSERT_TRUE(toolbar.ItemChecked(u"btnKurzdruck"_s));
    state.shortPrint = true;
    ToggleShortPrint(toolbar, state);
    EXPECT_FALSE(state.shortPrint);
    EXPECT_FALSE(toolbar.ItemChecked(u"btnKurzdruck"_s));
    ToggleShortPrint(toolbar, state);
    EXPECT_TRUE(state.shortPrint);
    EXPECT_TRUE(toolbar.ItemChecked(u"btnKurzdruck"_s));
}

} // namespace

#include "app/CommandDispatcher.h"
#include "FakeToolbar.h"
#include "GTestPrinters.h"
#include "ScriptedUi.h"
#include "ports/MainWindowState.h"
#include "scoring/Scorer.h"
#include "table/ColumnModel.h"
#include "table/ResultTable.h"
#include "table/TableView.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace vastrel;
using namespace vastrel::testing;

namespace {

class CommandDispatcherTest : public ::testing::Test {
protected:
    CommandDispatcherTest()
        : scorer(table, ui, &view), commands(view, scorer, ui, toolbar, state, PlacesIn(dir.path())) {
        DefineColumns(table, [](const QString& t) { return t.size() * 100.0; });
        AppendEmptyRow(table, view);
        table.SetCellText(1, u"Name Vorname", u"Meier, Anna"_s);
        table.SetCellText(1, u"mw", u"w"_s);
        table.SetCellText(1, u"geb.", u"1950"_s);
        table.SetCellText(1, u"Datum", u"2012"_s);
        table.SetCellText(1, u"60m", u"8.0"_s);
    }
    void Choose(const char16_t* buttonKey, const char16_t* itemKey) {
        commands.MenuItemClick(toolbar.IndexOf(QString::fromUtf16(buttonKey)), QString::fromUtf16(itemKey));
    }

    QTemporaryDir dir;
    ScriptedUi ui;
    ResultTable table;
    TableView view{table};
    Scorer scorer;
    FakeToolbar toolbar;
    MainWindowState state;
    CommandDispatcher commands;
};

TEST_F(CommandDispatcherTest, TheRecalculationQuestionsDifferInTheirLastLinesBlanks) {
    EXPECT_EQ(
        CommandDispatcher::RecalculationQuestion(true),
        u"Achtung!\r\nEs wurden die Altersfaktoren AF verändert!   \r\n\r\nKomplette Neuberechnung der Punkte?   "_s);
    EXPECT_EQ(
        CommandDispatcher::RecalculationQuestion(false),
        u"Achtung!\r\nEs wurden die Altersfaktoren AF verändert!   \r\n\r\nKomplette Neuberechnung der Punkte?"_s);
}

TEST_F(CommandDispatcherTest, AgeFactorsWithClassesThenNoKeepsTheFactorsAndThePoints) {
    ui.AnswerBox(MessageAnswer::No);
    Choose(u"btnBearbeitung", u"btnBeAfMit");
    ASSERT_EQ(ui.Boxes().size(), 1u);
    EXPECT_EQ(ui.Boxes()[0].text, CommandDispatcher::RecalculationQuestion(true));
    EXPECT_EQ(ui.Boxes()[0].title, u"Vastrel"_s);
    EXPECT_EQ(ui.Boxes()[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(ui.Boxes()[0].icon, MessageIcon::Question);
    EXPECT_EQ(table.CellText(1, u"AF"), u"0.7887"_s);
    EXPECT_EQ(table.CellText(1, u"Punkte1"), QString());
}

TEST_F(CommandDispatcherTest, AgeFactorsWithoutClassesThenYesRecalculates) {
    ui.AnswerBox(MessageAnswer::Yes);
    Choose(u"btnBearbeitung", u"btnBeAfOhne");
    EXPECT_EQ(ui.BoxTexts(), QStringList{CommandDispatcher::RecalculationQuestion(false)});
    EXPECT_EQ(table.CellText(1, u"AF"), u"1.0000"_s);
    EXPECT_EQ(table.CellText(1, u"Gesamt"), u"907"_s);
    EXPECT_EQ(ui.StatusText(StatusPanel::Progress), u"Berechnung abgeschlossen!  "_s);
}

TEST_F(CommandDispatcherTest, FullRecalculationAsksNothing) {
    Choose(u"btnBearbeitung", u"btnBePunkte");
    EXPECT_TRUE(ui.Boxes().empty());
    EXPECT_EQ(table.CellText(1, u"Gesamt"), u"907"_s);
}

TEST_F(CommandDispatcherTest, AppendingARowFlagsItsSumsAndMakesItCurrent) {
    Choose(u"btnBearbeitung", u"btnBeAnf");
    EXPECT_EQ(table.RowCount(), 2);
    EXPECT_EQ(view.CurrentRow(), 2);
    EXPECT_TRUE(table.CellFlag(2, u"Gesamt"));
}

TEST_F(CommandDispatcherTest, EveryCertificateItemPassesItsOwnKey) {
    for (const char16_t* key : {u"Urkunde1Tag", u"Urkunde4Tag", u"UrkundeAlles", u"UrkundeKomplett"}) {
        ui.AnswerInput(std::nullopt); // the folder question, cancelled
        Choose(u"btnUrkundeDrucken", key);
        EXPECT_EQ(state.certificateVariant, QString::fromUtf16(key));
    }
}

TEST_F(CommandDispatcherTest, TheToolbarIsDisabledWhileACommandRunsAndEnabledAfter) {
    bool enabledDuringQuestion = true;
    ui.OnBox([&](const RecordedBox&) { enabledDuringQuestion = toolbar.IsEnabled(); });
    ui.AnswerBox(MessageAnswer::No);
    Choose(u"btnBearbeitung", u"btnBeAfOhne");
    EXPECT_FALSE(enabledDuringQuestion);
    EXPECT_EQ(toolbar.enabledHistory, (QList<bool>{false, true}));

    Choose(u"btnAnzeige", u"btnUnbekannt"); // an item without a command still re-enables
    commands.ButtonClick(u"btnInfo"_s);
    EXPECT_EQ(toolbar.enabledHistory, (QList<bool>{false, true, false, true, false, true}));
    EXPECT_TRUE(toolbar.IsEnabled());
}

TEST_F(CommandDispatcherTest, TheDispatchGoesByTheButtonAtThePosition) {
    // "btnBePunkte" under another button is not the recalculation.
    Choose(u"btnSortierung", u"btnBePunkte");
    EXPECT_EQ(table.CellText(1, u"Gesamt"), QString());
    EXPECT_TRUE(ui.StatusHistory(StatusPanel::Progress).isEmpty());
}

TEST_F(CommandDispatcherTest, OpeningAMenuClearsTheResultText) {
    ui.SetStatusText(StatusPanel::Progress, u"Berechnung abgeschlossen!  "_s);
    const int before = ui.EventsProcessed();
    commands.ToolbarNotice();
    EXPECT_EQ(ui.StatusText(StatusPanel::Progress), QString());
    EXPECT_EQ(ui.EventsProcessed(), before + 1);
}

} // namespace

namespace {

TEST_F(CommandDispatcherTest, PrintAllSelectsEveryRowBeforeTheReport) {
    AppendEmptyRow(table, view);
    AppendEmptyRow(table, view);
    view.SetRowSelected(2, true);
    Choose(u"btnDrucken", u"btnDruckenAuswahl");
    EXPECT_EQ(view.SelectedRowCount(), 1); // "Auswahl" leaves the selection alone
    Choose(u"btnDrucken", u"btnDruckenAlles");
    EXPECT_EQ(view.SelectedRowCount(), 3);
    EXPECT_EQ(ui.ShownReports().size(), 2);
}

} // namespace

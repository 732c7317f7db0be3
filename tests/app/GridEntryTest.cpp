#include "GTestPrinters.h"
#include "ScriptedUi.h"
#include "app/GridCommands.h"
#include "app/UndoStack.h"
#include "ports/MainWindowPort.h"
#include "ports/MainWindowState.h"
#include "scoring/AgeFactors.h"
#include "scoring/Scorer.h"
#include "table/ColumnModel.h"
#include "table/ResultTable.h"
#include "table/TableView.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace vastrel;
using namespace vastrel::testing;

namespace {

struct NoWindow : MainWindowPort {
    void ShowAbout() override {}
    void QuitProgram() override {}
    void PopUpRowMenu() override {}
};

class GridEntryTest : public ::testing::Test {
protected:
    GridEntryTest()
        : scorer(table, ui, &view), undo(view, state), grid(view, scorer, ui, state, window, &undo) {
        DefineColumns(table, [](const QString& t) { return t.size() * 100.0; });
        AppendEmptyRow(table, view);
    }
    void Type(int row, const char16_t* key, const QString& text) {
        grid.EditCell(row, table.ColumnNumber(key), text);
    }

    ScriptedUi ui;
    ResultTable table;
    TableView view{table};
    MainWindowState state;
    Scorer scorer;
    UndoStack undo;
    NoWindow window;
    GridCommands grid;
};

// A run's date typed in full is kept as its year, as an imported one is: the age factors read
// the year, and "17.06.2012" would read as 17.
TEST_F(GridEntryTest, ADateTypedInFullIsKeptAsItsYear) {
    for (const auto& [typed, stored, factor] :
         {std::tuple{u"17.06.2012"_s, u"2012"_s, u"0.8210"_s},
          std::tuple{u"2012-06-17"_s, u"2012"_s, u"0.8210"_s},
          std::tuple{u"20120617"_s, u"2012"_s, u"0.8210"_s}, std::tuple{u"2012"_s, u"2012"_s, u"0.8210"_s},
          std::tuple{u"12"_s, u"12"_s, u""_s}, std::tuple{QString(), QString(), u""_s}}) {
        Type(1, u"geb.", u"1950"_s);
        Type(1, u"AF", QString());
        Type(1, u"Datum", typed);
        EXPECT_EQ(table.CellText(1, u"Datum"), stored) << typed.toStdString();
        AssignAgeFactors(view, ui, true);
        EXPECT_EQ(table.CellText(1, u"AF"), factor) << typed.toStdString();
    }
}

} // namespace

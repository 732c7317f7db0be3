#pragma once

#include "GTestPrinters.h"
#include "ScriptedUi.h"
#include "scoring/Scorer.h"
#include "table/ColumnModel.h"
#include "table/ResultTable.h"
#include "table/TableView.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

namespace vastrel::testing {

// A results table as start-up leaves it, a scripted screen and a scorer on both.
class ScoringTest : public ::testing::Test {
protected:
    ScoringTest() : scorer(table, ui, &view) {
        DefineColumns(table, [](const QString& t) { return t.size() * 100.0; });
    }

    // Adds a row with the given cells; it is the row scored next.
    int Row(std::initializer_list<std::pair<const char16_t*, const char16_t*>> cells) {
        AppendEmptyRow(table, view);
        const int row = table.RowCount();
        for (const auto& [key, text] : cells) {
            table.SetCellText(row, key, QString::fromUtf16(text));
        }
        scoringRow = row;
        return row;
    }

    QString Cell(int row, const char16_t* key) const { return table.CellText(row, key); }

    ScriptedUi ui;
    ResultTable table;
    TableView view{table};
    Scorer scorer;
    int scoringRow = 0;
};

} // namespace vastrel::testing

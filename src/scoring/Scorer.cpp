#include "scoring/Scorer.h"

#include "ports/Ui.h"
#include "system/NumberText.h"
#include "table/ResultTable.h"
#include "table/TableView.h"

using namespace Qt::StringLiterals;

namespace vastrel {

Scorer::Scorer(ResultTable& table, Ui& ui, TableView* view) : table_(table), ui_(ui), view_(view) {
    LoadPointsCoefficients(coefficients_);
}

const ScoringColumns& Scorer::Columns() {
    if (columnsGeneration_ != table_.LayoutGeneration()) {
        columns_ = ScoringColumnsOf(table_);
        columnsGeneration_ = table_.LayoutGeneration();
    }
    return columns_;
}

void Scorer::Apply(int row, ScoredRow scored) {
    for (const ScoringMessage& message : scored.messages) {
        ui_.MessageBox(message.text, message.title, MessageButtons::Ok, message.icon);
    }
    if (scored.unreadable) {
        inputErrorFlag_ = true;
        if (view_) {
            view_->SetCurrentRow(row);
        }
    }
    if (scored.changed) {
        table_.StoreCells(row, std::move(scored.cells));
    }
}

QString Scorer::sec(int row, const QString& timeText, const QString& numberFormat) {
    RowScoring scoring(Columns(), coefficients_);
    scoring.Begin(table_.Cells(row), row);
    const auto seconds = scoring.EffectiveTime(timeText, numberFormat, scoring.AgeFactor().value_or(0.0));
    Apply(row, scoring.Result());
    return seconds ? NumberToText(*seconds) : u"0"_s;
}

void Scorer::ComputeRowPoints(int row) {
    RowScoring scoring(Columns(), coefficients_);
    scoring.Begin(table_.Cells(row), row);
    scoring.ComputeRowPoints();
    Apply(row, scoring.Result());
}

void Scorer::UpdateRowSums(int row) {
    RowScoring scoring(Columns(), coefficients_);
    scoring.Begin(table_.Cells(row), row);
    scoring.UpdateRowSums();
    Apply(row, scoring.Result());
}

void Scorer::ScoreEditedRow(int row) {
    RowScoring scoring(Columns(), coefficients_);
    Apply(row, ScoreRow(scoring, table_.Cells(row), row, true));
}

} // namespace vastrel

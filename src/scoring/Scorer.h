#pragma once

#include "scoring/PointsCoefficients.h"
#include "scoring/RowScoring.h"

#include <QString>

namespace vastrel {

class ResultTable;
class TableView;
class Ui;

// Scores rows of the table: a row's times become points and its points day sums and a total.
// Shows the boxes scoring finds on the Ui and, with a view, brings a row whose time cannot be
// read under the cursor. Holds the flag that a time could not be read, which the full
// recalculation reads.
class Scorer {
public:
    Scorer(ResultTable& table, Ui& ui, TableView* view = nullptr);

    const PointsCoefficients& Coefficients() const { return coefficients_; }
    PointsCoefficients& Coefficients() { return coefficients_; }
    const ScoringColumns& Columns(); // of the table as it is now

    bool InputErrorFlag() const { return inputErrorFlag_; }
    void SetInputErrorFlag(bool set) { inputErrorFlag_ = set; }

    // The effective time in seconds of a stored time, as text: the time formatted with the
    // number pattern (the points use "#.#", tenths), times the row's age factor.
    // A part that is not a number is reported, naming the row, and gives "0".
    QString sec(int row, const QString& timeText, const QString& numberFormat);

    // The ten points of the row from its sex, times and age factor; a row without any time is
    // left as it is.
    void ComputeRowPoints(int row);
    // Tidies the row's sprint times, empties points without a time, writes the day sums and
    // the total.
    void UpdateRowSums(int row);
    // Both, as after an edit: the sums also after a time that could not be read.
    void ScoreEditedRow(int row);

    // Shows what scoring the row found and stores what it made: the boxes in order; after a
    // time that could not be read the flag and the cursor; the row's new cells.
    void Apply(int row, ScoredRow scored);

private:
    ResultTable& table_;
    Ui& ui_;
    TableView* view_;
    PointsCoefficients coefficients_;
    bool inputErrorFlag_ = false;
    ScoringColumns columns_;
    int columnsGeneration_ = -1;
};

} // namespace vastrel

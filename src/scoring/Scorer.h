#pragma once

#include "scoring/PointsCoefficients.h"
#include "table/CompetitionLayout.h"

#include <QString>

#include <array>
#include <optional>

namespace vastrel {

class ResultTable;
class RowDraft;
class Ui;

// Scores one row at a time: the row's times become points and its points day sums and a total.
// Holds the flag that a time could not be converted, which the full recalculation reads.
class Scorer {
public:
    Scorer(ResultTable& table, Ui& ui);

    const PointsCoefficients& Coefficients() const { return coefficients_; }
    PointsCoefficients& Coefficients() { return coefficients_; }

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

    // Both of the above on a draft instead of a table row: the draft, begun on a row with this
    // table's columns, ends as the scored row. Messages go to the Ui as always; false when a
    // time could not be read (the sums are then left undone, as the full recalculation stops).
    bool ScoreDraft(RowDraft& draft);

private:
    struct Columns {
        int sex = 0;
        int ageFactor = 0;
        std::array<int, kDistanceCount> time{};
        std::array<int, kDistanceCount> points{};
        std::array<int, 4> daySum{};
        int total = 0;
    };

    const Columns& ResolvedColumns();
    std::optional<double> EffectiveTime(int row, QStringView timeText, QStringView numberFormat,
                                        double ageFactor);
    // The row's age factor; nothing when it is neither empty nor a number greater than 0.
    std::optional<double> AgeFactor(int row);
    void ReportInputError(int row);
    double CellValue(int row, int column) const;
    // The cells scoring reads and writes: the table's, or the draft's while one is scored.
    QStringView Cell(int row, int column) const;
    void Store(int row, int column, QStringView text);

    ResultTable& table_;
    Ui& ui_;
    PointsCoefficients coefficients_;
    bool inputErrorFlag_ = false;
    Columns columns_;
    int columnsGeneration_ = -1;
    RowDraft* draft_ = nullptr;
};

} // namespace vastrel

#pragma once

#include "ports/Ui.h"
#include "scoring/PointsCoefficients.h"
#include "table/Column.h"
#include "table/CompetitionLayout.h"
#include "table/RowCells.h"

#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace vastrel {

class ResultTable;

// The columns scoring reads and writes, from 0; -1 for a column the table does not have.
struct ScoringColumns {
    int sex = -1;
    int ageFactor = -1;
    std::array<int, kDistanceCount> time{};
    std::array<int, kDistanceCount> points{};
    std::array<int, kDayCount> daySum{};
    int total = -1;
};
ScoringColumns ScoringColumnsOf(const ResultTable& table);

// A box scoring shows; always with an OK button.
struct ScoringMessage {
    QString text;
    QString title;
    MessageIcon icon;
};

// One row's cells as scoring changes them: the row's own texts where nothing was written, the
// written texts beside them. The scored row is then made in one block.
class RowDraft {
public:
    void Begin(const RowCells& cells); // `cells` stays unchanged while the draft is used
    QStringView Cell(int column) const;
    void Store(int column, QStringView text); // a view of a cell is good until the next Store
    bool Changed() const;
    RowCells Make() const;

private:
    struct Piece {
        qsizetype start = 0;
        qsizetype length = 0;
        std::uint32_t draft = 0; // written in the draft of this number
    };
    bool Written(int column) const { return written_[static_cast<std::size_t>(column)].draft == draft_; }

    const RowCells* cells_ = nullptr;
    std::uint32_t draft_ = 0; // a new number for every row begun, so no piece needs clearing
    int lastWritten_ = -1;
    std::array<Piece, kMaxColumns> written_{};
    QString chars_;
};

// What scoring a row came to.
struct ScoredRow {
    std::vector<ScoringMessage> messages;
    bool unreadable = false; // a time could not be read
    bool changed = false;
    RowCells cells; // the scored row, when it changed
};

// Scores one row on its own: reads its cells, writes the new ones into a draft and keeps the
// boxes it would show, in order. It touches no table and no screen, so it runs on any thread.
class RowScoring {
public:
    RowScoring(const ScoringColumns& columns, const PointsCoefficients& coefficients)
        : columns_(columns), coefficients_(coefficients) {}

    // Starts on the row with the given number (the messages name it).
    void Begin(const RowCells& cells, int row);
    // The row's age factor: 1 for an empty cell, nothing when it is no number greater than 0.
    std::optional<double> AgeFactor() const;
    // The time in seconds, formatted with the number pattern ("#.#": tenths), times the factor;
    // nothing for a part that is not a number, which is reported.
    std::optional<double> EffectiveTime(QStringView timeText, QStringView numberFormat, double ageFactor);
    // The ten points from sex, times and age factor; false when a time could not be read.
    bool ComputeRowPoints();
    // Tidies the sprint times, empties points without a time, writes the day sums and the total.
    void UpdateRowSums();

    // What scoring the row came to so far: its boxes, whether a time could not be read, the
    // scored row when it changed.
    ScoredRow Result();

private:
    void Report(const QString& text, const QString& title, MessageIcon icon);

    const ScoringColumns columns_;
    const PointsCoefficients coefficients_;
    RowDraft draft_;
    int row_ = 0;
    bool unreadable_ = false;
    std::vector<ScoringMessage> messages_;
};

// Points and sums of the row. After a time that cannot be read the sums are made only with
// `sumsAfterUnreadable` (an edited row); the full recalculation stops there.
ScoredRow ScoreRow(RowScoring& scoring, const RowCells& cells, int row, bool sumsAfterUnreadable);

} // namespace vastrel

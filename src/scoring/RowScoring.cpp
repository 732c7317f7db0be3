#include "scoring/RowScoring.h"

#include "system/NumberText.h"
#include "table/ResultTable.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

using namespace Qt::StringLiterals;

namespace vastrel {

namespace {

// No time of any race comes near this many seconds (30 million years): a part beyond it is no
// time at all, and every sum below stays exact in 64 bits.
constexpr double kLongestTimeSeconds = 1e15;

// Hours and minutes contributions are whole seconds, a half going to the even neighbour.
std::int64_t WholeSeconds(double seconds) {
    return static_cast<std::int64_t>(std::nearbyint(seconds));
}

} // namespace

ScoringColumns ScoringColumnsOf(const ResultTable& table) {
    ScoringColumns columns;
    columns.sex = table.ColumnNumber(u"mw") - 1;
    columns.ageFactor = table.ColumnNumber(kAgeFactorKey) - 1;
    for (std::size_t i = 0; i < kDistances.size(); ++i) {
        columns.time[i] = table.ColumnNumber(kDistances[i].timeKey) - 1;
        columns.points[i] = table.ColumnNumber(kDistances[i].pointsKey) - 1;
    }
    for (std::size_t i = 0; i < kDaySumKeys.size(); ++i) {
        columns.daySum[i] = table.ColumnNumber(kDaySumKeys[i]) - 1;
    }
    columns.total = table.ColumnNumber(kTotalKey) - 1;
    return columns;
}

// The draft

void RowDraft::Begin(const RowCells& cells) {
    cells_ = &cells;
    if (++draft_ == 0) { // the numbers came round: every piece is cleared once
        written_.fill(Piece());
        draft_ = 1;
    }
    chars_.resize(0); // the room stays for the next row
    lastWritten_ = -1;
}

QStringView RowDraft::Cell(int column) const {
    if (column < 0 || column >= kMaxColumns) {
        return {};
    }
    const Piece& piece = written_[static_cast<std::size_t>(column)];
    return Written(column) ? QStringView(chars_).sliced(piece.start, piece.length)
                           : cells_->At(static_cast<std::size_t>(column));
}

void RowDraft::Store(int column, QStringView text) {
    if (column < 0 || column >= kMaxColumns) {
        return; // as the table ignores a write outside it
    }
    const QStringView old = Cell(column);
    if (old.size() == text.size() && std::equal(old.begin(), old.end(), text.begin())) {
        return;
    }
    // A cell written again gets new room: the draft lives for one row, the old text is small.
    written_[static_cast<std::size_t>(column)] = {chars_.size(), text.size(), draft_};
    chars_ += text;
    lastWritten_ = std::max(lastWritten_, column);
}

bool RowDraft::Changed() const {
    for (int c = 0; c <= lastWritten_; ++c) {
        if (Written(c) && Cell(c) != cells_->At(static_cast<std::size_t>(c))) {
            return true;
        }
    }
    return false;
}

RowCells RowDraft::Make() const {
    std::array<QStringView, kMaxColumns> fields;
    std::size_t count = cells_->Count();
    const std::size_t looked = std::max(count, static_cast<std::size_t>(lastWritten_ + 1));
    for (std::size_t c = 0; c < looked; ++c) {
        fields[c] = Cell(static_cast<int>(c));
        count = fields[c].isEmpty() ? count : std::max(count, c + 1);
    }
    return RowCells(std::span<const QStringView>(fields.data(), count));
}

// Scoring

void RowScoring::Begin(const RowCells& cells, int row) {
    draft_.Begin(cells);
    row_ = row;
    unreadable_ = false;
    messages_.clear();
}

void RowScoring::Report(const QString& text, const QString& title, MessageIcon icon) {
    messages_.push_back({text, title, icon});
}

std::optional<double> RowScoring::AgeFactor() const {
    // An empty cell means no factor has been given yet: the time counts in full.
    const QStringView text = draft_.Cell(columns_.ageFactor);
    if (IsBlank(text)) {
        return 1.0;
    }
    // A comma is read as the decimal point, as in the times.
    const auto factor =
        text.contains(u',') ? ConvertStrict(text.toString().replace(u',', u'.')) : ConvertStrict(text);
    if (!factor || !(*factor > 0)) {
        return std::nullopt;
    }
    return factor;
}

std::optional<double> RowScoring::EffectiveTime(QStringView timeText, QStringView numberFormat,
                                                double ageFactor) {
    // Up to three parts: seconds; minutes and seconds; hours, minutes and seconds. Split by
    // hand: times are short, and this runs ten times for every row scored.
    std::array<QStringView, 4> parts;
    qsizetype count = 0;
    if (!timeText.isEmpty()) {
        qsizetype start = 0;
        for (qsizetype i = 0; i <= timeText.size() && count < 4; ++i) {
            if (i == timeText.size() || timeText[i] == u':') {
                parts[static_cast<std::size_t>(count++)] = timeText.sliced(start, i - start);
                start = i + 1;
            }
        }
    }
    double total = 0;
    if (count >= 1 && count <= 3) {
        std::array<double, 3> values{};
        for (qsizetype i = 0; i < count; ++i) {
            const auto value = ConvertStrict(parts[static_cast<std::size_t>(i)]);
            // No race is run in negative time, nor in more than a lifetime.
            if (!value || *value < 0 || !(*value * 3600 < kLongestTimeSeconds)) {
                Report(u"Eingabefehler in Zeile: "_s + QString::number(row_), u"Vastrel"_s,
                       MessageIcon::Exclamation);
                unreadable_ = true;
                return std::nullopt;
            }
            values[static_cast<std::size_t>(i)] = *value;
        }
        std::int64_t wholeSeconds = 0;
        if (count == 3) {
            wholeSeconds = WholeSeconds(values[0] * 3600) + WholeSeconds(values[1] * 60);
        } else if (count == 2) {
            wholeSeconds = WholeSeconds(values[0] * 60);
        }
        total = static_cast<double>(wholeSeconds) + values[static_cast<std::size_t>(count - 1)];
    }
    return RoundLikePattern(total, numberFormat) * ageFactor;
}

bool RowScoring::ComputeRowPoints() {
    // A row without any time has nothing to score: no message interrupts typing a new row.
    if (std::all_of(columns_.time.begin(), columns_.time.end(),
                    [&](int column) { return IsBlank(draft_.Cell(column)); })) {
        return true;
    }
    const QStringView sexText = draft_.Cell(columns_.sex);
    if (sexText != u"m" && sexText != u"w") {
        Report(u"Vorgabe männlich oder weiblich fehlt! m/w?   "_s, u"Vorgabe Geschlecht"_s,
               MessageIcon::Information);
        return true;
    }
    const Sex sex = sexText == u"m" ? Sex::Men : Sex::Women;
    const auto factor = AgeFactor();
    if (!factor) {
        // A factor of 0 or none at all would give every distance the maximum: no points instead.
        Report(u"Der Altersfaktor AF in Zeile %1 ist keine Zahl größer als 0. "
               u"Die Zeile erhält keine Punkte."_s.arg(row_),
               u"Vastrel"_s, MessageIcon::Exclamation);
        for (int pointsColumn : columns_.points) {
            draft_.Store(pointsColumn, QStringView());
        }
        return true;
    }
    for (std::size_t d = 0; d < kDistances.size(); ++d) {
        const Coefficient& c = coefficients_.At(sex, static_cast<int>(d));
        const auto effective = EffectiveTime(draft_.Cell(columns_.time[d]), u"#.#", *factor);
        if (!effective) {
            // A time that cannot be read scores nothing rather than the maximum.
            draft_.Store(columns_.points[d], QStringView());
            continue;
        }
        // The effective time counts as its text form would read back. A time in tenths already
        // reads back as itself, so only a real age factor needs the rounding.
        const double t = *factor == 1.0 ? *effective : RoundToTextPrecision(*effective);
        const double points = t > c.b ? 1.0 : std::floor(c.a * (c.b - t) * (c.b - t));
        // The smallest score is 1 point, also where the formula gives less than one.
        draft_.Store(columns_.points[d], WriteNumber(points == 0 ? 1.0 : points).View());
    }
    return !unreadable_;
}

void RowScoring::UpdateRowSums() {
    for (std::size_t d = 0; d < kDistances.size(); ++d) {
        const QStringView time = draft_.Cell(columns_.time[d]);
        if (IsBlank(time)) {
            draft_.Store(columns_.points[d], QStringView());
        } else if (kDistances[d].group == DistanceGroup::Sprint && !IsWrittenInTenths(time)) {
            // A sprint time is written in tenths; one written so already stays as it is.
            draft_.Store(columns_.time[d], WritePattern(ReadLenient(time), u"#.0").View());
        }
    }
    const auto value = [this](int column) {
        return ReadLenient(draft_.Cell(column));
    };
    const auto pointsOfDay = [&](std::size_t first) {
        return value(columns_.points[first]) + value(columns_.points[first + 1]) +
               value(columns_.points[first + 2]);
    };
    draft_.Store(columns_.daySum[0], WritePattern(pointsOfDay(0), u"#").View());
    draft_.Store(columns_.daySum[1], WriteNumber(pointsOfDay(3)).View());
    draft_.Store(columns_.daySum[2], WriteNumber(pointsOfDay(6)).View());
    double total = 0;
    for (int sumColumn : columns_.daySum) {
        total += value(sumColumn);
    }
    draft_.Store(columns_.total, WriteNumber(total).View());
    for (int column : {columns_.daySum[0], columns_.daySum[1], columns_.daySum[2], columns_.total}) {
        if (value(column) == 0) {
            draft_.Store(column, QStringView());
        }
    }
}

ScoredRow RowScoring::Result() {
    ScoredRow scored{std::exchange(messages_, {}), unreadable_, draft_.Changed(), {}};
    if (scored.changed) {
        scored.cells = draft_.Make();
    }
    return scored;
}

ScoredRow ScoreRow(RowScoring& scoring, const RowCells& cells, int row, bool sumsAfterUnreadable) {
    scoring.Begin(cells, row);
    if (scoring.ComputeRowPoints() || sumsAfterUnreadable) {
        scoring.UpdateRowSums();
    }
    return scoring.Result();
}

} // namespace vastrel

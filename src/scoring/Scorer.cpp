#include "scoring/Scorer.h"

#include "ports/Ui.h"
#include "scoring/RowDraft.h"
#include "system/NumberText.h"
#include "table/ResultTable.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

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

bool IsBlank(QStringView text) {
    for (QChar c : text) {
        if (c != u' ') {
            return false;
        }
    }
    return true;
}

} // namespace

Scorer::Scorer(ResultTable& table, Ui& ui) : table_(table), ui_(ui) {
    LoadPointsCoefficients(coefficients_);
}

const Scorer::Columns& Scorer::ResolvedColumns() {
    if (columnsGeneration_ != table_.LayoutGeneration()) {
        columns_.sex = table_.ColumnNumber(u"mw");
        columns_.ageFactor = table_.ColumnNumber(u"AF");
        for (std::size_t i = 0; i < kDistances.size(); ++i) {
            columns_.time[i] = table_.ColumnNumber(kDistances[i].timeKey);
            columns_.points[i] = table_.ColumnNumber(kDistances[i].pointsKey);
        }
        for (std::size_t i = 0; i < kDaySumKeys.size(); ++i) {
            columns_.daySum[i] = table_.ColumnNumber(kDaySumKeys[i]);
        }
        columns_.total = table_.ColumnNumber(kTotalKey);
        columnsGeneration_ = table_.LayoutGeneration();
    }
    return columns_;
}

void Scorer::ReportInputError(int row) {
    ui_.MessageBox(u"Eingabefehler in Zeile: "_s + QString::number(row), u"Vastrel"_s, MessageButtons::Ok,
                   MessageIcon::Exclamation);
    inputErrorFlag_ = true;
    if (!draft_) {
        table_.SetCurrentRow(row);
    }
}

QStringView Scorer::Cell(int row, int column) const {
    return draft_ ? draft_->Cell(column) : table_.CellView(row, column);
}

void Scorer::Store(int row, int column, QStringView text) {
    if (draft_) {
        draft_->Store(column, text);
    } else {
        table_.StoreCellText(row, column, text);
    }
}

bool Scorer::ScoreDraft(RowDraft& draft) {
    draft_ = &draft;
    const bool wasSet = inputErrorFlag_;
    inputErrorFlag_ = false;
    ComputeRowPoints(1);
    const bool readable = !inputErrorFlag_;
    if (readable) {
        UpdateRowSums(1);
    }
    inputErrorFlag_ = wasSet || !readable;
    draft_ = nullptr;
    return readable;
}

std::optional<double> Scorer::AgeFactor(int row) {
    // An empty cell means no factor has been given yet: the time counts in full.
    const QStringView text = Cell(row, ResolvedColumns().ageFactor);
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

std::optional<double> Scorer::EffectiveTime(int row, QStringView timeText, QStringView numberFormat,
                                            double ageFactor) {
    // Up to three parts: seconds; minutes and seconds; hours, minutes and seconds.
    // Split by hand: times are short, and this runs ten times for every row scored.
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
                ReportInputError(row);
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

QString Scorer::sec(int row, const QString& timeText, const QString& numberFormat) {
    const auto seconds = EffectiveTime(row, timeText, numberFormat, AgeFactor(row).value_or(0.0));
    return seconds ? NumberToText(*seconds) : u"0"_s;
}

void Scorer::ComputeRowPoints(int row) {
    const Columns& columns = ResolvedColumns();
    // A row without any time has nothing to score: no message interrupts typing a new row.
    if (std::all_of(columns.time.begin(), columns.time.end(),
                    [&](int column) { return IsBlank(Cell(row, column)); })) {
        return;
    }
    const QStringView sexText = Cell(row, columns.sex);
    Sex sex;
    if (sexText == u"m") {
        sex = Sex::Men;
    } else if (sexText == u"w") {
        sex = Sex::Women;
    } else {
        ui_.MessageBox(u"Vorgabe männlich oder weiblich fehlt! m/w?   "_s, u"Vorgabe Geschlecht"_s,
                       MessageButtons::Ok, MessageIcon::Information);
        return;
    }
    const auto factor = AgeFactor(row);
    if (!factor) {
        // A factor of 0 or none at all would give every distance the maximum: no points instead.
        ui_.MessageBox(u"Der Altersfaktor AF in Zeile %1 ist keine Zahl größer als 0. "
                       u"Die Zeile erhält keine Punkte."_s.arg(row),
                       u"Vastrel"_s, MessageButtons::Ok, MessageIcon::Exclamation);
        for (int pointsColumn : columns.points) {
            Store(row, pointsColumn, QStringView());
        }
        return;
    }
    const double ageFactor = *factor;
    for (int i = 0; i < kDistanceCount; ++i) {
        const auto d = static_cast<std::size_t>(i);
        const Coefficient& c = coefficients_.At(sex, i);
        const int pointsColumn = columns.points[d];
        const auto effective = EffectiveTime(row, Cell(row, columns.time[d]), u"#.#", ageFactor);
        if (!effective) {
            // A time that cannot be read scores nothing rather than the maximum.
            Store(row, pointsColumn, QStringView());
            continue;
        }
        // The effective time counts as its text form would read back. A time in tenths already
        // reads back as itself, so only a real age factor needs the rounding.
        const double t = ageFactor == 1.0 ? *effective : RoundToTextPrecision(*effective);
        const double points = t > c.b ? 1.0 : std::floor(c.a * (c.b - t) * (c.b - t));
        // The smallest score is 1 point, also where the formula gives less than one.
        Store(row, pointsColumn, WriteNumber(points == 0 ? 1.0 : points).View());
    }
}

double Scorer::CellValue(int row, int column) const {
    return ReadLenient(Cell(row, column));
}

void Scorer::UpdateRowSums(int row) {
    const Columns& columns = ResolvedColumns();
    for (std::size_t d = 0; d < kDistances.size(); ++d) {
        const QStringView time = Cell(row, columns.time[d]);
        if (IsBlank(time)) {
            Store(row, columns.points[d], QStringView());
        } else if (kDistances[d].group == DistanceGroup::Sprint && !IsWrittenInTenths(time)) {
            // A sprint time is written in tenths; one written so already stays as it is.
            Store(row, columns.time[d], WritePattern(ReadLenient(time), u"#.0").View());
        }
    }
    auto pointsOfDay = [&](std::size_t first) {
        return CellValue(row, columns.points[first]) + CellValue(row, columns.points[first + 1]) +
               CellValue(row, columns.points[first + 2]);
    };
    Store(row, columns.daySum[0], WritePattern(pointsOfDay(0), u"#").View());
    Store(row, columns.daySum[1], WriteNumber(pointsOfDay(3)).View());
    Store(row, columns.daySum[2], WriteNumber(pointsOfDay(6)).View());
    double total = 0;
    for (int sumColumn : columns.daySum) {
        total += CellValue(row, sumColumn);
    }
    Store(row, columns.total, WriteNumber(total).View());
    for (int column : {columns.daySum[0], columns.daySum[1], columns.daySum[2], columns.total}) {
        if (CellValue(row, column) == 0) {
            Store(row, column, QStringView());
        }
    }
}

} // namespace vastrel

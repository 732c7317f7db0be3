#include "scoring/Scorer.h"

#include "app/Ui.h"
#include "system/NumberText.h"
#include "table/ResultTable.h"

#include <cmath>
#include <cstdint>
#include <limits>

using namespace Qt::StringLiterals;

namespace vastrel {

namespace {

// Hours and minutes contributions are whole seconds, a half going to the even neighbour.
// They are held in 64 bits so that long times cannot wrap round.
std::int64_t WholeSeconds(double seconds) {
    const double rounded = std::nearbyint(seconds);
    constexpr double limit = 9.0e18;
    if (!(std::fabs(rounded) < limit)) {
        return rounded < 0 ? -static_cast<std::int64_t>(limit) : static_cast<std::int64_t>(limit);
    }
    return static_cast<std::int64_t>(rounded);
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
        const std::array<const char16_t*, 4> sums = {u"Summe1", u"Summe2", u"Summe3", u"Summe4"};
        for (std::size_t i = 0; i < sums.size(); ++i) {
            columns_.daySum[i] = table_.ColumnNumber(sums[i]);
        }
        columns_.total = table_.ColumnNumber(u"Gesamt");
        columnsGeneration_ = table_.LayoutGeneration();
    }
    return columns_;
}

void Scorer::ReportInputError() {
    ui_.MessageBox(u"Eingabefehler in Zeile: "_s + QString::number(scoringRow_), u"Vastrel"_s,
                   MessageButtons::Ok, MessageIcon::Exclamation);
    inputErrorFlag_ = true;
    table_.SetCurrentRow(scoringRow_);
}

double Scorer::AgeFactor() {
    // An empty cell means no factor has been given yet: the time counts in full.
    const QString& text = table_.CellText(scoringRow_, ResolvedColumns().ageFactor);
    return text.trimmed().isEmpty() ? 1.0 : ReadLenient(text);
}

std::optional<double> Scorer::EffectiveTime(const QString& timeText, const QString& numberFormat) {
    double total = 0;
    const QStringList parts = timeText.isEmpty() ? QStringList() : timeText.split(u':');
    if (!parts.isEmpty() && parts.size() <= 3) {
        std::array<double, 3> values{};
        for (qsizetype i = 0; i < parts.size(); ++i) {
            const auto value = ConvertStrict(parts.at(i));
            if (!value) {
                ReportInputError();
                return std::nullopt;
            }
            values[static_cast<std::size_t>(i)] = *value;
        }
        const double seconds = values[static_cast<std::size_t>(parts.size() - 1)];
        std::int64_t wholeSeconds = 0;
        if (parts.size() == 3) {
            wholeSeconds = WholeSeconds(values[0] * 3600) + WholeSeconds(values[1] * 60);
        } else if (parts.size() == 2) {
            wholeSeconds = WholeSeconds(values[0] * 60);
        }
        total = static_cast<double>(wholeSeconds) + seconds;
    }
    const double rounded = ReadLenient(FormatNumber(total, numberFormat));
    return rounded * AgeFactor();
}

QString Scorer::sec(const QString& timeText, const QString& numberFormat) {
    const auto seconds = EffectiveTime(timeText, numberFormat);
    return seconds ? NumberToText(*seconds) : u"0"_s;
}

void Scorer::ComputeRowPoints() {
    const Columns& columns = ResolvedColumns();
    const QString& sexText = table_.CellText(scoringRow_, columns.sex);
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
    const QString format = u"#.#"_s;
    for (int i = 0; i < kDistanceCount; ++i) {
        const auto d = static_cast<std::size_t>(i);
        const Coefficient& c = coefficients_.At(sex, i);
        const int pointsColumn = columns.points[d];
        const auto effective = EffectiveTime(table_.CellText(scoringRow_, columns.time[d]), format);
        if (!effective) {
            // A time that cannot be read scores nothing rather than the maximum.
            table_.SetCellText(scoringRow_, pointsColumn, QString());
            continue;
        }
        // The effective time passes through its text form, as a stored value would.
        const double t = ConvertStrict(NumberToText(*effective)).value_or(0);
        if (t > c.b) {
            table_.SetCellText(scoringRow_, pointsColumn, u"1"_s);
            continue;
        }
        const double points = std::floor(c.a * (c.b - t) * (c.b - t));
        table_.SetCellText(scoringRow_, pointsColumn, NumberToText(points));
        if (ReadLenient(table_.CellText(scoringRow_, pointsColumn)) == 0) {
            table_.SetCellText(scoringRow_, pointsColumn, u"1"_s);
        }
    }
}

double Scorer::CellValue(int column) const {
    return ReadLenient(table_.CellText(scoringRow_, column));
}

void Scorer::UpdateRowSums() {
    const Columns& columns = ResolvedColumns();
    for (std::size_t d = 0; d < kDistances.size(); ++d) {
        const QString& time = table_.CellText(scoringRow_, columns.time[d]);
        if (time.trimmed().isEmpty()) {
            table_.SetCellText(scoringRow_, columns.points[d], QString());
        } else if (kDistances[d].group == DistanceGroup::Sprint) {
            table_.SetCellText(scoringRow_, columns.time[d], FormatNumber(ReadLenient(time), u"#.0"));
        }
    }
    auto pointsOfDay = [&](std::size_t first) {
        return CellValue(columns.points[first]) + CellValue(columns.points[first + 1]) +
               CellValue(columns.points[first + 2]);
    };
    table_.SetCellText(scoringRow_, columns.daySum[0], FormatNumber(pointsOfDay(0), u"#"));
    table_.SetCellText(scoringRow_, columns.daySum[1], NumberToText(pointsOfDay(3)));
    table_.SetCellText(scoringRow_, columns.daySum[2], NumberToText(pointsOfDay(6)));
    double total = 0;
    for (int sumColumn : columns.daySum) {
        total += CellValue(sumColumn);
    }
    table_.SetCellText(scoringRow_, columns.total, NumberToText(total));
    for (int column : {columns.daySum[0], columns.daySum[1], columns.daySum[2], columns.total}) {
        if (CellValue(column) == 0) {
            table_.SetCellText(scoringRow_, column, QString());
        }
    }
}

} // namespace vastrel

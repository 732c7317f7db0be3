#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <array>
#include <optional>

namespace vastrel {

class ResultTable;

// What the organiser publishes beside the table: which days' results are final (the others
// show as "vorläufig").
struct LiveOptions {
    std::array<bool, 4> finalDays{};
};

// The live results as one JSON document for the results page: the title, the time of the data
// ("stand"), the days with their distances, and per competitor start number, name, run, sex, the
// ten times and points, the day sums, the total and the places of the report (by run and sex, per
// day and in total). Nothing else of a row: no year of birth, no age factor, no remark. Rows
// without name and start number are left out.
QByteArray LiveResultsJson(const ResultTable& table, const LiveOptions& options, const QDateTime& stand);

// "1, 3" → days 1 and 3 final; nothing for a text that names anything but days 1 to 4.
std::optional<LiveOptions> FinalDaysFromText(QStringView text);
QString FinalDaysText(const LiveOptions& options);

} // namespace vastrel

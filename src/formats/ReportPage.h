#pragma once

#include <QString>

#include <vector>

namespace vastrel {

class ResultTable;

// The report page: a printable HTML page (UTF-8, A4 landscape) with the report title, the
// caption and a table of the selected rows: first their place ("Platz", from `places`, index 0
// for row 1, 0 for none), then the visible columns under their captions.
QString ReportHtml(const ResultTable& table, const std::vector<int>& places);

// Writes the page; false (with a German reason) when it could not be written.
bool WriteReport(const ResultTable& table, const std::vector<int>& places, const QString& path,
                 QString* errorMessage = nullptr);

} // namespace vastrel

#pragma once

#include <QString>

namespace vastrel {

class ResultTable;

// The report page: a printable HTML page (UTF-8, A4 landscape) with the report title, the
// caption and a table of the selected rows in the visible columns under their captions.
QString ReportHtml(const ResultTable& table);

// Writes the page; false (with a German reason) when it could not be written.
bool WriteReport(const ResultTable& table, const QString& path, QString* errorMessage = nullptr);

} // namespace vastrel

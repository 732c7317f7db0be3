#pragma once

#include <QString>

#include <vector>

namespace vastrel {

class TableView;

// The report's two title lines: the event, and the view it was taken in ("Stadtlauf - 2.Tag").
struct ReportTitles {
    QString title;
    QString caption;
};

// The report page: a printable HTML page (UTF-8, A4 landscape) with the two titles and a table of
// the selected rows: first their place ("Platz", from `places`, index 0 for row 1, 0 for none),
// then the visible columns under their captions.
QString ReportHtml(const TableView& view, const std::vector<int>& places, const ReportTitles& titles);

// Writes the page; false (with a German reason) when it could not be written.
bool WriteReport(const TableView& view, const std::vector<int>& places, const ReportTitles& titles,
                 const QString& path, QString* errorMessage = nullptr);

} // namespace vastrel

#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace vastrel {

class TableView;

// The report's two title lines: the event, and the view it was taken in ("Stadtlauf - 2.Tag").
struct ReportTitles {
    QString title;
    QString caption;

    bool operator==(const ReportTitles&) const = default;
};

// What the report shows: its titles, the captions of its columns ("Platz" first, then the visible
// columns), which of them are centred, and the texts of the selected rows, each row's place first.
struct ReportTable {
    ReportTitles titles;
    QStringList captions;
    std::vector<bool> centred;
    std::vector<QStringList> rows;

    bool operator==(const ReportTable&) const = default;
};

// The report of the selected rows; `places` holds each row's place (index 0 for row 1, 0 for none).
ReportTable ReportTableOf(const TableView& view, const std::vector<int>& places, const ReportTitles& titles);

// The report page: a printable HTML page (UTF-8, A4 landscape) with the two titles and the table.
// A title longer than a line is cut with "…".
QString ReportHtml(const ReportTable& report);
QString ReportHtml(const TableView& view, const std::vector<int>& places, const ReportTitles& titles);

// A report page this program wrote, read back for printing; nothing for another page.
std::optional<ReportTable> ReadReportHtml(const QString& html);

// Writes the page; false (with a German reason) when it could not be written.
bool WriteReport(const TableView& view, const std::vector<int>& places, const ReportTitles& titles,
                 const QString& path, QString* errorMessage = nullptr);

} // namespace vastrel

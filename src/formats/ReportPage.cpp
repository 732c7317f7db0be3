#include "formats/ReportPage.h"

#include "system/FileHelpers.h"
#include "table/ResultTable.h"
#include "table/TableView.h"

using namespace Qt::StringLiterals;

namespace vastrel {

namespace {

QString Cell(const QString& text, const Column& column, const char16_t* tag) {
    const QString align = column.layout.cellAlignment == 0 ? u"left"_s : u"center"_s;
    return u"<%1 align=\"%2\" nowrap>%3</%1>"_s.arg(QString::fromUtf16(tag), align, text.toHtmlEscaped());
}

// A title is one line on the page; a longer one is cut with "…". Laying out a title of a million
// characters took the PDF a minute.
QString TitleLine(const QString& title) {
    constexpr qsizetype kMaxTitleLength = 200;
    return (title.size() <= kMaxTitleLength ? title : title.left(kMaxTitleLength - 1) + u'…').toHtmlEscaped();
}

} // namespace

QString ReportHtml(const TableView& view, const std::vector<int>& places, const ReportTitles& titles) {
    const ResultTable& table = view.Table();
    QList<int> columns;
    for (int c = 1; c <= table.ColumnCount(); ++c) {
        if (table.Visible(c)) {
            columns << c;
        }
    }
    QString html;
    html += u"<!DOCTYPE html>\n<html lang=\"de\">\n<head>\n<meta charset=\"utf-8\">\n"_s;
    html += u"<title>%1</title>\n"_s.arg(TitleLine(titles.title));
    html += u"<style>\n"
            u"@page { size: A4 landscape; margin: 12mm; }\n"
            u"body { font-family: sans-serif; font-size: 7pt; }\n"
            u"h1 { font-size: 14pt; margin: 0 0 2pt 0; }\n"
            u"h2 { font-size: 11pt; font-weight: normal; margin: 0 0 8pt 0; }\n"
            u"table { border-collapse: collapse; }\n"
            u"th { background-color: #D8E4F8; }\n"
            u"th, td { border: 1px solid #8090A8; padding: 1px 3px; white-space: nowrap; }\n"
            u"</style>\n</head>\n<body>\n"_s;
    html += u"<h1>%1</h1>\n<h2>%2</h2>\n"_s.arg(TitleLine(titles.title), TitleLine(titles.caption));
    html += u"<table border=\"1\" cellspacing=\"0\" cellpadding=\"2\">\n<thead>\n<tr>"_s;
    html += u"<th align=\"center\" nowrap>Platz</th>"_s;
    for (int c : columns) {
        html += Cell(table.HeaderText(c).trimmed(), table.ColumnAt(c), u"th");
    }
    html += u"</tr>\n</thead>\n<tbody>\n"_s;
    for (int r = 1; r <= table.RowCount(); ++r) {
        if (!view.RowSelected(r)) {
            continue;
        }
        html += u"<tr>"_s;
        const int place = r <= static_cast<int>(places.size()) ? places[static_cast<std::size_t>(r - 1)] : 0;
        html += u"<td align=\"center\" nowrap>%1</td>"_s.arg(place > 0 ? u"%1."_s.arg(place) : QString());
        for (int c : columns) {
            html += Cell(table.CellText(r, c), table.ColumnAt(c), u"td");
        }
        html += u"</tr>\n"_s;
    }
    html += u"</tbody>\n</table>\n</body>\n</html>\n"_s;
    return html;
}

bool WriteReport(const TableView& view, const std::vector<int>& places, const ReportTitles& titles,
                 const QString& path, QString* errorMessage) {
    return WriteFileAtomically(path, ReportHtml(view, places, titles).toUtf8(), errorMessage);
}

} // namespace vastrel

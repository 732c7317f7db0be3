#include "formats/ReportPage.h"

#include "system/FileHelpers.h"
#include "table/ResultTable.h"
#include "table/TableView.h"

using namespace Qt::StringLiterals;

namespace vastrel {

namespace {

QString Cell(const QString& text, bool centred, QStringView tag) {
    return u"<%1 align=\"%2\" nowrap>%3</%1>"_s.arg(tag, centred ? u"center"_s : u"left"_s,
                                                    text.toHtmlEscaped());
}

// A title is one line on the page; a longer one is cut with "…". Laying out a title of a million
// characters took the PDF a minute.
QString TitleLine(const QString& title) {
    constexpr qsizetype kMaxTitleLength = 200;
    return (title.size() <= kMaxTitleLength ? title : title.left(kMaxTitleLength - 1) + u'…').toHtmlEscaped();
}

QString Unescaped(QStringView text) {
    if (!text.contains(u'&')) {
        return text.toString();
    }
    return text.toString()
        .replace(u"&lt;"_s, u"<"_s)
        .replace(u"&gt;"_s, u">"_s)
        .replace(u"&quot;"_s, u"\""_s)
        .replace(u"&amp;"_s, u"&"_s);
}

// Reads the page as ReportHtml writes it, front to back; any other text stops it.
class PageReader {
public:
    explicit PageReader(const QString& html) : html_(html) {}

    // The text between `open` and `close`, from where the reader stands; it moves past `close`.
    std::optional<QStringView> Between(QStringView open, QStringView close) {
        const qsizetype start = html_.indexOf(open, at_);
        const qsizetype end = start < 0 ? -1 : html_.indexOf(close, start + open.size());
        if (end < 0) {
            return std::nullopt;
        }
        at_ = end + close.size();
        return QStringView(html_).sliced(start + open.size(), end - start - open.size());
    }

    // The cells of one row: `<th align="…" nowrap>…</th>` or the same with td.
    static std::optional<QStringList> Cells(QStringView row, QStringView tag, std::vector<bool>* centred) {
        QStringList cells;
        const QString open = u"<%1 align=\""_s.arg(tag);
        constexpr QStringView kBeforeText = u"\" nowrap>";
        const QString close = u"</%1>"_s.arg(tag);
        qsizetype at = 0;
        while (at < row.size()) {
            if (!row.sliced(at).startsWith(open)) {
                return std::nullopt;
            }
            at += open.size();
            const qsizetype textStart = row.indexOf(kBeforeText, at);
            const qsizetype end = textStart < 0 ? -1 : row.indexOf(close, textStart);
            if (end < 0) {
                return std::nullopt;
            }
            if (centred) {
                centred->push_back(row.sliced(at, textStart - at) == u"center");
            }
            const qsizetype text = textStart + kBeforeText.size();
            cells << Unescaped(row.sliced(text, end - text));
            at = end + close.size();
        }
        return cells;
    }

private:
    const QString& html_;
    qsizetype at_ = 0;
};

} // namespace

ReportTable ReportTableOf(const TableView& view, const std::vector<int>& places, const ReportTitles& titles) {
    const ResultTable& table = view.Table();
    ReportTable report{titles, {u"Platz"_s}, {true}, {}};
    QList<int> columns;
    for (int c = 1; c <= table.ColumnCount(); ++c) {
        if (table.Visible(c)) {
            columns << c;
            report.captions << table.HeaderText(c).trimmed();
            report.centred.push_back(table.ColumnAt(c).layout.cellAlignment != 0);
        }
    }
    for (int r = 1; r <= table.RowCount(); ++r) {
        if (!view.RowSelected(r)) {
            continue;
        }
        const int place = r <= static_cast<int>(places.size()) ? places[static_cast<std::size_t>(r - 1)] : 0;
        QStringList cells{place > 0 ? u"%1."_s.arg(place) : QString()};
        for (int c : columns) {
            cells << table.CellText(r, c);
        }
        report.rows.push_back(std::move(cells));
    }
    return report;
}

QString ReportHtml(const ReportTable& report) {
    QString html;
    html += u"<!DOCTYPE html>\n<html lang=\"de\">\n<head>\n<meta charset=\"utf-8\">\n"_s;
    html += u"<title>%1</title>\n"_s.arg(TitleLine(report.titles.title));
    html += u"<style>\n"
            u"@page { size: A4 landscape; margin: 12mm; }\n"
            u"body { font-family: sans-serif; font-size: 7pt; }\n"
            u"h1 { font-size: 14pt; margin: 0 0 2pt 0; }\n"
            u"h2 { font-size: 11pt; font-weight: normal; margin: 0 0 8pt 0; }\n"
            u"table { border-collapse: collapse; }\n"
            u"th { background-color: #D8E4F8; }\n"
            u"th, td { border: 1px solid #8090A8; padding: 1px 3px; white-space: nowrap; }\n"
            u"</style>\n</head>\n<body>\n"_s;
    html +=
        u"<h1>%1</h1>\n<h2>%2</h2>\n"_s.arg(TitleLine(report.titles.title), TitleLine(report.titles.caption));
    html += u"<table border=\"1\" cellspacing=\"0\" cellpadding=\"2\">\n<thead>\n<tr>"_s;
    for (qsizetype c = 0; c < report.captions.size(); ++c) {
        html += Cell(report.captions.at(c), report.centred[static_cast<std::size_t>(c)], u"th");
    }
    html += u"</tr>\n</thead>\n<tbody>\n"_s;
    for (const QStringList& row : report.rows) {
        html += u"<tr>"_s;
        for (qsizetype c = 0; c < row.size(); ++c) {
            html += Cell(row.at(c), report.centred[static_cast<std::size_t>(c)], u"td");
        }
        html += u"</tr>\n"_s;
    }
    html += u"</tbody>\n</table>\n</body>\n</html>\n"_s;
    return html;
}

QString ReportHtml(const TableView& view, const std::vector<int>& places, const ReportTitles& titles) {
    return ReportHtml(ReportTableOf(view, places, titles));
}

std::optional<ReportTable> ReadReportHtml(const QString& html) {
    PageReader page(html);
    const auto title = page.Between(u"<h1>", u"</h1>\n<h2>");
    const auto caption = page.Between(u"", u"</h2>\n");
    const auto header = page.Between(u"<thead>\n<tr>", u"</tr>\n</thead>\n<tbody>\n");
    const auto body = page.Between(u"", u"</tbody>\n</table>");
    if (!title || !caption || !header || !body) {
        return std::nullopt;
    }
    ReportTable report{{Unescaped(*title), Unescaped(*caption)}, {}, {}, {}};
    const auto captions = PageReader::Cells(*header, u"th", &report.centred);
    if (!captions || captions->isEmpty()) {
        return std::nullopt;
    }
    report.captions = *captions;
    // A cell's own line breaks stay in it: each row ends with "</tr>" and a line break.
    for (QStringView line : body->split(u"</tr>\n", Qt::SkipEmptyParts)) {
        if (!line.startsWith(u"<tr>")) {
            return std::nullopt;
        }
        auto cells = PageReader::Cells(line.sliced(4), u"td", nullptr);
        if (!cells || cells->size() != report.captions.size()) {
            return std::nullopt;
        }
        report.rows.push_back(std::move(*cells));
    }
    return report;
}

bool WriteReport(const TableView& view, const std::vector<int>& places, const ReportTitles& titles,
                 const QString& path, QString* errorMessage) {
    return WriteFileAtomically(path, ReportHtml(view, places, titles).toUtf8(), errorMessage);
}

} // namespace vastrel

#include "print/ReportPainter.h"

#include "formats/ReportPage.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QHash>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextDocument>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace vastrel {

namespace {

// The report's text is 7 points; a narrow table grows to the page's width, up to 12 points, so
// that it stays easy to read from a notice board.
constexpr qreal kLargestScale = 12.0 / 7.0;
const QColor kHeaderColour(0xD8, 0xE4, 0xF8);
const QColor kLineColour(0x80, 0x90, 0xA8);

QFont ReportFont(qreal points, bool bold) {
    QFont font(u"sans-serif"_s);
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

// The page as its style sheet describes it, in the paint device's units before scaling.
class TableLayout {
public:
    TableLayout(const ReportTable& report, QPaintDevice& device)
        : report_(report), px_(device.logicalDpiY() / 96.0), pt_(device.logicalDpiY() / 72.0),
          body_(ReportFont(7, false)), head_(ReportFont(7, true)), title_(ReportFont(14, true)),
          caption_(ReportFont(11, false)), bodyMetrics_(body_, &device), headMetrics_(head_, &device),
          titleMetrics_(title_, &device), captionMetrics_(caption_, &device) {
        padX_ = 3 * px_;
        padY_ = 1.5 * px_;
        rowHeight_ = std::max(bodyMetrics_.height(), headMetrics_.height()) + 2 * padY_ + px_;
        titlesHeight_ = titleMetrics_.height() + 2 * pt_ + captionMetrics_.height() + 8 * pt_;
        for (const QString& caption : report.captions) {
            widths_.push_back(headMetrics_.horizontalAdvance(caption));
        }
        for (const QStringList& row : report.rows) {
            for (qsizetype c = 0; c < row.size(); ++c) {
                qreal& width = widths_[static_cast<std::size_t>(c)];
                width = std::max(width, Advance(row.at(c)));
            }
        }
        for (qreal& width : widths_) {
            width += 2 * padX_ + px_;
        }
    }

    qreal Width() const {
        qreal width = px_;
        for (qreal w : widths_) {
            width += w;
        }
        return width;
    }
    qreal TitlesHeight() const { return titlesHeight_; }
    qreal RowHeight() const { return rowHeight_; }

    // Rows [first, first + count) below the header, from the top of the page; titles on page one.
    void Paint(QPainter& painter, qsizetype first, qsizetype count, bool titles, qreal pageWidth) {
        qreal y = 0;
        if (titles) {
            painter.setFont(title_);
            painter.drawText(QPointF(0, titleMetrics_.ascent()),
                             titleMetrics_.elidedText(report_.titles.title, Qt::ElideRight, pageWidth));
            y += titleMetrics_.height() + 2 * pt_;
            painter.setFont(caption_);
            painter.drawText(QPointF(0, y + captionMetrics_.ascent()),
                             captionMetrics_.elidedText(report_.titles.caption, Qt::ElideRight, pageWidth));
            y += captionMetrics_.height() + 8 * pt_;
        }
        const qreal top = y;
        const qreal width = Width();
        painter.fillRect(QRectF(0, y, width, rowHeight_), kHeaderColour);
        painter.setFont(head_);
        PaintRow(painter, report_.captions, y, headMetrics_.ascent(),
                 [this](const QString& text) { return headMetrics_.horizontalAdvance(text); });
        y += rowHeight_;
        painter.setFont(body_);
        for (qsizetype r = first; r < first + count; ++r) {
            PaintRow(painter, report_.rows[static_cast<std::size_t>(r)], y, bodyMetrics_.ascent(),
                     [this](const QString& text) { return Advance(text); });
            y += rowHeight_;
        }
        painter.setPen(QPen(kLineColour, px_));
        for (qreal line = top; line <= y + px_ / 2; line += rowHeight_) {
            painter.drawLine(QPointF(0, line), QPointF(width, line));
        }
        qreal x = 0;
        painter.drawLine(QPointF(x, top), QPointF(x, y));
        for (qreal w : widths_) {
            x += w;
            painter.drawLine(QPointF(x, top), QPointF(x, y));
        }
        painter.setPen(Qt::black);
    }

private:
    qreal Advance(const QString& text) {
        auto found = advances_.constFind(text);
        if (found == advances_.cend()) {
            found = advances_.insert(text, bodyMetrics_.horizontalAdvance(text)); // texts recur
        }
        return found.value();
    }

    // `advance` measures a text in the row's font.
    template <typename Advance>
    void PaintRow(QPainter& painter, const QStringList& cells, qreal y, qreal ascent, Advance advance) {
        painter.setPen(Qt::black);
        qreal x = 0;
        const qreal baseline = y + px_ + padY_ + ascent;
        for (qsizetype c = 0; c < cells.size(); ++c) {
            const qreal width = widths_[static_cast<std::size_t>(c)];
            const QString& text = cells.at(c);
            if (!text.isEmpty()) {
                const bool centred = report_.centred[static_cast<std::size_t>(c)];
                const qreal left = centred ? x + (width - advance(text)) / 2 : x + px_ + padX_;
                painter.drawText(QPointF(left, baseline), text);
            }
            x += width;
        }
    }

    const ReportTable& report_;
    qreal px_;
    qreal pt_;
    QFont body_, head_, title_, caption_;
    QFontMetricsF bodyMetrics_, headMetrics_, titleMetrics_, captionMetrics_;
    qreal padX_ = 0;
    qreal padY_ = 0;
    qreal rowHeight_ = 0;
    qreal titlesHeight_ = 0;
    std::vector<qreal> widths_;
    QHash<QString, qreal> advances_;
};

// The report's own page, drawn row by row: the general HTML layout took 25 ms a row
// (bench_report BM_ReportPdf, 300 rows: 7.4 s).
void PaintReportTable(const ReportTable& report, QPagedPaintDevice& device) {
    TableLayout layout(report, device);
    const QRectF page = device.pageLayout().paintRectPixels(device.logicalDpiX());
    const qreal scale = std::min(page.width() / std::max<qreal>(layout.Width(), 1), kLargestScale);
    const qreal width = page.width() / scale;
    const qreal height = page.height() / scale;
    QPainter painter(&device);
    painter.scale(scale, scale);
    const auto rowsFitting = [&](qreal room) {
        return std::max<qsizetype>(1, static_cast<qsizetype>(std::floor(room / layout.RowHeight())) - 1);
    };
    const qsizetype rows = static_cast<qsizetype>(report.rows.size());
    qsizetype first = 0;
    for (int page = 0; page == 0 || first < rows; ++page) {
        if (page > 0) {
            device.newPage();
        }
        const bool titles = page == 0;
        const qsizetype count =
            std::min(rows - first, rowsFitting(height - (titles ? layout.TitlesHeight() : 0)));
        layout.Paint(painter, first, count, titles, width);
        first += count;
    }
}

// Any other page, laid out as HTML.
void PaintDocumentPages(const QString& html, QPagedPaintDevice& device) {
    QTextDocument document;
    document.setDocumentMargin(0);
    document.setHtml(html);
    document.documentLayout()->setPaintDevice(&device);
    const QRectF page = device.pageLayout().paintRectPixels(device.logicalDpiX());
    document.setPageSize(QSizeF(page.width() * 4, page.height()));
    const qreal scale = std::min(page.width() / std::max<qreal>(document.idealWidth(), 1), kLargestScale);
    const qreal width = page.width() / scale;
    document.setPageSize(QSizeF(width, page.height() / scale));
    QPainter painter(&device);
    painter.scale(scale, scale);
    const qreal height = document.pageSize().height();
    for (int i = 0; i < document.pageCount(); ++i) {
        if (i > 0) {
            device.newPage();
        }
        painter.save();
        painter.translate(0, -i * height);
        document.drawContents(&painter, QRectF(0, i * height, width, height));
        painter.restore();
    }
}

} // namespace

void PaintReportPages(const QString& html, QPagedPaintDevice& device) {
    if (const std::optional<ReportTable> report = ReadReportHtml(html)) {
        PaintReportTable(*report, device);
    } else {
        PaintDocumentPages(html, device);
    }
}

} // namespace vastrel

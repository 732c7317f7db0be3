#include "print/ReportPainter.h"

#include <QAbstractTextDocumentLayout>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextDocument>

#include <algorithm>

namespace vastrel {

namespace {
// The report's text is 7 points; a narrow table grows to the page's width, up to 12 points, so
// that it stays easy to read from a notice board.
constexpr qreal kLargestScale = 12.0 / 7.0;
} // namespace

void PaintReportPages(const QString& html, QPagedPaintDevice& device) {
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

} // namespace vastrel

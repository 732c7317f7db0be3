#include "gui/ReportPreview.h"

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTextDocument>

using namespace Qt::StringLiterals;

namespace vastrel {

namespace {

// The report's text is 7 points; a narrow table (a day view) grows to the page's width, up to
// 12 points, so that it stays easy to read from a notice board.
constexpr qreal kLargestScale = 12.0 / 7.0;

// Lays the page out as wide as its table needs and scales it onto the paper, so that all
// columns of the full view fit across an A4 page and a day's few columns fill it; long tables
// go on over further pages.
void PaintReport(const QString& html, QPrinter* printer) {
    QTextDocument document;
    document.setDocumentMargin(0);
    document.setHtml(html);
    document.documentLayout()->setPaintDevice(printer);
    const QRectF page = printer->pageRect(QPrinter::DevicePixel);
    document.setPageSize(QSizeF(page.width() * 4, page.height()));
    const qreal scale = std::min(page.width() / std::max<qreal>(document.idealWidth(), 1), kLargestScale);
    const qreal width = page.width() / scale;
    document.setPageSize(QSizeF(width, page.height() / scale));
    QPainter painter(printer);
    painter.scale(scale, scale);
    const qreal height = document.pageSize().height();
    for (int i = 0; i < document.pageCount(); ++i) {
        if (i > 0) {
            printer->newPage();
        }
        painter.save();
        painter.translate(0, -i * height);
        document.drawContents(&painter, QRectF(0, i * height, width, height));
        painter.restore();
    }
}

} // namespace

void ShowReportPreview(QWidget* parent, const QString& htmlPath) {
    QFile file(htmlPath);
    if (!file.open(QIODevice::ReadOnly)) {
        return;
    }
    const QString html = QString::fromUtf8(file.readAll());
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                      QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter));
    printer.setDocName(u"Vastrel"_s);
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setWindowTitle(u"Druckvorschau"_s);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&html](QPrinter* target) { PaintReport(html, target); });
    dialog.resize(1100, 780);
    dialog.exec();
}

} // namespace vastrel

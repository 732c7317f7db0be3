#include "print/PdfDocuments.h"

#include "print/ReportPainter.h"
#include "system/FileHelpers.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>

namespace vastrel {

namespace {

constexpr int kResolution = 300; // dots per inch of the drawn pages

void Prepare(QPdfWriter& pdf, const QString& title, QPageLayout::Orientation orientation) {
    pdf.setTitle(title);
    pdf.setCreator(QStringLiteral("Vastrel"));
    pdf.setResolution(kResolution);
    pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), orientation, QMarginsF(12, 12, 12, 12),
                                  QPageLayout::Millimeter));
}

} // namespace

bool WriteReportPdf(const QString& html, const QString& path, const QString& title, QString* errorMessage) {
    QBuffer bytes;
    bytes.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&bytes);
        Prepare(pdf, title, QPageLayout::Landscape);
        PaintReportPages(html, pdf);
    }
    return WriteFileAtomically(path, bytes.data(), errorMessage);
}

bool QtPdfOutput::WriteCertificates(const QStringList& htmlPages, const QString& path, const QString& title,
                                    QString* errorMessage) {
    QBuffer bytes;
    bytes.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&bytes);
        Prepare(pdf, title, QPageLayout::Portrait);
        QPainter painter(&pdf);
        const QRectF page = pdf.pageLayout().paintRectPixels(kResolution);
        for (qsizetype i = 0; i < htmlPages.size(); ++i) {
            if (i > 0) {
                pdf.newPage();
            }
            // Each certificate on a page of its own, scaled down should one be too long for it.
            QTextDocument document;
            document.setDocumentMargin(0);
            document.documentLayout()->setPaintDevice(&pdf);
            document.setHtml(htmlPages.at(i));
            document.setTextWidth(page.width());
            const qreal scale =
                std::min<qreal>(1.0, page.height() / std::max<qreal>(document.size().height(), 1));
            painter.save();
            painter.scale(scale, scale);
            document.drawContents(&painter, QRectF(0, 0, page.width() / scale, page.height() / scale));
            painter.restore();
        }
    }
    return WriteFileAtomically(path, bytes.data(), errorMessage);
}

} // namespace vastrel

#include "gui/ReportPreview.h"

#include "print/PdfDocuments.h"
#include "print/ReportPainter.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPageLayout>
#include <QPageSize>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTextDocument>
#include <QToolBar>

using namespace Qt::StringLiterals;

namespace vastrel {

namespace {

// The competition's title, as the report page names it.
QString TitleOf(const QString& html) {
    QTextDocument document;
    document.setHtml(html);
    const QString title = document.metaInformation(QTextDocument::DocumentTitle);
    return title.isEmpty() ? u"Vastrel"_s : title;
}

void SaveAsPdf(QWidget* parent, const QString& html, const QString& htmlPath) {
    const QString path = QFileDialog::getSaveFileName(parent, u"Bericht als PDF speichern"_s,
                                                      QFileInfo(htmlPath).dir().filePath(u"Bericht.pdf"_s),
                                                      u"PDF-Datei (*.pdf)"_s);
    if (path.isEmpty()) {
        return;
    }
    QString error;
    if (!WriteReportPdf(html, path, TitleOf(html), &error)) {
        QMessageBox::warning(parent, u"Druckvorschau"_s, error);
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
    printer.setDocName(TitleOf(html));
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setWindowTitle(u"Druckvorschau"_s);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&html](QPrinter* target) { PaintReportPages(html, *target); });
    if (auto* tools = dialog.findChild<QToolBar*>()) {
        QAction* pdf = tools->addAction(u"als PDF speichern …"_s);
        pdf->setObjectName(u"saveReportPdf"_s);
        QObject::connect(pdf, &QAction::triggered, &dialog, [&] { SaveAsPdf(&dialog, html, htmlPath); });
    }
    dialog.resize(1100, 780);
    dialog.exec();
}

} // namespace vastrel

#include "gui/ReportPreview.h"

#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTextDocument>

using namespace Qt::StringLiterals;

namespace vastrel {

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
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&html](QPrinter* target) {
        QTextDocument document;
        document.setHtml(html);
        document.print(target);
    });
    dialog.resize(1100, 780);
    dialog.exec();
}

} // namespace vastrel

#include "gui/ReportPreview.h"

#include "formats/ReportPage.h"
#include "print/PdfDocuments.h"
#include "print/ReportPainter.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPageLayout>
#include <QPageSize>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>
#include <QStandardPaths>
#include <QTextDocument>
#include <QToolBar>

#include <optional>
#include <utility>

using namespace Qt::StringLiterals;

namespace vastrel {

namespace {

// The competition's title, as the report page names it.
QString TitleOf(const QString& html) {
    const std::optional<ReportTable> report = ReadReportHtml(html);
    QString title;
    if (report) {
        title = report->titles.title;
    } else {
        QTextDocument document;
        document.setHtml(html);
        title = document.metaInformation(QTextDocument::DocumentTitle);
    }
    return title.isEmpty() ? u"Vastrel"_s : title;
}

void SaveAsPdf(QWidget* parent, const QString& html) {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
        folder = QDir::homePath();
    }
    const QString path =
        QFileDialog::getSaveFileName(parent, u"Bericht als PDF speichern"_s,
                                     QDir(folder).filePath(u"Bericht.pdf"_s), u"PDF-Datei (*.pdf)"_s);
    if (path.isEmpty()) {
        return;
    }
    QString error;
    if (!WriteReportPdf(html, path, TitleOf(html), &error)) {
        QMessageBox::warning(parent, u"Druckvorschau"_s, error);
        return;
    }
    QMessageBox::information(
        parent, u"Druckvorschau"_s,
        u"Der Bericht wurde in die Datei \"%1\" geschrieben."_s.arg(QDir::toNativeSeparators(path)));
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
    // The pages are drawn before the dialog shows: the pointer says so until the first are there.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    bool waiting = true;
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&](QPrinter* target) {
        PaintReportPages(html, *target);
        if (std::exchange(waiting, false)) {
            QApplication::restoreOverrideCursor();
        }
    });
    if (auto* tools = dialog.findChild<QToolBar*>()) {
        QAction* pdf = tools->addAction(u"als PDF speichern …"_s);
        pdf->setObjectName(u"saveReportPdf"_s);
        QObject::connect(pdf, &QAction::triggered, &dialog, [&] { SaveAsPdf(&dialog, html); });
    }
    // Never taller or wider than the screen's room (a laptop's 768 pixels less the panel).
    QSize size(1100, 780);
    if (const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen()) {
        const QRect room = screen->availableGeometry();
        size = size.boundedTo(room.size() - QSize(16, 48)); // the window's frame and title
        dialog.move(room.topLeft() + QPoint((room.width() - size.width()) / 2, 8));
    }
    dialog.resize(size);
    dialog.exec();
    if (waiting) {
        QApplication::restoreOverrideCursor();
    }
}

} // namespace vastrel

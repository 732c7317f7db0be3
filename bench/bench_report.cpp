// The report as the user gets it: the page of the selected rows drawn onto A4 pages, as the PDF
// file and in the print preview.
#include "BenchData.h"
#include "formats/ReportPage.h"
#include "print/PdfDocuments.h"
#include "print/ReportPainter.h"

#include <QApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

using namespace vastrel;
using namespace vastrel::bench;

QString ReportOf(int rows) {
    ResultTable table;
    DefineColumns(table, [](const QString& t) { return t.size() * 100.0; });
    for (int i = 1; i <= rows; ++i) {
        table.AddRow(CompetitorRow(i));
    }
    TableView view(table);
    view.SelectRows(1, rows);
    std::vector<int> places(static_cast<std::size_t>(rows));
    for (int i = 0; i < rows; ++i) {
        places[static_cast<std::size_t>(i)] = i + 1;
    }
    return ReportHtml(view, places, {u"Stadtlauf 2026"_s, u"Stadtlauf 2026 - alles"_s});
}

void BM_ReportPdf(benchmark::State& state) {
    const QString html = ReportOf(static_cast<int>(state.range(0)));
    QTemporaryDir dir;
    for (auto _ : state) {
        QString error;
        if (!WriteReportPdf(html, dir.filePath(u"Bericht.pdf"_s), u"Stadtlauf"_s, &error)) {
            state.SkipWithError("not written");
        }
    }
}
BENCHMARK(BM_ReportPdf)->Arg(300)->Arg(1000)->Arg(3000)->Unit(benchmark::kMillisecond)->Iterations(3);

// The print preview as the user waits for it: the dialog shown with its pages drawn.
void BM_ReportPreview(benchmark::State& state) {
    const QString html = ReportOf(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                          QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter));
        QPrintPreviewDialog dialog(&printer);
        QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                         [&html](QPrinter* target) { PaintReportPages(html, *target); });
        dialog.resize(1100, 700);
        dialog.show();
        QApplication::processEvents();
        dialog.hide();
    }
}
BENCHMARK(BM_ReportPreview)->Arg(300)->Arg(3000)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    ::benchmark::Initialize(&argc, argv);
    ::benchmark::RunSpecifiedBenchmarks();
    return 0;
}

#include "app/PrintReport.h"

#include "formats/ReportPage.h"
#include "ports/MainWindowState.h"
#include "ports/Ui.h"
#include "table/CompetitionLayout.h"
#include "table/ResultTable.h"

#include <QDir>

#include <array>

using namespace Qt::StringLiterals;

namespace vastrel {

namespace {

// Deletes the normal files of the report folder; answers whether there were any.
bool DeleteReportFiles(const QString& reportFolder) {
    QDir folder(reportFolder);
    const QStringList files = folder.entryList(QDir::Files);
    for (const QString& file : files) {
        folder.remove(file);
    }
    return !files.isEmpty();
}

} // namespace

void CleanReportFolder(const QString& reportFolder) {
    DeleteReportFiles(reportFolder);
}

void PrintReport(ResultTable& table, Ui& ui, const MainWindowState& state, const QString& reportFolder) {
    if (DeleteReportFiles(reportFolder)) {
        table.ResetReport();
    }
    table.LockUpdate(true);
    std::array<bool, kShortReportLeftOutKeys.size()> wasVisible{};
    if (state.shortPrint) {
        for (std::size_t i = 0; i < kShortReportLeftOutKeys.size(); ++i) {
            wasVisible[i] = table.Visible(kShortReportLeftOutKeys[i]);
            table.SetVisible(kShortReportLeftOutKeys[i], false);
        }
    }
    table.SetReportTitle(state.baseCaption);
    table.SetReportCaption(table.Caption());
    table.SetReportOptionA(true);
    table.SetReportOptionB(true);
    table.SetLayoutValue(0);
    QDir().mkpath(reportFolder);
    const QString page = reportFolder + u"/report.htm"_s;
    if (WriteReport(table, page)) {
        ui.ShowReport(page);
    }
    if (state.shortPrint) {
        // Each column gets back what it had: the hidden "lNr", "Nr" and "Bemerkung" stay hidden.
        for (std::size_t i = 0; i < kShortReportLeftOutKeys.size(); ++i) {
            table.SetVisible(kShortReportLeftOutKeys[i], wasVisible[i]);
        }
    }
    table.Refresh();
    table.SetCurrentRow(1);
    table.LockUpdate(false);
}

} // namespace vastrel

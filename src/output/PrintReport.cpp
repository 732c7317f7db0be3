#include "output/PrintReport.h"

#include "app/MainWindowState.h"
#include "app/Ui.h"
#include "output/ReportPage.h"
#include "system/ProgramFolder.h"
#include "table/ResultTable.h"

#include <QDir>

#include <array>

using namespace Qt::StringLiterals;

namespace vastrel {

namespace {

constexpr std::array<const char16_t*, 6> kPersonalColumns = {u"Datum", u"lNr", u"Nr",
                                                             u"geb.",  u"AF",  u"Bemerkung"};

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

QString ReportFolder() {
    return WritableProgramFolder() + u"/report"_s;
}

void CleanReportFolder(const QString& reportFolder) {
    DeleteReportFiles(reportFolder);
}

void PrintReport(ResultTable& table, Ui& ui, const MainWindowState& state, const QString& reportFolder) {
    if (DeleteReportFiles(reportFolder)) {
        table.ResetReport();
    }
    table.LockUpdate(true);
    std::array<bool, kPersonalColumns.size()> wasVisible{};
    if (state.shortPrint) {
        for (std::size_t i = 0; i < kPersonalColumns.size(); ++i) {
            wasVisible[i] = table.Visible(kPersonalColumns[i]);
            table.SetVisible(kPersonalColumns[i], false);
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
        for (std::size_t i = 0; i < kPersonalColumns.size(); ++i) {
            table.SetVisible(kPersonalColumns[i], wasVisible[i]);
        }
    }
    table.Refresh();
    table.SetCurrentRow(1);
    table.LockUpdate(false);
}

} // namespace vastrel

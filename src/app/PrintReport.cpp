#include "app/PrintReport.h"

#include "formats/ReportPage.h"
#include "ports/MainWindowState.h"
#include "ports/Ui.h"
#include "scoring/Ranking.h"
#include "table/CompetitionLayout.h"
#include "table/ResultTable.h"
#include "table/TableView.h"

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

// The table as the report sees it, for as long as it lives: the short report's columns hidden,
// the layout value of the report; each column gets back the visibility it had.
class ReportLayout {
public:
    ReportLayout(ResultTable& table, const MainWindowState& state) : table_(table), hide_(state.shortPrint) {
        if (hide_) {
            for (std::size_t i = 0; i < kShortReportLeftOutKeys.size(); ++i) {
                wasVisible_[i] = table.Visible(kShortReportLeftOutKeys[i]);
                table.SetVisible(kShortReportLeftOutKeys[i], false);
            }
        }
        titles_ = {state.baseCaption, table.Caption()};
        table.SetLayoutValue(0);
        // The places of the points the list shows: the day's sum in a day view, else the total.
        const QStringView placesBy =
            state.dayView >= 1 && state.dayView <= kDayCount
                ? QStringView(kDaySumKeys[static_cast<std::size_t>(state.dayView - 1)])
                : QStringView(kTotalKey);
        places_ = PlacesByPoints(table, placesBy);
    }
    ~ReportLayout() {
        if (hide_) {
            // The hidden "lNr", "Nr" and "Bemerkung" stay hidden.
            for (std::size_t i = 0; i < kShortReportLeftOutKeys.size(); ++i) {
                table_.SetVisible(kShortReportLeftOutKeys[i], wasVisible_[i]);
            }
        }
    }
    ReportLayout(const ReportLayout&) = delete;
    ReportLayout& operator=(const ReportLayout&) = delete;
    const std::vector<int>& Places() const { return places_; }
    const ReportTitles& Titles() const { return titles_; }

private:
    ResultTable& table_;
    ReportTitles titles_;
    bool hide_;
    std::array<bool, kShortReportLeftOutKeys.size()> wasVisible_{};
    std::vector<int> places_;
};

} // namespace

QString BuildReportPage(TableView& view, const MainWindowState& state) {
    const ReportLayout layout(view.Table(), state);
    return ReportHtml(view, layout.Places(), layout.Titles());
}

void CleanReportFolder(const QString& reportFolder) {
    DeleteReportFiles(reportFolder);
}

void PrintReport(TableView& view, Ui& ui, const MainWindowState& state, const QString& reportFolder) {
    ResultTable& table = view.Table();
    DeleteReportFiles(reportFolder);
    table.LockUpdate(true);
    {
        const ReportLayout layout(table, state);
        QDir().mkpath(reportFolder);
        const QString page = reportFolder + u"/report.htm"_s;
        if (WriteReport(view, layout.Places(), layout.Titles(), page)) {
            ui.ShowReport(page);
        }
    }
    table.Refresh();
    view.SetCurrentRow(1);
    table.LockUpdate(false);
}

} // namespace vastrel

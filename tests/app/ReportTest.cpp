#include "GTestPrinters.h"
#include "ScriptedUi.h"
#include "app/PrintReport.h"
#include "app/ViewCommands.h"
#include "formats/ReportPage.h"
#include "ports/MainWindowState.h"
#include "table/ColumnModel.h"
#include "table/ResultTable.h"
#include "table/TableView.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace vastrel;
using namespace vastrel::testing;

namespace {

class ReportTest : public ::testing::Test {
protected:
    ReportTest() {
        DefineColumns(table, [](const QString& t) { return t.size() * 100.0; });
        for (const QString& row :
             {u"1\t2012\t1\tw\t101\tMeier, Anna\t1950\t0.7887\t\t\t\t\t\t\t\t\t12.0\t1040\t11:30.0\t"
              u"755\t2:50.0\t651\t2446"_s,
              u"1\t2012\t2\tm\t102\tSchulz & <Sohn>\t1980\t1.0000\tGast\t\t\t\t\t\t\t\t11.1\t951"_s,
              u"2\t2012\t3\tm\t103\tNicht gewählt"_s}) {
            table.AddRow(row);
        }
        view.SetRowSelected(1, true);
        view.SetRowSelected(2, true);
        state.baseCaption = u"Stadtlauf 2024"_s;
        table.SetCaption(state.baseCaption);
        folder = dir.filePath(u"report"_s);
    }
    QString Page() const {
        QFile f(folder + u"/report.htm"_s);
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }

    QTemporaryDir dir;
    QString folder;
    ScriptedUi ui;
    ResultTable table;
    TableView view{table};
    MainWindowState state;
};

TEST_F(ReportTest, TheDayTwoReportMatchesItsGoldenPage) {
    ShowDayView(table, state, ui, u"btnAnz2Tag"_s);
    PrintReport(view, ui, state, folder);
    QFile golden(QStringLiteral(VASTREL_TEST_DATA "/report_day2_expected.htm"));
    ASSERT_TRUE(golden.open(QIODevice::ReadOnly));
    EXPECT_EQ(Page(), QString::fromUtf8(golden.readAll()));
    EXPECT_EQ(ui.ShownReports(), QStringList{folder + u"/report.htm"_s});
}

// The page is read back for printing as it was written; a page of another hand is not taken for
// one of ours (it is then laid out as HTML).
TEST_F(ReportTest, ThePageReadsBackAsItWasWritten) {
    table.SetCellText(1, u"Bemerkung", u"zwei\nZeilen"_s);
    table.SetCellText(2, u"Bemerkung", u"\"Gast\" & <b>Freund</b> ü"_s);
    const ReportTable report = ReportTableOf(view, {1, 0}, {u"Lauf & <Spaß>"_s, u"Lauf - alles"_s});
    ASSERT_EQ(report.rows.size(), 2u);
    EXPECT_EQ(report.rows[0].first(), u"1."_s);
    EXPECT_EQ(report.rows[1].first(), QString());
    EXPECT_EQ(ReadReportHtml(ReportHtml(report)), report);

    const QString page = ReportHtml(report);
    for (const QString& other : {u"<html><body><h1>Lauf</h1></body></html>"_s,
                                 QString(page).replace(u"<td align"_s, u"<td class=\"x\" align"_s),
                                 QString(page).replace(u"</tbody>"_s, QString()),
                                 QString(page).remove(page.lastIndexOf(u"<td"_s), 10)}) {
        EXPECT_EQ(ReadReportHtml(other), std::nullopt) << other.right(200).toStdString();
    }
}

// A title is one line: past 200 characters it is cut, the last one shown being "…".
TEST_F(ReportTest, ATitleLongerThanALineIsCut) {
    const QList<std::pair<QString, QString>> cases = {
        {QString(200, u'T'), QString(200, u'T')},
        {QString(201, u'T'), QString(199, u'T') + u"…"_s},
        {QString(1 << 20, u'&'), QString(199, u'&').replace(u"&"_s, u"&amp;"_s) + u"…"_s},
    };
    for (const auto& [title, shown] : cases) {
        state.baseCaption = title;
        table.SetCaption(title);
        PrintReport(view, ui, state, folder);
        const QString page = Page();
        EXPECT_TRUE(page.contains(u"<h1>"_s + shown + u"</h1>"_s)) << title.size();
        EXPECT_TRUE(page.contains(u"<title>"_s + shown + u"</title>"_s)) << title.size();
        EXPECT_LT(page.size(), 20000) << title.size();
    }
}

TEST_F(ReportTest, ShortPrintHidesThePersonalColumnsOnlyWhileTheReportIsWritten) {
    PrintReport(view, ui, state, folder);
    const QString page = Page();
    for (const QString& hidden : {u">Datum</th>"_s, u">geb.</th>"_s, u">AF</th>"_s, u"Gast"_s, u"0.7887"_s}) {
        EXPECT_FALSE(page.contains(hidden)) << hidden.toStdString();
    }
    EXPECT_TRUE(page.contains(u"<th align=\"left\" nowrap>Name, Vorname</th>"_s));
    EXPECT_TRUE(page.contains(u"Schulz &amp; &lt;Sohn&gt;"_s));
    EXPECT_FALSE(page.contains(u"Nicht gewählt"_s)); // not selected
    // Afterwards each column has what it had: the three hidden at start-up stay hidden.
    for (const char16_t* key : {u"Datum", u"geb.", u"AF"}) {
        EXPECT_TRUE(table.Visible(key));
    }
    for (const char16_t* key : {u"lNr", u"Nr", u"Bemerkung"}) {
        EXPECT_FALSE(table.Visible(key));
    }
    EXPECT_EQ(view.CurrentRow(), 1);
    EXPECT_EQ(table.LayoutValue(), 0);
    EXPECT_FALSE(table.IsLocked());
}

TEST_F(ReportTest, WithoutShortPrintThePersonalColumnsArePrinted) {
    state.shortPrint = false;
    PrintReport(view, ui, state, folder);
    EXPECT_TRUE(Page().contains(u"0.7887"_s));
}

TEST_F(ReportTest, TheReportFolderIsEmptiedFirstAndCreatedWhenMissing) {
    ASSERT_FALSE(QDir(folder).exists());
    PrintReport(view, ui, state, folder);
    EXPECT_TRUE(QFile::exists(folder + u"/report.htm"_s));
    QFile stale(folder + u"/alt.htm"_s);
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.close();
    PrintReport(view, ui, state, folder);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{u"report.htm"_s});
    CleanReportFolder(folder);
    EXPECT_TRUE(QDir(folder).entryList(QDir::Files).isEmpty());
    CleanReportFolder(dir.filePath(u"gibt-es-nicht"_s)); // nothing there, nothing happens
}

} // namespace

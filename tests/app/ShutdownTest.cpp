#include "app/Shutdown.h"
#include "FakeToolbar.h"
#include "GTestPrinters.h"
#include "ScriptedUi.h"
#include "app/DatabaseCommands.h"
#include "app/WebHelp.h"
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

class ShutdownTest : public ::testing::Test {
protected:
    ShutdownTest() : database(view, ui, toolbar, state, dir.path()) {
        DefineColumns(table, [](const QString& t) { return t.size() * 100.0; });
        AppendEmptyRow(table, view);
        report = dir.filePath(u"report"_s);
        QDir().mkpath(report);
        QFile page(report + u"/report.htm"_s);
        EXPECT_TRUE(page.open(QIODevice::WriteOnly));
    }
    bool ReportLeft() const { return QFile::exists(report + u"/report.htm"_s); }

    QTemporaryDir dir;
    QString report;
    ScriptedUi ui;
    ResultTable table;
    TableView view{table};
    FakeToolbar toolbar;
    MainWindowState state;
    DatabaseCommands database;
};

TEST_F(ShutdownTest, CancelGoesOnAndLeavesTheReportFolder) {
    ui.AnswerBox(MessageAnswer::Cancel);
    EXPECT_EQ(EndProgram(ui, database, report), EndDecision::Stay);
    ASSERT_EQ(ui.Boxes().size(), 1u);
    EXPECT_EQ(ui.Boxes()[0].text, u"Soll die vorhandene Datenbank vor dem Beenden gesichert werden?"_s);
    EXPECT_EQ(ui.Boxes()[0].title, u"Zeverovavadiro"_s);
    EXPECT_EQ(ui.Boxes()[0].buttons, MessageButtons::YesNoCancel);
    EXPECT_EQ(ui.Boxes()[0].icon, MessageIcon::Question);
    EXPECT_TRUE(ReportLeft());
}

TEST_F(ShutdownTest, NoEndsAndCleansTheReportFolder) {
    ui.AnswerBox(MessageAnswer::No);
    EXPECT_EQ(EndProgram(ui, database, report), EndDecision::End);
    EXPECT_FALSE(ReportLeft());
    EXPECT_TRUE(QDir(report).exists()); // the folder stays, its files go
}

TEST_F(ShutdownTest, YesWithACancelledSaveKeepsTheProgramRunning) {
    ui.AnswerBox(MessageAnswer::Yes);
    ui.AnswerFileDialog({});
    EXPECT_EQ(EndProgram(ui, database, report), EndDecision::Stay);
    EXPECT_EQ(ui.FileDialogs().at(0).title, u"Datenbank speichern"_s);
    EXPECT_EQ(table.RowCount(), 1);
}

TEST_F(ShutdownTest, YesWithAFailedSaveKeepsTheProgramRunning) {
    ui.AnswerBox(MessageAnswer::Yes);
    ui.AnswerFileDialog({dir.filePath(u"fehlt/Lauf.csv"_s), 2});
    ui.AnswerBox(); // the failure message
    EXPECT_EQ(EndProgram(ui, database, report), EndDecision::Stay);
}

TEST_F(ShutdownTest, YesWithASaveEnds) {
    ui.AnswerBox(MessageAnswer::Yes);
    ui.AnswerFileDialog({dir.filePath(u"Lauf"_s), 2});
    EXPECT_EQ(EndProgram(ui, database, report), EndDecision::End);
    EXPECT_TRUE(QFile::exists(dir.filePath(u"Lauf.csv"_s)));
}

TEST_F(ShutdownTest, TheCloseButtonAsksWithYesAndNoOnlyAndNoIcon) {
    ui.AnswerBox(MessageAnswer::No);
    EXPECT_EQ(CloseWindow(ui, database, report), EndDecision::End);
    EXPECT_EQ(ui.Boxes()[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(ui.Boxes()[0].icon, MessageIcon::None);
    EXPECT_EQ(ui.Boxes()[0].title, u"Zeverovavadiro"_s);
}

TEST_F(ShutdownTest, AnEmptyOrMissingReportFolderIsNoProblem) {
    ui.AnswerBox(MessageAnswer::No);
    EXPECT_EQ(EndProgram(ui, database, dir.filePath(u"gibt-es-nicht"_s)), EndDecision::End);
}

TEST(WebHelp, StartsTheRegisteredBrowserWithTheHomePageAndRemovesTheHelpFile) {
    QTemporaryDir dir;
    ScriptedUi ui;
    QString askedAbout;
    bool fileExistedWhenAsked = false;
    QString started;
    QStringList arguments;
    ShowWebHelp(
        ui, dir.path(),
        [&](const QString& file) {
            askedAbout = file;
            QFile page(file);
            fileExistedWhenAsked = page.open(QIODevice::ReadOnly) && page.readAll() == "\r\n";
            return u"/usr/bin/browser"_s;
        },
        [&](const QString& program, const QStringList& args) {
            started = program;
            arguments = args;
            return true;
        });
    EXPECT_EQ(askedAbout, dir.filePath(u"vst.htm"_s));
    EXPECT_TRUE(fileExistedWhenAsked);
    EXPECT_FALSE(QFile::exists(askedAbout));
    EXPECT_EQ(started, u"/usr/bin/browser"_s);
    EXPECT_EQ(arguments, QStringList{u"www.vastrel.example"_s});
}

TEST(WebHelp, WithoutABrowserTheProgramSaysSoAndGoesOn) {
    QTemporaryDir dir;
    ScriptedUi ui;
    ui.AnswerBox();
    bool startedAnything = false;
    ShowWebHelp(
        ui, dir.path(), [](const QString&) { return QString(); },
        [&](const QString&, const QStringList&) { return startedAnything = true; });
    EXPECT_FALSE(startedAnything);
    EXPECT_EQ(ui.BoxTexts(), QStringList{u"Es ist kein Webbrowser eingerichtet, der Webseiten öffnet.\r\n"
                                         u"Die Seite www.vastrel.example kann nicht angezeigt werden."_s});
    EXPECT_FALSE(QFile::exists(dir.filePath(u"vst.htm"_s)));
}

TEST(WebHelp, ABrowserThatWillNotStartIsReported) {
    QTemporaryDir dir;
    ScriptedUi ui;
    ui.AnswerBox();
    ShowWebHelp(
        ui, dir.path(), [](const QString&) { return u"/nicht/da"_s; },
        [](const QString&, const QStringList&) { return false; });
    ASSERT_EQ(ui.Boxes().size(), 1u);
    EXPECT_TRUE(ui.Boxes()[0].text.startsWith(u"Der Webbrowser \"/nicht/da\" ließ sich nicht starten."_s));
}

} // namespace

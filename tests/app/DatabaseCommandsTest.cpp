#include "app/DatabaseCommands.h"
#include "FakeToolbar.h"
#include "GTestPrinters.h"
#include "ScriptedUi.h"
#include "ports/MainWindowState.h"
#include "ports/Settings.h"
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

class DatabaseCommandsTest : public ::testing::Test {
protected:
    DatabaseCommandsTest() : commands(view, ui, toolbar, state, dir.path()) {
        DefineColumns(table, [](const QString& t) { return t.size() * 100.0; });
        AppendEmptyRow(table, view);
        table.SetCellText(1, u"Name Vorname", u"Müller, Jörg"_s);
        table.SetCellText(1, u"Gesamt", u"933"_s);
    }
    QString Path(const QString& name) const { return dir.filePath(name); }
    QByteArray Read(const QString& name) const {
        QFile f(Path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir dir;
    ScriptedUi ui;
    ResultTable table;
    TableView view{table};
    FakeToolbar toolbar;
    MainWindowState state;
    DatabaseCommands commands;
};

TEST_F(DatabaseCommandsTest, SaveBeforeAnySaveAsOpensTheSaveDialog) {
    ui.AnswerFileDialog({});
    commands.SaveDatabase();
    ASSERT_EQ(ui.FileDialogs().size(), 1u);
    const FileDialogRequest& request = ui.FileDialogs()[0];
    EXPECT_EQ(request.title, u"Datenbank speichern"_s);
    EXPECT_EQ(request.filter, u"fil-Datei (*.fil)|*.fil|csv-Datei (*.csv)|*.csv|Excel-Datei (*.xls)|*.xls|"
                              u"xlsx-Datei (*.xlsx)|*.xlsx|"_s);
    EXPECT_EQ(request.filterIndex, 1);
    EXPECT_TRUE(request.fileName.isEmpty());
    EXPECT_FALSE(request.initialFolder.isEmpty());
    EXPECT_TRUE(state.saveFileName.isEmpty());
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
}

TEST_F(DatabaseCommandsTest, SaveAsCsvThenSaveWritesTheSameFileAgain) {
    ui.AnswerFileDialog({Path(u"Lauf"_s), 2});
    EXPECT_TRUE(commands.SaveDatabaseAs());
    EXPECT_EQ(state.saveFileName, Path(u"Lauf.csv"_s));
    EXPECT_EQ(state.saveFormat, SaveFormat::Csv);
    EXPECT_EQ(toolbar.captions.value(u"btnDbSpeichern"_s), u"speichern [csv]"_s);
    EXPECT_TRUE(Read(u"Lauf.csv"_s).startsWith("Lauf;Datum;lNr;mw;"));
    EXPECT_EQ(ui.StatusText(StatusPanel::File), Path(u"Lauf.csv"_s) + u" gespeichert  "_s);

    table.SetCellText(1, u"Gesamt", u"1000"_s);
    commands.SaveDatabase(); // no dialog this time
    EXPECT_EQ(ui.FileDialogs().size(), 1u);
    EXPECT_TRUE(Read(u"Lauf.csv"_s).contains(";1000\r\n"));
}

TEST_F(DatabaseCommandsTest, TheExtensionFollowsTheChosenFormat) {
    ui.AnswerFileDialog({Path(u"Lauf.txt"_s), 3});
    commands.SaveDatabaseAs();
    EXPECT_TRUE(Read(u"Lauf.xls"_s).startsWith("\xD0\xCF\x11\xE0"));
    EXPECT_EQ(toolbar.captions.value(u"btnDbSpeichern"_s), u"speichern [xls]"_s);

    ASSERT_TRUE(QDir(dir.path()).mkdir(u"Wettkampf.2024"_s));
    ui.AnswerFileDialog({Path(u"Wettkampf.2024/Lauf"_s), 1});
    commands.SaveDatabaseAs();
    EXPECT_TRUE(QFile::exists(Path(u"Wettkampf.2024/Lauf.fil"_s)));
    EXPECT_EQ(toolbar.captions.value(u"btnDbSpeichern"_s), u"speichern [fil]"_s);
    EXPECT_EQ(ui.FileDialogs()[1].filterIndex, 3); // the last format is preselected
}

TEST_F(DatabaseCommandsTest, CancellingTheSaveDialogWritesNothingAndForgetsTheTarget) {
    ui.AnswerFileDialog({Path(u"Lauf"_s), 2});
    commands.SaveDatabaseAs();
    ui.AnswerFileDialog({QString(), 0});
    EXPECT_FALSE(commands.SaveDatabaseAs());
    EXPECT_TRUE(state.saveFileName.isEmpty());
    ui.AnswerFileDialog({});
    commands.SaveDatabase(); // asks again
    EXPECT_EQ(ui.FileDialogs().size(), 3u);
}

TEST_F(DatabaseCommandsTest, AFailedSaveIsReportedAndNotCalledSaved) {
    ui.AnswerFileDialog({Path(u"fehlt/Lauf.csv"_s), 2});
    ui.AnswerBox();
    EXPECT_FALSE(commands.SaveDatabaseAs());
    ASSERT_EQ(ui.Boxes().size(), 1u);
    EXPECT_EQ(ui.Boxes()[0].text,
              u"Die Datei \""_s + QDir::toNativeSeparators(Path(u"fehlt/Lauf.csv"_s)) +
                  u"\" konnte nicht geschrieben werden: Der Ordner ist nicht vorhanden."_s);
    EXPECT_EQ(ui.Boxes()[0].title, u"Datenbank speichern"_s);
    EXPECT_EQ(ui.Boxes()[0].icon, MessageIcon::Exclamation);
    EXPECT_FALSE(ui.StatusText(StatusPanel::File).endsWith(u" gespeichert  "_s));
}

TEST_F(DatabaseCommandsTest, ANameTheExtensionChangedIsNotOverwrittenUnasked) {
    QFile old(Path(u"Lauf.csv"_s));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("alt");
    old.close();
    ui.AnswerFileDialog({Path(u"Lauf.txt"_s), 2});
    ui.AnswerBox(MessageAnswer::No);
    EXPECT_FALSE(commands.SaveDatabaseAs());
    EXPECT_EQ(ui.Boxes()[0].text, u"Die Datei \""_s + QDir::toNativeSeparators(Path(u"Lauf.csv"_s)) +
                                      u"\" ist bereits vorhanden.\r\nSoll sie ersetzt werden?"_s);
    EXPECT_EQ(Read(u"Lauf.csv"_s), QByteArray("alt"));
}

TEST_F(DatabaseCommandsTest, OpeningAsksFirstWhenTheTableHoldsTwoRowsOrMore) {
    QFile csv(Path(u"anderer.csv"_s));
    ASSERT_TRUE(csv.open(QIODevice::WriteOnly));
    csv.write("Kopf\r\n2;2013;;w;;Neu, Anna\r\n");
    csv.close();

    ui.AnswerFileDialog({Path(u"anderer.csv"_s), 1});
    commands.OpenDatabase(); // one row: no question
    EXPECT_TRUE(ui.Boxes().empty());
    EXPECT_EQ(ui.FileDialogs()[0].title, u"Datenbank öffnen"_s);
    EXPECT_EQ(ui.FileDialogs()[0].filter, u"csv-Datei (*.csv)|*.csv|fil-Datei (*.fil)|*.fil|"_s);
    EXPECT_EQ(table.CellText(1, u"Name Vorname"), u"Neu, Anna"_s);
    EXPECT_EQ(ui.StatusText(StatusPanel::File), Path(u"anderer.csv"_s) + u" geladen  "_s);

    AppendEmptyRow(table, view);
    ui.AnswerFileDialog({Path(u"anderer.csv"_s), 1});
    ui.AnswerBox(MessageAnswer::No);
    commands.OpenDatabase();
    EXPECT_EQ(ui.BoxTexts(), QStringList{u"Soll die vorhandene Datenbank überschrieben werden?"_s});
    EXPECT_EQ(ui.Boxes()[0].title, u"Zeverovavadiro"_s);
    EXPECT_EQ(ui.Boxes()[0].buttons, MessageButtons::YesNoDefaultNo);
    EXPECT_EQ(table.RowCount(), 2); // kept
}

// "speichern" after "öffnen" writes the opened file, in its own format, never an earlier target.
TEST_F(DatabaseCommandsTest, OpeningMakesTheFileTheSaveTarget) {
    ui.AnswerFileDialog({Path(u"2023"_s), 2});
    commands.SaveDatabaseAs();
    const QByteArray before = Read(u"2023.csv"_s);
    QFile csv(Path(u"2024.csv"_s));
    ASSERT_TRUE(csv.open(QIODevice::WriteOnly));
    csv.write("Kopf\r\n2;2013;;w;;Neu, Anna\r\n");
    csv.close();
    ui.AnswerFileDialog({Path(u"2024.csv"_s), 1});
    commands.OpenDatabase();
    EXPECT_EQ(state.saveFormat, SaveFormat::Csv);
    EXPECT_EQ(toolbar.captions.value(u"btnDbSpeichern"_s), u"speichern [csv]"_s);
    commands.SaveDatabase();
    EXPECT_EQ(Read(u"2023.csv"_s), before);
    EXPECT_TRUE(Read(u"2024.csv"_s).startsWith("Lauf;Datum"));
    EXPECT_TRUE(Read(u"2024.csv"_s).contains("Neu, Anna"));
    EXPECT_EQ(ui.StatusText(StatusPanel::File),
              QDir::toNativeSeparators(Path(u"2024.csv"_s)) + u" gespeichert  "_s);

    ui.AnswerFileDialog({Path(u"eigen"_s), 1});
    commands.SaveDatabaseAs();
    ui.AnswerFileDialog({Path(u"eigen.fil"_s), 2});
    commands.OpenDatabase();
    EXPECT_EQ(state.saveFileName, Path(u"eigen.fil"_s));
    EXPECT_EQ(state.saveFormat, SaveFormat::Fil);
}

TEST_F(DatabaseCommandsTest, TheOwnFormatOpensAsItWasSaved) {
    table.SetCaption(u"Stadtlauf"_s);
    table.SetVisible(u"Bemerkung", true);
    ui.AnswerFileDialog({Path(u"Lauf"_s), 1});
    commands.SaveDatabaseAs();
    table.ClearTable(true);
    ui.AnswerFileDialog({Path(u"Lauf.fil"_s), 2});
    commands.OpenDatabase();
    EXPECT_EQ(table.ColumnCount(), 33);
    EXPECT_EQ(table.CellText(1, u"Name Vorname"), u"Müller, Jörg"_s);
    EXPECT_TRUE(table.CellFlag(1, u"Gesamt"));
    EXPECT_TRUE(table.Visible(u"Bemerkung"));
    EXPECT_EQ(table.Caption(), u"Stadtlauf"_s);
}

TEST_F(DatabaseCommandsTest, AFileThatCannotBeOpenedIsReportedAndNothingCountsAsLoaded) {
    ui.AnswerFileDialog({Path(u"fehlt.fil"_s), 2});
    ui.AnswerBox();
    commands.OpenDatabase();
    ASSERT_EQ(ui.Boxes().size(), 1u);
    EXPECT_TRUE(
        ui.Boxes()[0].text.endsWith(u"konnte nicht gelesen werden: Die Datei ist nicht vorhanden."_s));
    EXPECT_EQ(ui.StatusText(StatusPanel::File), QString());
    EXPECT_EQ(table.CellText(1, u"Name Vorname"), u"Müller, Jörg"_s);
}

// The menu lists the last five files opened or saved, newest first; one that has gone is left out,
// and choosing one opens it as "öffnen" would.
TEST_F(DatabaseCommandsTest, TheMenuListsTheLastFiveFilesAndOpensThem) {
    MemorySettings remembered;
    DatabaseCommands commands(view, ui, toolbar, state, dir.path(), &remembered);
    table.SetCellText(1, u"Name Vorname", QString()); // one row: opening asks nothing
    EXPECT_FALSE(toolbar.visibleItems.value(u"btnDbZuletzt1"_s, true));
    QStringList paths;
    for (int i = 1; i <= 7; ++i) {
        paths << dir.filePath(u"lauf%1.csv"_s.arg(i));
        QFile csv(paths.back());
        ASSERT_TRUE(csv.open(QIODevice::WriteOnly));
        csv.write("Kopf\r\n1;2012;;w;;L" + QByteArray::number(i) + "\r\n");
        csv.close();
        ASSERT_TRUE(commands.OpenFile(paths.back(), false));
    }
    ui.AnswerFileDialog({dir.filePath(u"neu"_s), 1});
    ASSERT_TRUE(commands.SaveDatabaseAs());
    QFile::remove(paths[5]);
    commands.ShowRecentFiles();
    const QStringList shown = {dir.filePath(u"neu.fil"_s), paths[6], paths[4], paths[3]};
    EXPECT_FALSE(toolbar.visibleItems.value(u"btnDbZuletzt5"_s));
    for (int i = 0; i < 4; ++i) {
        const QString key = u"btnDbZuletzt%1"_s.arg(i + 1);
        EXPECT_TRUE(toolbar.visibleItems.value(key)) << i;
        EXPECT_EQ(toolbar.captions.value(key), u"&%1 "_s.arg(i + 1) + QDir::toNativeSeparators(shown[i]))
            << i;
    }
    ASSERT_TRUE(commands.OpenRecentFile(2)); // lauf5.csv
    EXPECT_EQ(table.CellText(1, u"Name Vorname"), u"L5"_s);
    EXPECT_EQ(state.openedFile, paths[4]);
}

} // namespace

#include "app/LiveCommands.h"
#include "../app/FakeToolbar.h"
#include "EventLoop.h"
#include "HttpClient.h"
#include "ScriptedUi.h"
#include "table/ColumnModel.h"
#include "table/ResultTable.h"

#include <QDir>
#include <QFile>
#include <QTcpServer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace vastrel;
using namespace vastrel::testing;

namespace {

quint16 FreePort() {
    QTcpServer probe;
    EXPECT_TRUE(probe.listen(QHostAddress::Any));
    return probe.serverPort();
}

class LiveCommandsTest : public ::testing::Test {
protected:
    LiveCommandsTest() {
        EnsureApplication();
        DefineColumns(table, [](const QString& t) { return t.size() * 100.0; });
        table.AddRow(u"1\t2026\t1\tm\t101\tAdler, Bernd\t1950"_s);
    }
    ResultTable table;
    ScriptedUi ui;
    FakeToolbar toolbar;
    LiveCommands live{table, ui, toolbar};
};

// Started on a port, the page follows the table; its menu sets the final days and ends it.
TEST_F(LiveCommandsTest, TheResultsAreServedFromTheChosenPortAndFollowEveryChange) {
    const quint16 port = FreePort();
    ui.AnswerInput(QString::number(port));
    live.ServeItem();
    ASSERT_TRUE(live.Serving());
    EXPECT_TRUE(toolbar.ItemChecked(u"btnLiveErgebnisse"_s));
    ASSERT_EQ(ui.LiveResultsShown().size(), 1u);
    EXPECT_TRUE(ui.LiveResultsShown()[0].value(0).endsWith(u":%1"_s.arg(port)));
    EXPECT_EQ(ui.StatusText(StatusPanel::Four), u"Live: 0 Gerät(e) in der letzten Minute  "_s);
    EXPECT_TRUE(GetBody(port, "/results.json").contains(R"("name":"Adler, Bernd")"));

    table.SetCellText(1, u"60m"_s, u"7.9"_s);
    RunEventsFor(400);
    EXPECT_TRUE(GetBody(port, "/results.json").contains(R"("zeiten":["7.9")"));

    ui.AnswerChoice(1).AnswerInput(u"2, 1"_s);
    live.ServeItem();
    RunEventsFor(50);
    EXPECT_TRUE(GetBody(port, "/results.json").contains(R"("endgueltig":true,"strecken":[3,4,5],"tag":2)"));
    ui.AnswerChoice(1).AnswerInput(u"5"_s).AnswerBox(MessageAnswer::Ok);
    live.ServeItem();
    EXPECT_EQ(ui.Boxes().back().text, u"\"5\" nennt nicht nur Tage von 1 bis 4."_s);

    ui.AnswerChoice(2);
    live.ServeItem();
    EXPECT_FALSE(live.Serving());
    EXPECT_FALSE(toolbar.ItemChecked(u"btnLiveErgebnisse"_s));
    EXPECT_EQ(ui.StatusText(StatusPanel::Status), u"Die Live-Ergebnisse sind beendet.  "_s);
    EXPECT_TRUE(GetBody(port, "/").isEmpty());
}

TEST_F(LiveCommandsTest, APortThatCannotBeHadIsToldAndNothingIsServed) {
    QTcpServer taken;
    ASSERT_TRUE(taken.listen(QHostAddress::Any));
    for (const auto& [typed, told] :
         {std::pair{u"80"_s, u"\"80\" ist kein Port von 1024 bis 65535."_s},
          std::pair{u"acht"_s, u"\"acht\" ist kein Port von 1024 bis 65535."_s},
          std::pair{
              QString::number(taken.serverPort()),
              u"Der Port %1 ist schon belegt; bitte einen anderen wählen."_s.arg(taken.serverPort())}}) {
        ui.AnswerInput(typed).AnswerBox(MessageAnswer::Ok);
        live.ServeItem();
        EXPECT_EQ(ui.Boxes().back().text, told);
        EXPECT_FALSE(live.Serving());
    }
}

// The files are written at once and again a few seconds after a change; a folder that cannot be
// made is told once and writing ends.
TEST_F(LiveCommandsTest, TheFilesFollowAChangeAndAFolderThatFailsEndsWriting) {
    QTemporaryDir dir;
    ui.AnswerInput(dir.filePath(u"web"_s));
    live.FilesItem();
    EXPECT_TRUE(toolbar.ItemChecked(u"btnLiveDateien"_s));
    QFile json(dir.filePath(u"web/results.json"_s));
    ASSERT_TRUE(json.open(QIODevice::ReadOnly));
    EXPECT_TRUE(json.readAll().contains("Adler, Bernd"));
    json.close();
    table.SetCellText(1, u"Name Vorname"_s, u"Adler, Berndt"_s);
    RunEventsFor(3600);
    ASSERT_TRUE(json.open(QIODevice::ReadOnly));
    EXPECT_TRUE(json.readAll().contains("Adler, Berndt"));
    json.close();
    live.FilesItem();
    EXPECT_FALSE(toolbar.ItemChecked(u"btnLiveDateien"_s));

    QFile blocker(dir.filePath(u"datei"_s));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    ui.AnswerInput(dir.filePath(u"datei/web"_s)).AnswerBox(MessageAnswer::Ok);
    live.FilesItem();
    EXPECT_EQ(ui.Boxes().back().text,
              u"Der Ordner \"%1\" lässt sich nicht anlegen.\r\nDie Live-Ergebnisse werden nicht mehr als "
              u"Dateien geschrieben."_s.arg(dir.filePath(u"datei/web"_s)));
    EXPECT_FALSE(toolbar.ItemChecked(u"btnLiveDateien"_s));
    EXPECT_TRUE(live.Folder().isEmpty());
}

} // namespace

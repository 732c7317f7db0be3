#include "cli/CommandLine.h"
#include "GTestPrinters.h"
#include "cli/ConsoleUi.h"

#include "EventLoop.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace vastrel;
using namespace vastrel::testing;

namespace {

const QByteArray kHeader = QByteArrayLiteral(
    "Lauf;Datum;lNr;mw;Nr;Name Vorname;geb.;AF;Bemerkung;60m;Punkte1;1500m;Punkte2;400m;Punkte3;Summe1;"
    "100m;Punkte4;3000m;Punkte5;800m;Punkte6;Summe2;200m;Punkte7;5000m;Punkte8;1000m;Punkte9;Summe3;10km;"
    "Summe4;Gesamt\r\n");

class CommandLineTest : public ::testing::Test {
protected:
    int Run(const QStringList& arguments) {
        out.clear();
        errors.clear();
        QTextStream o(&out);
        QTextStream e(&errors);
        return RunCommandLine(arguments, o, e);
    }
    QString Path(const QString& name) const { return dir.filePath(name); }
    void Write(const QString& name, const QByteArray& bytes) {
        QFile f(Path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QStringList OutputLines(const QString& name) {
        QFile f(Path(name));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return QString::fromLatin1(f.readAll()).split(u'\n');
    }

    QTemporaryDir dir;
    QString out;
    QString errors;
};

TEST_F(CommandLineTest, HelpPrintsTheUsage) {
    EXPECT_EQ(Run({u"--help"_s}), kCliOk);
    EXPECT_TRUE(out.startsWith(
        u"Aufruf: vastrel-cli recalc [--age-factors=mit|ohne] [--replace] EINGABE AUSGABE\n"
        u"        vastrel-cli report [--tag 1|2|3|4] [--kurz] EINGABE AUSGABE.pdf|AUSGABE.htm\n"
        u"        vastrel-cli certificates [--tag 1|2|3|4] [--pdf] EINGABE ORDNER\n"_s));
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(CommandLineTest, AWrongCallExitsWithTwoAndTheUsage) {
    for (const QStringList& call :
         {QStringList{}, QStringList{u"rechne"_s}, QStringList{u"recalc"_s, u"a.csv"_s},
          QStringList{u"recalc"_s, u"--age-factors=alt"_s, u"a.csv"_s, u"b.csv"_s}}) {
        EXPECT_EQ(Run(call), kCliUsageError) << call.join(u' ').toStdString();
        EXPECT_TRUE(errors.startsWith(u"vastrel-cli: "_s));
        EXPECT_TRUE(errors.contains(u"Aufruf: vastrel-cli recalc"_s));
    }
}

TEST_F(CommandLineTest, ScoresEveryRowAndWritesTheTextExport) {
    Write(u"in.csv"_s, kHeader + "1;17.06.2012;;m;;Meier,Hans;1950;;;7.0\r\n"
                                 "1;2012;;w;;Schulz, Eva;1960;;;8;;;;;;;;;;;;;;50.0;;;;;;;0:35:12.0\n");
    EXPECT_EQ(Run({u"recalc"_s, u"--age-factors=ohne"_s, Path(u"in.csv"_s), Path(u"out.csv"_s)}), kCliOk)
        << errors.toStdString();
    EXPECT_TRUE(errors.isEmpty());
    const QStringList lines = OutputLines(u"out.csv"_s);
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(lines[1], u"1;2012;;w;;Schulz, Eva;1960;1.0000;;8.0;907;;;;;907;;;;;;;;50.0;40;;;;;40;"
                        u"0:35:12.0;1045;1992\r"_s);
    EXPECT_EQ(lines[2], u"1;2012;;m;;Meier, Hans;1950;1.0000;;7.0;933;;;;;933;;;;;;;;;;;;;;;;;933\r"_s);
}

TEST_F(CommandLineTest, MessagesGoToTheErrorStreamOneLineEachAndExitWithThree) {
    Write(u"in.csv"_s, kHeader + "1;2012;;x;;Ohne Geschlecht;1950;;;7.0\r\n"
                                 "1;2012;;m;;Meier, Hans;1950;1.0000;;7.0;;4:05.3\r\n");
    EXPECT_EQ(Run({u"recalc"_s, Path(u"in.csv"_s), Path(u"out.csv"_s)}), kCliMessagesShown);
    EXPECT_EQ(errors, u"Vorgabe Geschlecht: Vorgabe männlich oder weiblich fehlt! m/w?   \n"_s);
}

TEST_F(CommandLineTest, AnInputErrorStopsAsTheFullRecalculationDoes) {
    Write(u"in.csv"_s, kHeader + "1;2012;;m;;A;1950;1.0000;;7,0\r\n");
    EXPECT_EQ(Run({u"recalc"_s, Path(u"in.csv"_s), Path(u"out.csv"_s)}), kCliMessagesShown);
    EXPECT_EQ(errors, u"Vastrel: Eingabefehler in Zeile: 1\n"_s);
}

TEST_F(CommandLineTest, AFileThatCannotBeReadOrWrittenExitsWithOne) {
    EXPECT_EQ(Run({u"recalc"_s, Path(u"fehlt.csv"_s), Path(u"out.csv"_s)}), kCliFileError);
    EXPECT_TRUE(errors.contains(u"konnte nicht gelesen werden: Die Datei ist nicht vorhanden."_s))
        << errors.toStdString();
    EXPECT_FALSE(QFile::exists(Path(u"out.csv"_s)));

    Write(u"in.csv"_s, kHeader);
    EXPECT_EQ(Run({u"recalc"_s, Path(u"in.csv"_s), Path(u"kein/ordner.csv"_s)}), kCliFileError);
    EXPECT_TRUE(errors.contains(u"konnte nicht geschrieben werden: Der Ordner ist nicht vorhanden."_s))
        << errors.toStdString();
}

TEST_F(CommandLineTest, ImportTimesEntersIntoEmptyCellsAndReplacesOnlyWhenAsked) {
    Write(u"in.csv"_s, kHeader + "1;2012;;m;101;Meier, Hans;1950;1.0000;;7.0\r\n"
                                 "1;2012;;w;102;Schulz, Eva;1960;1.0000\r\n");
    Write(u"heat.lif"_s, "3,1,1,60m Frauen\r\n1,102,3,Schulz,Eva,,8.01\r\n2,101,4,Meier,Hans,,7.19\r\n");
    const QStringList call = {u"import-times"_s,   u"--distance"_s,   u"60m"_s,
                              Path(u"heat.lif"_s), Path(u"in.csv"_s), Path(u"out.csv"_s)};
    EXPECT_EQ(Run(call), kCliMessagesShown);
    EXPECT_EQ(out, Path(u"heat.lif"_s) +
                       u":\n60m: 1 Zeit(en) einzutragen, 1 ersetzen eine andere, 0 unverändert.\n"
                       u"Ersetzt werden:\n  Nr 101 Meier, Hans: 7.0 → 7.2\n"_s);
    EXPECT_TRUE(errors.startsWith(u"Vastrel: Nicht jede Zeile der Zeitendateien wurde eingetragen"_s));
    QStringList lines = OutputLines(u"out.csv"_s);
    ASSERT_GE(lines.size(), 3);
    EXPECT_TRUE(lines[1].startsWith(u"1;2012;;m;101;Meier, Hans;1950;1.0000;;7.0;"_s))
        << lines[1].toStdString();
    EXPECT_TRUE(lines[2].startsWith(u"1;2012;;w;102;Schulz, Eva;1960;1.0000;;8.1;"_s))
        << lines[2].toStdString();

    EXPECT_EQ(Run(call.mid(0, 3) + QStringList{u"--replace"_s} + call.mid(3)), kCliOk)
        << errors.toStdString();
    lines = OutputLines(u"out.csv"_s);
    EXPECT_TRUE(lines[1].startsWith(u"1;2012;;m;101;Meier, Hans;1950;1.0000;;7.2;"_s))
        << lines[1].toStdString();
    EXPECT_EQ(Run({u"import-times"_s, u"--distance"_s, u"Weitsprung"_s, Path(u"heat.lif"_s),
                   Path(u"in.csv"_s), Path(u"out.csv"_s)}),
              kCliUsageError);
}

// What the tool serves at a path, once its port answers.
QByteArray Fetch(quint16 port, const QByteArray& path) {
    QTcpSocket socket;
    for (int tries = 0; tries < 100 && socket.state() != QAbstractSocket::ConnectedState; ++tries) {
        socket.connectToHost(u"127.0.0.1"_s, port);
        if (!socket.waitForConnected(100)) {
            socket.abort();
            QThread::msleep(50);
        }
    }
    socket.write("GET " + path + " HTTP/1.1\r\nHost: a\r\nConnection: close\r\n\r\n");
    QByteArray answer;
    while (socket.waitForReadyRead(3000)) {
        answer += socket.readAll();
    }
    return answer.mid(answer.indexOf("\r\n\r\n") + 4);
}

// serve follows the file: a time saved into it is in the results a moment later; publish writes
// the page's files once; a wrong call is told.
TEST_F(CommandLineTest, ServeFollowsTheFileAndPublishWritesThePage) {
    EnsureApplication();
    Write(u"in.csv"_s, kHeader + "1;2012;;m;101;Meier, Hans;1950;1.0000;geheim;7.0;1000\r\n");
    QTcpServer probe; // a free port
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost));
    const quint16 port = probe.serverPort();
    probe.close();
    QProcess serve;
    serve.start(QStringLiteral(VASTREL_CLI),
                {u"serve"_s, Path(u"in.csv"_s), u"--port"_s, QString::number(port), u"--bind"_s,
                 u"127.0.0.1"_s, u"--final"_s, u"1"_s});
    ASSERT_TRUE(serve.waitForStarted());
    const QByteArray before = Fetch(port, "/results.json");
    EXPECT_TRUE(before.contains(R"("name":"Meier, Hans")")) << before.toStdString();
    EXPECT_TRUE(before.contains(R"("endgueltig":true,"strecken":[0,1,2])")) << before.toStdString();
    EXPECT_FALSE(before.contains("geheim"));
    QThread::msleep(1100); // another modification time
    Write(u"in.csv"_s, kHeader + "1;2012;;m;101;Meier, Hans;1950;1.0000;;6.9;1042\r\n");
    QByteArray after;
    for (int waited = 0; waited < 5000 && !after.contains("1042"); waited += 250) {
        QThread::msleep(250);
        after = Fetch(port, "/results.json");
    }
    EXPECT_TRUE(after.contains(R"("zeiten":["6.9")")) << after.toStdString();
    serve.kill();
    serve.waitForFinished();
    EXPECT_TRUE(serve.readAllStandardOutput().startsWith(
        "Live-Ergebnisse von \"" + Path(u"in.csv"_s).toUtf8() +
        "\" unter http://127.0.0.1:" + QByteArray::number(port) + " (Strg+C beendet)\n"));

    EXPECT_EQ(Run({u"publish"_s, Path(u"in.csv"_s), Path(u"web"_s)}), kCliOk) << errors.toStdString();
    EXPECT_EQ(QDir(Path(u"web"_s)).entryList(QDir::Files),
              (QStringList{u"index.html"_s, u"live.css"_s, u"live.js"_s, u"results.json"_s, u"tv.html"_s}));
    for (const auto& [call, problem] :
         {std::pair{QStringList{u"serve"_s}, u"serve erwartet EINGABE."_s},
          std::pair{QStringList{u"serve"_s, u"a.csv"_s, u"--port"_s, u"70000"_s},
                    u"--port erwartet eine Zahl von 1 bis 65535."_s},
          std::pair{QStringList{u"publish"_s, u"a.csv"_s, u"--final"_s, u"5"_s, u"web"_s},
                    u"--final erwartet Tage von 1 bis 4, etwa \"1,2\"."_s}}) {
        EXPECT_EQ(Run(call), kCliUsageError);
        EXPECT_TRUE(errors.startsWith(u"vastrel-cli: "_s + problem + u"\n"_s)) << errors.toStdString();
    }
}

TEST(ConsoleUi, PrintsEachBoxAsOneLineWithSlashesForLineBreaks) {
    QString errors;
    QTextStream stream(&errors);
    ConsoleUi ui(stream);
    EXPECT_EQ(ui.MessageBox(u"Achtung!\r\nEs wurden die Altersfaktoren AF verändert!   \r\n\r\nWeiter?"_s,
                            u"Vastrel"_s, MessageButtons::YesNo, MessageIcon::Question),
              MessageAnswer::Yes);
    EXPECT_EQ(ui.MessageBox(u"a\nb"_s, u"T"_s, MessageButtons::Ok, MessageIcon::None), MessageAnswer::Ok);
    stream.flush();
    EXPECT_EQ(
        errors,
        u"Vastrel: Achtung! / Es wurden die Altersfaktoren AF verändert!    /  / Weiter?\nT: a / b\n"_s);
    EXPECT_EQ(ui.MessageCount(), 2);
}

} // namespace

namespace {

// competition_expected.csv was calculated independently of the program, from the scoring
// rules alone (tests/data/reference_scoring.py).
TEST(GoldenCompetition, RecalculationWithAgeClassesMatchesTheIndependentCalculation) {
    QTemporaryDir dir;
    const QString output = dir.filePath(u"ergebnis.csv"_s);
    QString out;
    QString errors;
    QTextStream o(&out);
    QTextStream e(&errors);
    const int code = RunCommandLine(
        {u"recalc"_s, u"--age-factors=mit"_s, QStringLiteral(VASTREL_TEST_DATA "/competition.csv"), output},
        o, e);
    EXPECT_EQ(code, kCliOk) << errors.toStdString();

    QFile actual(output);
    QFile expected(QStringLiteral(VASTREL_TEST_DATA "/competition_expected.csv"));
    ASSERT_TRUE(actual.open(QIODevice::ReadOnly));
    ASSERT_TRUE(expected.open(QIODevice::ReadOnly));
    const QStringList actualLines = QString::fromLatin1(actual.readAll()).split(u"\r\n"_s);
    const QStringList expectedLines = QString::fromLatin1(expected.readAll()).split(u"\r\n"_s);
    ASSERT_EQ(actualLines.size(), expectedLines.size());
    for (qsizetype i = 0; i < expectedLines.size(); ++i) {
        EXPECT_EQ(actualLines.at(i), expectedLines.at(i)) << "line " << i + 1;
    }
}

} // namespace

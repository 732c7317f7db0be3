#include "formats/TextImport.h"
#include "GTestPrinters.h"
#include "ScriptedUi.h"
#include "system/FileHelpers.h"
#include "table/ResultTable.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdio>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;
using namespace vastrel;
using namespace vastrel::testing;

namespace {

const QByteArray kHeader = QByteArrayLiteral(
    "Lauf;Datum;lNr;mw;Nr;Name Vorname;geb.;AF;Bemerkung;60m;Punkte1;1500m;Punkte2;400m;Punkte3;Summe1;"
    "100m;Punkte4;3000m;Punkte5;800m;Punkte6;Summe2;200m;Punkte7;5000m;Punkte8;1000m;Punkte9;Summe3;10km;"
    "Summe4;Gesamt");

class TextImportTest : public ::testing::Test {
protected:
    QString Write(const QByteArray& bytes, const QString& name = u"lauf.csv"_s) {
        const QString path = dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }
    bool Import(const QByteArray& bytes) { return ImportCsvFile(table, Write(bytes), Width); }
    static double Width(const QString& text) { return text.size() * 100.0; }

    QTemporaryDir dir;
    ResultTable table;
};

TEST_F(TextImportTest, FieldsFillTheColumnsInOrder) {
    ASSERT_TRUE(Import(kHeader + "\r\n1;2012;7;m;12;Meier, Hans;1950;0.8210;Gast;7.5;900;4:05.3;821\r\n"));
    EXPECT_EQ(table.ColumnCount(), 33);
    ASSERT_EQ(table.RowCount(), 1);
    EXPECT_EQ(table.CellText(1, u"Lauf"), u"1"_s);
    EXPECT_EQ(table.CellText(1, u"lNr"), u"7"_s);
    EXPECT_EQ(table.CellText(1, u"Name Vorname"), u"Meier, Hans"_s);
    EXPECT_EQ(table.CellText(1, u"Bemerkung"), u"Gast"_s);
    EXPECT_EQ(table.CellText(1, u"Punkte2"), u"821"_s);
    EXPECT_EQ(table.CellText(1, u"Gesamt"), QString());
}

TEST_F(TextImportTest, EveryImportedRowFlagsItsSumCells) {
    ASSERT_TRUE(Import(kHeader + "\r\n\r\n1\r\n"));
    ASSERT_EQ(table.RowCount(), 2); // an empty line is an empty row
    for (int row = 1; row <= 2; ++row) {
        QStringList flagged;
        for (int c = 1; c <= 33; ++c) {
            if (table.CellFlag(row, c)) {
                flagged << table.Key(c);
            }
        }
        EXPECT_EQ(flagged, (QStringList{u"Summe1"_s, u"Summe2"_s, u"Summe3"_s, u"Summe4"_s, u"Gesamt"_s}));
    }
}

TEST_F(TextImportTest, AnEmptyFileLeavesColumnsWithoutRowsAndWithoutTheColumnSettings) {
    ASSERT_TRUE(Import(QByteArray()));
    EXPECT_EQ(table.ColumnCount(), 33);
    EXPECT_EQ(table.RowCount(), 0);
    EXPECT_TRUE(table.Visible(u"Nr"));
    EXPECT_TRUE(table.Visible(u"Bemerkung"));
    EXPECT_FALSE(table.SumColumnFlag(u"Gesamt"));
}

TEST_F(TextImportTest, AHeaderLineAloneAppliesTheColumnSettings) {
    ASSERT_TRUE(Import(kHeader + "\r\n"));
    EXPECT_EQ(table.RowCount(), 0);
    for (const char16_t* key : {u"Nr", u"lNr", u"Bemerkung"}) {
        EXPECT_FALSE(table.Visible(key));
    }
    for (const char16_t* key : {u"Summe1", u"Summe2", u"Summe3", u"Summe4", u"Gesamt"}) {
        EXPECT_TRUE(table.SumColumnFlag(key));
        EXPECT_FALSE(table.PointsColumnFlag(key));
    }
    for (int i = 1; i <= 9; ++i) {
        EXPECT_TRUE(table.PointsColumnFlag(u"Punkte%1"_s.arg(i)));
    }
    EXPECT_FALSE(table.SumColumnFlag(u"Punkte1"));
    EXPECT_EQ(table.SearchCaption(), u"Suche:"_s);
    EXPECT_EQ(table.Width(u"Gesamt"), 900); // 6 characters * 100 * 1.5
    EXPECT_EQ(table.FixedWidth(u"Datum"), 500);
}

TEST_F(TextImportTest, EveryKindOfLineEndEndsALine) {
    for (const QByteArray& end :
         {QByteArrayLiteral("\r\n"), QByteArrayLiteral("\n"), QByteArrayLiteral("\r")}) {
        ASSERT_TRUE(Import(kHeader + end + "1;;;m" + end + "2;;;w" + end));
        ASSERT_EQ(table.RowCount(), 2) << end.toHex().toStdString();
        EXPECT_EQ(table.CellText(2, u"mw"), u"w"_s);
    }
    ASSERT_TRUE(Import(kHeader + "\n1;;;m\r\n2;;;w")); // mixed, no end after the last line
    EXPECT_EQ(table.RowCount(), 2);
}

TEST_F(TextImportTest, NamesAreTidiedButKeepTheirInnerBlanks) {
    const struct {
        const char* file;
        const char16_t* stored;
    } cases[] = {
        {"Meyer ,  Anna und  Eva", u"Meyer, Anna und Eva"},
        {"M\xC3\xBCller,Hans", u"Müller, Hans"},
        {"M\xC3\xBCller , Hans", u"Müller, Hans"},
        {"A,B,C", u"A, B, C"},
        {"van Dyk,Jan", u"van Dyk, Jan"},
        {"Schmidt, Anna und Eva", u"Schmidt, Anna und Eva"},
        {"  Schulz  ", u"Schulz"},
        {"", u""},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(Import(kHeader + "\r\n;;;;;" + QByteArray(c.file) + "\r\n"));
        EXPECT_EQ(table.CellText(1, u"Name Vorname"), QString::fromUtf16(c.stored)) << c.file;
    }
}

TEST_F(TextImportTest, DatesKeepTheirYear) {
    const struct {
        const char* file;
        const char16_t* stored;
    } cases[] = {
        {"17.06.2007", u"2007"}, {"01.01.2008", u"2008"}, {"2008-01-01", u"2008"},
        {"2007", u"2007"},       {"07", u"07"},           {"", u""},
        {"Juni 12", u"i 12"},    {"20070617", u"2007"},   {"0617 2007", u"2007"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(Import(kHeader + "\r\n;" + QByteArray(c.file) + "\r\n"));
        EXPECT_EQ(table.CellText(1, u"Datum"), QString::fromUtf16(c.stored)) << c.file;
    }
}

TEST_F(TextImportTest, ShortAndLongLinesFillFromTheFirstColumn) {
    ASSERT_TRUE(Import(kHeader + "\r\n1;2;3\r\n" + QByteArray("x;").repeated(40) + "\r\n"));
    EXPECT_EQ(table.CellText(1, 3), u"3"_s);
    EXPECT_EQ(table.CellText(1, 4), QString());
    EXPECT_EQ(table.CellText(2, 33), u"x"_s);
}

TEST_F(TextImportTest, AnUnquotedTabSeparatesLikeASemicolon) {
    ASSERT_TRUE(Import(kHeader + "\r\n1\t2;3\r\n"));
    EXPECT_EQ(table.CellText(1, 1), u"1"_s);
    EXPECT_EQ(table.CellText(1, 2), u"2"_s);
    EXPECT_EQ(table.CellText(1, 3), u"3"_s);
}

TEST_F(TextImportTest, QuotedFieldsHoldSeparatorsQuotesAndLineBreaks) {
    ASSERT_TRUE(Import(
        kHeader + "\r\n1;;;m;;\"Meier; \"\"Hansi\"\"\";1950;;\"Zeile 1\r\nZeile 2\tmit Tab\"\r\n2;;;w\r\n"));
    ASSERT_EQ(table.RowCount(), 2);
    EXPECT_EQ(table.CellText(1, u"Name Vorname"), u"Meier; \"Hansi\""_s);
    EXPECT_EQ(table.CellText(1, u"geb."), u"1950"_s);
    EXPECT_EQ(table.CellText(1, u"Bemerkung"), u"Zeile 1\r\nZeile 2\tmit Tab"_s);
    EXPECT_EQ(table.CellText(2, u"mw"), u"w"_s);
}

TEST_F(TextImportTest, Utf8Windows1252AndUtf16FilesReadTheSame) {
    const QByteArray utf8 = kHeader + "\r\n1;;;m;;M\xC3\xBC"
                                      "ller, J\xC3\xB6rg;;;Stra\xC3\x9F"
                                      "e \xE2\x82\xAC\r\n";
    const QByteArray ansi = kHeader + "\r\n1;;;m;;M\xFC"
                                      "ller, J\xF6rg;;;Stra\xDF"
                                      "e \x80\r\n";
    // UTF-16 with its byte-order mark, little and big endian, as Windows programs write it.
    const QString text = QString::fromUtf8(utf8);
    QByteArray little("\xFF\xFE");
    QByteArray big("\xFE\xFF");
    for (QChar c : text) {
        little += static_cast<char>(c.unicode() & 0xFF);
        little += static_cast<char>(c.unicode() >> 8);
        big += static_cast<char>(c.unicode() >> 8);
        big += static_cast<char>(c.unicode() & 0xFF);
    }
    for (const QByteArray& bytes : {utf8, QByteArrayLiteral("\xEF\xBB\xBF") + utf8, ansi, little, big}) {
        ASSERT_TRUE(Import(bytes));
        EXPECT_EQ(table.RowCount(), 1);
        EXPECT_EQ(table.CellText(1, u"Name Vorname"), u"Müller, Jörg"_s);
        EXPECT_EQ(table.CellText(1, u"Bemerkung"), u"Straße €"_s);
    }
}

TEST_F(TextImportTest, AMissingFileLeavesTheTableAsItWasAndSaysWhy) {
    ASSERT_TRUE(Import(kHeader + "\r\n1;;;m;;Meier, Hans\r\n"));
    table.SetCaption(u"Stadtlauf"_s);
    ImportReport report;
    EXPECT_FALSE(ImportCsvFile(table, dir.filePath(u"fehlt.csv"_s), Width, &report));
    EXPECT_EQ(report.error, u"Die Datei \""_s + QDir::toNativeSeparators(dir.filePath(u"fehlt.csv"_s)) +
                                u"\" konnte nicht gelesen werden: Die Datei ist nicht vorhanden."_s);
    EXPECT_EQ(table.RowCount(), 1);
    EXPECT_EQ(table.CellText(1, u"Name Vorname"), u"Meier, Hans"_s);
    EXPECT_EQ(table.Caption(), u"Stadtlauf"_s);

    EXPECT_FALSE(ImportCsvFile(table, dir.path(), Width, &report)); // a folder
    EXPECT_EQ(table.RowCount(), 1);
}

#ifdef Q_OS_UNIX
// Neither is read at all: the one never ends, the other waits for a writer for ever.
TEST_F(TextImportTest, ADeviceOrAPipeIsRefusedAtOnce) {
    const QString device = dir.filePath(u"null.csv"_s);
    ASSERT_TRUE(QFile::link(u"/dev/zero"_s, device));
    const QString pipe = dir.filePath(u"pipe.csv"_s);
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    for (const QString& path : {device, pipe}) {
        ImportReport report;
        EXPECT_FALSE(ImportCsvFile(table, path, Width, &report));
        EXPECT_EQ(report.error, u"Die Datei \""_s + QDir::toNativeSeparators(path) +
                                    u"\" konnte nicht gelesen werden: Das ist keine gewöhnliche Datei."_s);
    }
}
#endif

#if defined(Q_OS_LINUX) && !defined(__SANITIZE_ADDRESS__)
// (An address sanitizer reserves terabytes of address space, so no limit on it can be set there.)
// Wherever reading runs out of memory (reading the bytes, decoding them, splitting them into
// rows), the import says so and leaves the table as it was; it never ends the program.
TEST_F(TextImportTest, RunningOutOfMemoryAnywhereInReadingIsAMessage) {
    ASSERT_TRUE(Import(kHeader + "\r\n1;;;m;;Meier, Hans\r\n"));
    const QString sparse = dir.filePath(u"gross.csv"_s); // 400 MB of nothing but zero bytes
    QFile zeros(sparse);
    ASSERT_TRUE(zeros.open(QIODevice::WriteOnly) && zeros.resize(400'000'000));
    zeros.close();
    const QString rows = Write(
        kHeader + "\r\n" + QByteArray("1;15.05.2024;1;m;7;Meier, Hans;1950;;;8,2;;\r\n").repeated(1'500'000),
        u"zeilen.csv"_s); // 66 MB, 1.5 million rows
    const struct {
        QString path;
        long headroomMb;
    } cases[] = {{sparse, 150}, {rows, 100}, {rows, 250}, {rows, 400}, {rows, 600}};
    int refused = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString() + " " + std::to_string(c.headroomMb) + " MB");
        // The limit is set in a child, so that this process keeps its memory.
        const pid_t child = fork();
        ASSERT_NE(child, -1);
        if (child == 0) {
            long pages = 0;
            if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
                if (std::fscanf(statm, "%ld", &pages) != 1) {
                    pages = 0;
                }
                std::fclose(statm);
            }
            const rlim_t limit = static_cast<rlim_t>(pages) * sysconf(_SC_PAGESIZE) +
                                 (static_cast<rlim_t>(c.headroomMb) << 20);
            const struct rlimit bound = {limit, limit};
            if (pages == 0 || setrlimit(RLIMIT_AS, &bound) != 0) {
                _exit(4);
            }
            ImportReport report;
            if (ImportCsvFile(table, c.path, Width, &report)) {
                _exit(table.RowCount() == 1'500'000 ? 1 : 5);
            }
            const bool untouched =
                table.RowCount() == 1 && table.CellText(1, u"Name Vorname") == u"Meier, Hans";
            const bool said =
                report.error ==
                u"Die Datei \""_s + QDir::toNativeSeparators(c.path) +
                    u"\" konnte nicht gelesen werden: Der Arbeitsspeicher reicht für diese Datei nicht aus."_s;
            _exit(untouched && said ? 0 : 3);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
        EXPECT_TRUE(WEXITSTATUS(status) == 0 || WEXITSTATUS(status) == 1) << "exit " << WEXITSTATUS(status);
        refused += WEXITSTATUS(status) == 0 ? 1 : 0;
    }
    EXPECT_GE(refused, 2); // at least the file that is larger than the limit, and the tightest
}
#endif

TEST_F(TextImportTest, ImportedPointsAreTakenAsTheyStand) {
    ASSERT_TRUE(Import(kHeader + "\r\n1;;;m;;;;;;7,5;12345;;;;;x\r\n"));
    EXPECT_EQ(table.CellText(1, u"60m"), u"7,5"_s);
    EXPECT_EQ(table.CellText(1, u"Punkte1"), u"12345"_s);
    EXPECT_EQ(table.CellText(1, u"Summe1"), u"x"_s);
}

TEST(NormaliseName, Table) {
    EXPECT_EQ(NormaliseName(u"Meyer ,  Anna und  Eva"_s), u"Meyer, Anna und Eva"_s);
    EXPECT_EQ(NormaliseName(u"Schmidt, Anna Und Eva"_s), u"Schmidt, Anna Und Eva"_s);
    EXPECT_EQ(NormaliseName(u"A , "_s), u"A,"_s);
    EXPECT_EQ(NormaliseName(u"\tTab,X"_s), u"\tTab, X"_s); // only blanks are blanks
    EXPECT_EQ(NormaliseName(NormaliseName(u"van  Dyk ,Jan"_s)), u"van Dyk, Jan"_s);
    EXPECT_EQ(NormaliseName(u"Meier,,Anna"_s), u"Meier, , Anna"_s); // one blank after each comma
    EXPECT_EQ(NormaliseName(u"Meier, ,Anna"_s), u"Meier, , Anna"_s);
}

// A quote that opens a field and never closes is a character: no row is joined to it, also when
// another stray quote follows lines later, and the first such line is named.
TEST_F(TextImportTest, AStrayQuoteNeverSwallowsTheRowsAfterIt) {
    QByteArray file = kHeader + "\r\n";
    for (int i = 1; i <= 8; ++i) {
        const QByteArray name = i == 2   ? "\"Adler"
                                : i == 4 ? "\"verletzt"
                                : i == 6 ? "Falke\""
                                         : "Name" + QByteArray::number(i);
        file += QByteArray::number(i) + ";2024;;m;;" + name + ";1950;1.0000;;7.5" +
                QByteArray(";").repeated(23) + "\r\n";
    }
    ImportReport report;
    ASSERT_TRUE(ImportCsvFile(table, Write(file), Width, &report));
    ASSERT_EQ(table.RowCount(), 8);
    EXPECT_EQ(table.CellText(2, u"Name Vorname"), u"\"Adler"_s);
    EXPECT_EQ(table.CellText(4, u"Name Vorname"), u"\"verletzt"_s);
    EXPECT_EQ(table.CellText(6, u"Name Vorname"), u"Falke\""_s);
    EXPECT_EQ(table.CellText(8, u"Lauf"), u"8"_s);
    EXPECT_EQ(report.notice,
              u"Die Datei \""_s + QDir::toNativeSeparators(dir.filePath(u"lauf.csv"_s)) +
                  u"\" wurde gelesen, bitte prüfen Sie:\r\nIn Zeile 3 wird ein Anführungszeichen "
                  u"nicht geschlossen; die Zeile wurde als einfacher Text gelesen."_s);
}

TEST_F(TextImportTest, ALineWithSurplusFieldsIsNamed) {
    ImportReport report;
    ASSERT_TRUE(ImportCsvFile(table, Write(kHeader + "\r\n1\r\n2" + QByteArray(";x").repeated(35) + "\r\n"),
                              Width, &report));
    EXPECT_TRUE(report.notice.endsWith(
        u"\r\nZeile 3 hat mehr als 33 Felder; die Felder danach wurden nicht übernommen."_s))
        << report.notice.toStdString();
    ASSERT_TRUE(ImportCsvFile(table, Write(kHeader + "\r\n1;2\r\n"), Width, &report));
    EXPECT_EQ(report.notice, QString());
}

// Bytes that are no list of results are read as ever, but said once: a first line that is no
// header of ours and control characters in the file.
TEST_F(TextImportTest, AFileOfNoHeaderAndControlCharactersIsNamed) {
    const QString said = u"\r\nDie erste Zeile ist keine Kopfzeile einer Ergebnisliste, und die Datei "
                         u"enthält Steuerzeichen; ist es die richtige Datei?"_s;
    const QList<std::pair<QByteArray, bool>> cases = {
        {QByteArray("\x7F\x45LF\x02\x01\x01\x00\x00;x\r\n\x01\x02;y\r\n", 20), true},
        {QByteArray("Name;Zeit\r\n1;\x01\r\n"), true},
        {kHeader + "\r\n1;;;m;;Meier, Hans;;;a\x01b\r\n", false}, // our header
        {QByteArray("Name;Zeit\r\n1;\t2\r\n"), false},            // a TAB is no control character here
    };
    for (const auto& [bytes, named] : cases) {
        ImportReport report;
        ASSERT_TRUE(ImportCsvFile(table, Write(bytes), Width, &report));
        EXPECT_EQ(report.notice.endsWith(said), named) << bytes.toStdString();
        EXPECT_EQ(report.notice.count(u"Steuerzeichen"_s), named ? 1 : 0);
    }
}

TEST_F(TextImportTest, EmptyLinesAreCheapRows) {
    ASSERT_TRUE(Import(kHeader + "\r\n" + QByteArray(300000, '\r')));
    EXPECT_EQ(table.RowCount(), 300000);
    EXPECT_TRUE(table.CellFlag(300000, u"Gesamt"));
    EXPECT_EQ(table.CellText(300000, 33), QString());
    table.SetCellText(300000, 33, u"x"_s); // a cell of an empty row can still be written
    EXPECT_EQ(table.CellText(300000, u"Gesamt"), u"x"_s);
}

} // namespace

// The command-line tool's outputs read back by independent readers: the workbook by openpyxl,
// PDF pages by poppler, the own format and the semicolon text by the tool itself.
#include "GTestPrinters.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

class OutputsTest : public ::testing::Test {
protected:
    // Runs a program, answers its exit code; standard output in `out`.
    int Run(const QString& program, const QStringList& arguments) {
        QProcess process;
        process.start(program, arguments);
        EXPECT_TRUE(process.waitForFinished(60000)) << program.toStdString();
        out = QString::fromUtf8(process.readAllStandardOutput());
        errors = QString::fromUtf8(process.readAllStandardError());
        return process.exitCode();
    }
    int Tool(const QStringList& arguments) { return Run(QStringLiteral(VASTREL_CLI), arguments); }
    QString Path(const QString& name) const { return dir.filePath(name); }
    QString Text(const QString& name) const {
        QFile f(Path(name));
        return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()) : QString();
    }
    QString Pdf(const QString& name, const char* tool) {
        const QString program = QString::fromLatin1(tool);
        Run(program, program == u"pdftotext" ? QStringList{Path(name), u"-"_s} : QStringList{Path(name)});
        return out;
    }

    QTemporaryDir dir;
    QString out;
    QString errors;
    const QString competition = QStringLiteral(VASTREL_TEST_DATA "/competition.csv");
};

TEST_F(OutputsTest, EveryFormatHoldsTheScoredCompetition) {
    for (const QString& name : {u"lauf.csv"_s, u"lauf.xls"_s, u"lauf.xlsx"_s, u"lauf.fil"_s}) {
        EXPECT_EQ(Tool({u"recalc"_s, u"--age-factors=mit"_s, competition, Path(name)}), 0)
            << errors.toStdString();
    }
    // The own format reopens to the same table.
    ASSERT_EQ(Tool({u"recalc"_s, Path(u"lauf.fil"_s), Path(u"wieder.csv"_s)}), 0);
    EXPECT_EQ(Text(u"wieder.csv"_s), Text(u"lauf.csv"_s));
    // The workbook: every cell as the semicolon text has it, numbers as numbers (read by
    // openpyxl, the Debian package, so with Debian's Python).
    ASSERT_EQ(Run(u"/usr/bin/python3"_s,
                  {QStringLiteral(VASTREL_TEST_SOURCE "/cli/read_xlsx.py"), Path(u"lauf.xlsx"_s)}),
              0)
        << errors.toStdString();
    QStringList lines = out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(lines.takeFirst(), u"frozen A2"_s);
    EXPECT_EQ(lines.takeFirst(), u"bold True"_s);
    EXPECT_EQ(lines, Text(u"lauf.csv"_s).split(u"\r\n"_s, Qt::SkipEmptyParts));
}

// A control character is stored as the format escapes it ("_x000D_"); a text that reads like
// such an escape gets its underscore escaped ("_x005F_"), so that a reader can tell the two apart.
TEST_F(OutputsTest, TheWorkbookTellsEscapedCharactersFromTextsThatLookLikeThem) {
    QFile csv(Path(u"escapes.csv"_s));
    ASSERT_TRUE(csv.open(QIODevice::WriteOnly));
    csv.write("Lauf;Datum;lNr;mw;Nr;Name Vorname;geb.;AF;Bemerkung\r\n"
              "1;;;m;;Adler, Bernd;;;_x000D_\r\n"
              "1;;;w;;Hahn, Ida;;;a_x0041_b_X00e4_\r\n"
              "1;;;w;;Kurz, Eva;;;_x00_ und _x12345\r\n"
              "1;;;m;;Lang, Udo;;;\"a\rb\"\r\n");
    csv.close();
    ASSERT_EQ(Tool({u"recalc"_s, Path(u"escapes.csv"_s), Path(u"escapes.xlsx"_s)}), 0)
        << errors.toStdString();
    // The sheet's own text of column I, as stored.
    ASSERT_EQ(Run(u"/usr/bin/python3"_s,
                  {u"-c"_s,
                   u"import re, sys, zipfile\n"
                   "sheet = zipfile.ZipFile(sys.argv[1]).read('xl/worksheets/sheet1.xml').decode()\n"
                   "for text in re.findall(r'<c r=\"I[0-9]+\"[^>]*><is><t[^>]*>(.*?)</t>', sheet):\n"
                   "    print(text)\n"_s,
                   Path(u"escapes.xlsx"_s)}),
              0)
        << errors.toStdString();
    EXPECT_EQ(out.split(u'\n', Qt::SkipEmptyParts),
              QStringList({u"Bemerkung"_s, u"_x005F_x000D_"_s, u"a_x005F_x0041_b_X00e4_"_s,
                           u"_x00_ und _x12345"_s, u"a_x000D_b"_s}));
}

TEST_F(OutputsTest, TheReportListsPlacesInPdfAndHtml) {
    ASSERT_EQ(Tool({u"recalc"_s, u"--age-factors=mit"_s, competition, Path(u"lauf.fil"_s)}), 0);
    ASSERT_EQ(Tool({u"report"_s, Path(u"lauf.fil"_s), Path(u"bericht.pdf"_s)}), 0) << errors.toStdString();
    EXPECT_TRUE(Pdf(u"bericht.pdf"_s, "pdfinfo").contains(u"Title:           Vastrel"_s))
        << out.toStdString();
    const QString text = Pdf(u"bericht.pdf"_s, "pdftotext");
    EXPECT_TRUE(text.contains(u"Platz"_s));
    EXPECT_TRUE(text.contains(u"Hahn, Ida"_s)) << text.toStdString();
    ASSERT_EQ(Tool({u"report"_s, u"--tag"_s, u"2"_s, u"--kurz"_s, Path(u"lauf.fil"_s), Path(u"tag2.htm"_s)}),
              0);
    const QString page = QString::fromUtf8(Text(u"tag2.htm"_s).toLatin1());
    EXPECT_TRUE(page.contains(u"<h2>Vastrel - 2.Tag</h2>"_s));
    EXPECT_FALSE(page.contains(u">geb.</th>"_s)); // the short report
    EXPECT_TRUE(page.contains(u"<tr><td align=\"center\" nowrap>1.</td>"_s));
}

// A long report goes on over pages, each with the captions at its head; every row is there.
TEST_F(OutputsTest, ALongReportRepeatsItsCaptionsOnEveryPage) {
    QFile csv(Path(u"lang.csv"_s));
    ASSERT_TRUE(csv.open(QIODevice::WriteOnly));
    csv.write("Lauf;Datum;lNr;mw;Nr;Name Vorname;geb.\r\n");
    for (int i = 1; i <= 300; ++i) {
        csv.write(QByteArray("1;2012;;m;;L\xE4ufer ") + QByteArray::number(i) + " Z;1950\r\n");
    }
    csv.close();
    ASSERT_EQ(Tool({u"recalc"_s, Path(u"lang.csv"_s), Path(u"lang.fil"_s)}), 0) << errors.toStdString();
    ASSERT_EQ(Tool({u"report"_s, Path(u"lang.fil"_s), Path(u"lang.pdf"_s)}), 0) << errors.toStdString();
    const QString info = Pdf(u"lang.pdf"_s, "pdfinfo");
    const qsizetype pagesAt = info.indexOf(u"Pages:"_s);
    ASSERT_GE(pagesAt, 0);
    const int pages = QStringView(info).sliced(pagesAt + 6).trimmed().split(u'\n').first().toInt();
    EXPECT_GE(pages, 3);
    const QString text = Pdf(u"lang.pdf"_s, "pdftotext");
    EXPECT_EQ(text.count(u"Platz"_s), pages);
    for (int i = 1; i <= 300; ++i) {
        EXPECT_TRUE(text.contains(u"Läufer %1 Z"_s.arg(i))) << i;
    }
}

TEST_F(OutputsTest, CertificatesAsOnePdfPagePerCompetitor) {
    ASSERT_EQ(Tool({u"recalc"_s, u"--age-factors=mit"_s, competition, Path(u"lauf.fil"_s)}), 0);
    ASSERT_EQ(Tool({u"certificates"_s, u"--pdf"_s, Path(u"lauf.fil"_s), dir.path()}), 0)
        << errors.toStdString();
    EXPECT_TRUE(Pdf(u"Urkunden.pdf"_s, "pdfinfo").contains(u"Pages:           10"_s)) << out.toStdString();
    const QString text = Pdf(u"Urkunden.pdf"_s, "pdftotext");
    EXPECT_TRUE(text.contains(u"Hahn, Ida"_s));
    EXPECT_TRUE(text.contains(u"belegte den 1. Platz"_s)) << text.toStdString();
    ASSERT_EQ(Tool({u"certificates"_s, u"--tag"_s, u"4"_s, Path(u"lauf.fil"_s), dir.path()}), 0);
    EXPECT_TRUE(QFile::exists(Path(u"Hahn_Ida.rtf"_s)));
    EXPECT_TRUE(errors.isEmpty()) << errors.toStdString();
}

} // namespace

#include "formats/SemicolonText.h"
#include "GTestPrinters.h"
#include "ScriptedUi.h"
#include "formats/FileFormats.h"
#include "formats/TextImport.h"
#include "system/TextEncoding.h"
#include "table/ColumnModel.h"
#include "table/ResultTable.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace vastrel;
using namespace vastrel::testing;

namespace {

double Width(const QString& text) {
    return text.size() * 100.0;
}

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QList<int> AllColumns() {
    QList<int> all;
    for (int c = 1; c <= 33; ++c) {
        all << c;
    }
    return all;
}

class TextExportTest : public ::testing::Test {
protected:
    TextExportTest() { DefineColumns(table, Width); }
    bool Export(const QString& path, QString* error = nullptr) {
        return SaveTable(table, path, SaveFormat::Csv, error);
    }
    QTemporaryDir dir;
    ResultTable table;
};

TEST_F(TextExportTest, WritesTheKeysThenOneLinePerRowWithCrLf) {
    table.AddRow(u"1\t2012\t\tm\t\tMeier, Hans\t1950\t0.8210"_s);
    table.AddRow(QString());
    const QString path = dir.filePath(u"lauf.csv"_s);
    ASSERT_TRUE(Export(path));
    const QByteArray bytes = ReadAll(path);
    const QList<QByteArray> lines = bytes.split('\n');
    ASSERT_EQ(lines.size(), 4); // three lines and the empty rest after the last line end
    EXPECT_EQ(lines[0], QByteArrayLiteral(
                            "Lauf;Datum;lNr;mw;Nr;Name Vorname;geb.;AF;Bemerkung;60m;Punkte1;1500m;Punkte2;"
                            "400m;Punkte3;Summe1;100m;Punkte4;3000m;Punkte5;800m;Punkte6;Summe2;200m;"
                            "Punkte7;5000m;Punkte8;1000m;Punkte9;Summe3;10km;Summe4;Gesamt\r"));
    EXPECT_EQ(lines[1], QByteArrayLiteral("1;2012;;m;;Meier, Hans;1950;0.8210;;;;;;;;;;;;;;;;;;;;;;;;;\r"));
    EXPECT_EQ(lines[2], QByteArray(32, ';') + '\r');
    EXPECT_TRUE(lines[3].isEmpty());
}

TEST_F(TextExportTest, QuotesOnlyFieldsThatWouldShiftColumns) {
    table.AddRow(QString());
    table.SetCellText(1, 1, u"a;b"_s);
    table.SetCellText(1, 2, u"sagt \"hallo\""_s);
    table.SetCellText(1, 3, u"Zeile\r\nzwei"_s);
    table.SetCellText(1, 4, u"Tab\there"_s);
    table.SetCellText(1, 5, u"schlicht, mit Komma"_s);
    const QString text = SemicolonText(table, {1, 2, 3, 4, 5}, u";"_s);
    EXPECT_EQ(text.section(u"\r\n"_s, 1),
              u"\"a;b\";\"sagt \"\"hallo\"\"\";\"Zeile\r\nzwei\";\"Tab\there\";schlicht, mit Komma\r\n"_s);
}

TEST_F(TextExportTest, ExportThenImportGivesBackEveryCell) {
    const QStringList tricky = {u"Müller, Jörg"_s,
                                u"  Blanks  innen "_s,
                                u"a;b;c"_s,
                                u"\"zitiert\""_s,
                                u"Zeile 1\r\nZeile 2"_s,
                                u"Tab\tTab"_s,
                                u"Dvořák, Łukasz"_s,
                                u"€ 12,50"_s,
                                u"\"\""_s,
                                u";"_s,
                                u"x\ry\nz"_s,
                                u"😀"_s};
    for (int i = 0; i < tricky.size(); ++i) {
        table.AddRow(QString());
        for (int c = 1; c <= 33; ++c) {
            // "Name Vorname" and "Datum" are tidied on import: they get tidy values.
            const QString key = table.Key(c);
            const QString text = key == u"Name Vorname" ? u"Meier, Anna %1"_s.arg(i)
                                 : key == u"Datum"      ? u"2012"_s
                                                        : tricky.at((i + c) % tricky.size());
            table.SetCellText(i + 1, c, text);
        }
    }
    const QString path = dir.filePath(u"rund.csv"_s);
    ASSERT_TRUE(Export(path));
    EXPECT_TRUE(ReadAll(path).startsWith("\xEF\xBB\xBF")); // characters outside Windows-1252

    ResultTable back;
    ASSERT_TRUE(ImportCsvFile(back, path, Width));
    ASSERT_EQ(back.RowCount(), table.RowCount());
    for (int r = 1; r <= table.RowCount(); ++r) {
        for (int c = 1; c <= 33; ++c) {
            ASSERT_EQ(back.CellText(r, c), table.CellText(r, c)) << "row " << r << " column " << c;
        }
    }
}

TEST_F(TextExportTest, PlainGermanTextIsWrittenAsWindows1252) {
    table.AddRow(u"1\t2012\t\tw\t\tGroß, Jürgen"_s);
    const QString path = dir.filePath(u"ansi.csv"_s);
    ASSERT_TRUE(Export(path));
    EXPECT_TRUE(ReadAll(path).contains(QByteArrayLiteral("Gro\xDF, J\xFCrgen")));
}

// The file is written a piece at a time; its bytes must be those of the whole text encoded at
// once: 8-bit, 8-bit that would read back as UTF-8 («MÃ¼ller» in one cell, plain umlauts in
// another), characters beyond 8 bits, quoted fields, and enough rows to cross the pieces; in a
// large table the one cell that decides the encoding may stand in its second half.
TEST_F(TextExportTest, TheFileIsTheWholeTextEncodedAtOnce) {
    const QList<QStringList> names = {{u"Groß, Jürgen"_s, u"MÃ¼ller, Anna"_s},
                                      {u"MÃ¼ller, Anna"_s, u"Meier, Udo"_s},
                                      {u"Groß, Jürgen"_s, u"Łukasz \"Lu\"; Nowak"_s}};
    const auto largeName = [](int variant, int row) {
        if (variant == 3) {
            return u"Läufer %1"_s.arg(row);
        }
        return row != 8000 ? u"Laeufer %1"_s.arg(row) : variant == 4 ? u"Łukasz Nowak"_s : u"MÃ¼ller, Anna"_s;
    };
    for (int variant = 0; variant < 6; ++variant) {
        table.ClearTable(false);
        for (int row = 1; row <= (variant >= 3 ? 9000 : 2); ++row) {
            const QString name = variant >= 3 ? largeName(variant, row) : names[variant][row - 1];
            table.AddRow(u"1\t2012\t\tw\t%1\t%2"_s.arg(row).arg(name));
        }
        const QString path = dir.filePath(u"lauf%1.csv"_s.arg(variant));
        ASSERT_TRUE(Export(path));
        EXPECT_EQ(ReadAll(path), EncodeTextFile(SemicolonText(table, AllColumns(), u";"_s))) << variant;
    }
    EXPECT_GT(ReadAll(dir.filePath(u"lauf3.csv"_s)).size(), 1 << 18); // more than two pieces
    EXPECT_FALSE(ReadAll(dir.filePath(u"lauf0.csv"_s)).startsWith("\xEF\xBB\xBF"));
    EXPECT_TRUE(ReadAll(dir.filePath(u"lauf1.csv"_s)).startsWith("\xEF\xBB\xBF"));
    EXPECT_TRUE(ReadAll(dir.filePath(u"lauf2.csv"_s)).startsWith("\xEF\xBB\xBF"));
    EXPECT_FALSE(ReadAll(dir.filePath(u"lauf3.csv"_s)).startsWith("\xEF\xBB\xBF"));
    EXPECT_TRUE(ReadAll(dir.filePath(u"lauf4.csv"_s)).startsWith("\xEF\xBB\xBF"));
    EXPECT_TRUE(ReadAll(dir.filePath(u"lauf5.csv"_s)).startsWith("\xEF\xBB\xBF"));
}

// Most rows are written in one go, the rest field by field: a large table mixing both, with
// columns twice, a separator of one or more characters, and cells that need quotes, hold a
// control character or a character of 8 bits that is no Latin-1 letter («€»); in 8 bits, these
// and the first name in each half would read back as UTF-8, the plain umlauts after them not.
// Names are ASCII otherwise.
TEST_F(TextExportTest, RowsWrittenInOneGoAndFieldByFieldAgreeWithTheWholeText) {
    const QStringList odd = {u"a;b"_s,  u"sagt \"ja\""_s, u"Tab\tTab"_s, u"x\x01y"_s,
                             u"Ã€ 5"_s, u"a,b"_s,         u"a||b"_s};
    for (int row = 1; row <= 9000; ++row) {
        table.AddRow(u"1\t2012\t\tw\t%1\tLaeufer %1\t1950\t0.8210"_s.arg(row));
        if (row == 1 || row == 4501) { // first in each half: 8 bits that would read as UTF-8
            table.SetCellText(row, 6, u"MÃ¼ller, Anna"_s);
        } else if (row == 3 || row == 4503) { // these do not
            table.SetCellText(row, 6, u"Groß, Jürgen"_s);
        }
        if (row % 500 == 7) {
            table.SetCellText(row, 9, odd.at((row / 500) % odd.size()));
        }
    }
    const QList<std::pair<QList<int>, QString>> requests = {
        {AllColumns(), u";"_s}, {{6, 9, 1, 6, 33}, u","_s}, {{9, 6}, u"||"_s}, {{9, 6}, u"\t"_s}};
    for (const auto& [columns, separator] : requests) {
        QBuffer file;
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(WriteSemicolonText(table, columns, separator, file));
        EXPECT_EQ(file.data(), EncodeTextFile(SemicolonText(table, columns, separator)))
            << columns.size() << separator.toStdString();
    }
}

TEST_F(TextExportTest, AFailedWriteIsReportedAndLeavesTheOldFile) {
    table.AddRow(u"1"_s);
    QString error;
    EXPECT_FALSE(Export(dir.filePath(u"fehlt/lauf.csv"_s), &error));
    EXPECT_EQ(error, u"Die Datei \""_s + QDir::toNativeSeparators(dir.filePath(u"fehlt/lauf.csv"_s)) +
                         u"\" konnte nicht geschrieben werden: Der Ordner ist nicht vorhanden."_s);

    ASSERT_TRUE(QDir(dir.path()).mkdir(u"belegt.csv"_s));
    EXPECT_FALSE(Export(dir.filePath(u"belegt.csv"_s), &error));
    EXPECT_TRUE(error.endsWith(u"An dieser Stelle steht ein Ordner."_s)) << error.toStdString();
    EXPECT_TRUE(QFileInfo(dir.filePath(u"belegt.csv"_s)).isDir());
}

TEST_F(TextExportTest, TheColumnListChoosesAndOrdersTheColumns) {
    table.AddRow(u"1\t2012\t\tw"_s);
    EXPECT_EQ(SemicolonText(table, {4, 1}, u";"_s), u"mw;Lauf\r\nw;1\r\n"_s);
}

} // namespace

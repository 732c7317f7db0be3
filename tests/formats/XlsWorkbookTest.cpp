#include "GTestPrinters.h"
#include "formats/FileFormats.h"
#include "formats/SemicolonText.h"
#include "table/ColumnModel.h"
#include "table/ResultTable.h"
#include "table/TableView.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <freexl.h>
#include <gtest/gtest.h>

#include <variant>

using namespace Qt::StringLiterals;
using namespace vastrel;

namespace {

// A cell as freexl, an independent reader, sees it.
using Cell = std::variant<std::monostate, double, QString>;

class XlsReader {
public:
    explicit XlsReader(const QString& path) {
        ok_ = freexl_open(QFile::encodeName(path).constData(), &handle_) == FREEXL_OK &&
              freexl_select_active_worksheet(handle_, 0) == FREEXL_OK &&
              freexl_worksheet_dimensions(handle_, &rows_, &columns_) == FREEXL_OK;
    }
    ~XlsReader() {
        if (handle_) {
            freexl_close(handle_);
        }
    }
    bool Ok() const { return ok_; }
    unsigned Rows() const { return rows_; }
    unsigned short Columns() const { return columns_; }
    Cell At(unsigned row, unsigned short column) const {
        FreeXL_CellValue value;
        if (freexl_get_cell_value(handle_, row, column, &value) != FREEXL_OK) {
            return u"<unreadable>"_s;
        }
        switch (value.type) {
        case FREEXL_CELL_INT:
            return static_cast<double>(value.value.int_value);
        case FREEXL_CELL_DOUBLE:
            return value.value.double_value;
        case FREEXL_CELL_TEXT:
        case FREEXL_CELL_SST_TEXT:
            return QString::fromUtf8(value.value.text_value);
        case FREEXL_CELL_NULL:
            return std::monostate{};
        default:
            return u"<other type>"_s;
        }
    }

private:
    const void* handle_ = nullptr;
    unsigned rows_ = 0;
    unsigned short columns_ = 0;
    bool ok_ = false;
};

class XlsWorkbookTest : public ::testing::Test {
protected:
    XlsWorkbookTest() {
        DefineColumns(table, [](const QString& t) { return t.size() * 100.0; });
    }
    QString Export() {
        const QString path = dir.filePath(u"lauf.xls"_s);
        QString error;
        EXPECT_TRUE(SaveTable(table, path, SaveFormat::Xls, &error)) << error.toStdString();
        return path;
    }
    QTemporaryDir dir;
    ResultTable table;
    TableView view{table};
};

TEST_F(XlsWorkbookTest, TheHeaderRowHoldsTheColumnKeys) {
    XlsReader xls(Export());
    ASSERT_TRUE(xls.Ok());
    EXPECT_EQ(xls.Rows(), 1u);
    EXPECT_EQ(xls.Columns(), 33);
    for (unsigned short c = 0; c < 33; ++c) {
        EXPECT_EQ(xls.At(0, c), Cell(table.Key(c + 1))) << c;
    }
}

TEST_F(XlsWorkbookTest, PlainNumbersInNumberColumnsAreNumbersEverythingElseText) {
    table.AddRow(u"1\t2012\t007\tm\t12\tMüller, Jörg\t1950\t0.7887\t€ 5 Startgeld\t7.5\t933\t4:05.3\t821"_s);
    table.SetCellText(1, u"Gesamt", u" 12"_s); // blanks around: stays text
    table.SetCellText(1, u"Summe1", u"12x"_s); // not a number: text
    table.SetCellText(1, u"Summe2", u"-3.25"_s);
    table.SetCellText(1, u"Summe3", u"1.0000"_s); // as a number it would come back as 1
    XlsReader xls(Export());
    ASSERT_TRUE(xls.Ok());
    ASSERT_EQ(xls.Rows(), 2u);
    auto at = [&](const char16_t* key) {
        return xls.At(1, static_cast<unsigned short>(table.ColumnNumber(key) - 1));
    };
    EXPECT_EQ(at(u"Lauf"), Cell(1.0));
    EXPECT_EQ(at(u"Datum"), Cell(u"2012"_s)); // a text column keeps its text
    EXPECT_EQ(at(u"lNr"), Cell(u"007"_s));    // as a number it would come back as 7
    EXPECT_EQ(at(u"mw"), Cell(u"m"_s));
    EXPECT_EQ(at(u"Name Vorname"), Cell(u"Müller, Jörg"_s));
    EXPECT_EQ(at(u"AF"), Cell(0.7887));
    EXPECT_EQ(at(u"Bemerkung"), Cell(u"€ 5 Startgeld"_s));
    EXPECT_EQ(at(u"60m"), Cell(u"7.5"_s)); // sprint times are no number column
    EXPECT_EQ(at(u"Punkte1"), Cell(933.0));
    EXPECT_EQ(at(u"1500m"), Cell(u"4:05.3"_s));
    EXPECT_EQ(at(u"Gesamt"), Cell(u" 12"_s));
    EXPECT_EQ(at(u"Summe1"), Cell(u"12x"_s));
    EXPECT_EQ(at(u"Summe2"), Cell(-3.25));
    EXPECT_EQ(at(u"Summe3"), Cell(u"1.0000"_s));
    EXPECT_EQ(at(u"400m"), Cell(std::monostate{}));
}

TEST_F(XlsWorkbookTest, ManyRowsAndLongTextsSurviveRecordAndSectorBoundaries) {
    const QString longText = QString(u'ä').repeated(5000) + u"Ende"_s; // longer than one record
    for (int i = 0; i < 6000; ++i) {
        table.AddRow(
            u"%1\t2012\t\t%2\t\tLäufer %1, Vorname\t%3"_s.arg(i).arg(i % 2 ? u'w' : u'm').arg(1940 + i % 60));
    }
    table.SetCellText(3000, u"Bemerkung", longText);
    XlsReader xls(Export());
    ASSERT_TRUE(xls.Ok());
    ASSERT_EQ(xls.Rows(), 6001u);
    for (unsigned r : {1u, 2u, 2999u, 3000u, 5999u, 6000u}) {
        EXPECT_EQ(xls.At(r, 0), Cell(static_cast<double>(r - 1)));
        EXPECT_EQ(xls.At(r, 5), Cell(u"Läufer %1, Vorname"_s.arg(r - 1)));
    }
    EXPECT_EQ(xls.At(3000, 8), Cell(longText));
}

TEST_F(XlsWorkbookTest, AWorkbookBeyondOneHundredAndNineFatSectorsIsReadable) {
    // More than 109 FAT sectors (about 7 MB) need DIFAT sectors in the container.
    for (int i = 0; i < 32767; ++i) {
        QStringList cells;
        for (int c = 1; c <= 33; ++c) {
            cells << (c <= 16 ? u"T%1/%2"_s.arg(i).arg(c) : u"gleich"_s);
        }
        table.AddRow(cells.join(u'\t'));
    }
    const QString path = Export();
    EXPECT_GT(QFileInfo(path).size(), 109 * 128 * 512);
    XlsReader xls(path);
    ASSERT_TRUE(xls.Ok());
    ASSERT_EQ(xls.Rows(), 32768u);
    EXPECT_EQ(xls.At(32767, 15), Cell(u"T32766/16"_s));
    EXPECT_EQ(xls.At(32767, 32), Cell(u"gleich"_s));
    EXPECT_EQ(xls.At(16000, 5), Cell(u"T15999/6"_s));
}

// A cell longer than a workbook cell holds would wrap its length field: the save is refused and
// the file there before stays as it was.
TEST_F(XlsWorkbookTest, ACellTooLongForTheWorkbookRefusesTheSave) {
    AppendEmptyRow(table, view);
    const QString path = Export();
    QFile before(path);
    ASSERT_TRUE(before.open(QIODevice::ReadOnly));
    const QByteArray old = before.readAll();
    before.close();
    table.SetCellText(1, u"Bemerkung", QString(32767, u'x'));
    Export(); // exactly the limit still fits
    table.SetCellText(1, u"Bemerkung", QString(32768, u'x'));
    QString error;
    EXPECT_FALSE(SaveTable(table, path, SaveFormat::Xls, &error));
    EXPECT_TRUE(
        error.endsWith(u"konnte nicht geschrieben werden: Die Zelle \"Bemerkung\" in Zeile 1 hat 32768 "
                       u"Zeichen; eine Excel-97-Zelle fasst höchstens 32767. Bitte kürzen Sie sie oder "
                       u"speichern Sie als csv- oder fil-Datei."_s))
        << error.toStdString();
    QFile after(path);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_NE(after.readAll(), old); // the 32767-character file, not the refused one
}

// The workbook's own file is written beside the target, and one a killed save left there goes.
TEST_F(XlsWorkbookTest, AWorkbookLeavesNothingBesideItself) {
    AppendEmptyRow(table, view);
    QFile stale(dir.filePath(u".vastrel-AbC123.xlsx"_s));
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.close();
    QString error;
    ASSERT_TRUE(SaveTable(table, dir.filePath(u"lauf.xlsx"_s), SaveFormat::Xlsx, &error))
        << error.toStdString();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"lauf.xlsx"_s});
}

} // namespace

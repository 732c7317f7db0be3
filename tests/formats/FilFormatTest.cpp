#include "formats/FilFormat.h"
#include "GTestPrinters.h"
#include "table/ColumnModel.h"
#include "table/ResultTable.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace vastrel;

namespace {

class FilFormatTest : public ::testing::Test {
protected:
    FilFormatTest() {
        DefineColumns(table, [](const QString& t) { return t.size() * 100.0; });
        AppendEmptyRow(table);
        table.AddRow(u"1\t2012\t7\tw\t12\tMüller; \"Jörg\"\t1950\t0.7887\tZeile 1\r\nZeile 2\t8.0\t907"_s);
        table.SetCellText(2, u"Gesamt", u"😀 Dvořák"_s);
        table.SetCellFlag(2, u"Punkte1", true);
        table.SetCaption(u"Stadtlauf 2024 - 2.Tag"_s);
        table.SetVisible(u"Bemerkung", true);
        table.SetVisible(u"60m", false);
        table.SetWidth(u"AF", 777);
        table.SetSumColumnFlag(u"Summe1", true);
        table.SetPointsColumnFlag(u"Punkte3", true);
        table.SetLayoutValue(38);
        table.SortBy(u"Lauf"_s, SortDirection::Descending);
    }
    QString Path(const QString& name) const { return dir.filePath(name); }

    QTemporaryDir dir;
    ResultTable table;
};

TEST_F(FilFormatTest, ASavedTableComesBackExactly) {
    QString error;
    ASSERT_TRUE(SaveFil(table, Path(u"lauf.fil"_s), &error)) << error.toStdString();
    ResultTable back;
    ASSERT_TRUE(LoadFil(back, Path(u"lauf.fil"_s), &error)) << error.toStdString();
    ASSERT_EQ(back.ColumnCount(), table.ColumnCount());
    ASSERT_EQ(back.RowCount(), table.RowCount());
    for (int c = 1; c <= table.ColumnCount(); ++c) {
        EXPECT_EQ(back.ColumnAt(c), table.ColumnAt(c)) << table.Key(c).toStdString();
    }
    for (int r = 1; r <= table.RowCount(); ++r) {
        for (int c = 1; c <= table.ColumnCount(); ++c) {
            EXPECT_EQ(back.CellText(r, c), table.CellText(r, c)) << r << '/' << c;
            EXPECT_EQ(back.CellFlag(r, c), table.CellFlag(r, c)) << r << '/' << c;
        }
    }
    EXPECT_EQ(back.Caption(), u"Stadtlauf 2024 - 2.Tag"_s);
    EXPECT_EQ(back.SearchCaption(), u"Suche:"_s);
    EXPECT_EQ(back.LayoutValue(), 38);
    EXPECT_EQ(back.TableMode(), 1);
    EXPECT_EQ(back.ColumnNumber(u"Gesamt"), 33);
}

TEST_F(FilFormatTest, AnySqliteToolCanReadIt) {
    ASSERT_TRUE(SaveFil(table, Path(u"lauf.fil"_s)));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"probe"_s);
        db.setDatabaseName(Path(u"lauf.fil"_s));
        ASSERT_TRUE(db.open());
        QSqlQuery q(db);
        ASSERT_TRUE(
            q.exec(u"SELECT json_extract(cells, '$[5]'), flagged FROM vastrel_rows WHERE number = 1"_s));
        ASSERT_TRUE(q.next());
        EXPECT_EQ(q.value(0).toString(), u"Müller; \"Jörg\""_s);
        EXPECT_EQ(q.value(1).toString(), u"11"_s); // the sort put this row first
        ASSERT_TRUE(q.exec(u"SELECT value FROM vastrel_meta WHERE key = 'version'"_s));
        ASSERT_TRUE(q.next());
        EXPECT_EQ(q.value(0).toInt(), kFilFormatVersion);
    }
    QSqlDatabase::removeDatabase(u"probe"_s);
}

TEST_F(FilFormatTest, AFailedSaveKeepsTheOldFileAndSaysWhy) {
    ASSERT_TRUE(QDir(dir.path()).mkdir(u"belegt.fil"_s));
    QString error;
    EXPECT_FALSE(SaveFil(table, Path(u"belegt.fil"_s), &error));
    EXPECT_EQ(error, u"Die Datei \""_s + QDir::toNativeSeparators(Path(u"belegt.fil"_s)) +
                         u"\" konnte nicht geschrieben werden: An dieser Stelle steht ein Ordner."_s);
    EXPECT_FALSE(SaveFil(table, Path(u"fehlt/lauf.fil"_s), &error));
    EXPECT_TRUE(error.endsWith(u"Der Ordner ist nicht vorhanden."_s)) << error.toStdString();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 0); // no temporary left behind
}

TEST_F(FilFormatTest, AFileThatIsNoTableLeavesTheTableAlone) {
    QFile other(Path(u"text.fil"_s));
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.write("Lauf;Datum\r\n1;2012\r\n");
    other.close();
    QString error;
    EXPECT_FALSE(LoadFil(table, Path(u"text.fil"_s), &error));
    EXPECT_TRUE(error.endsWith(
        u"konnte nicht gelesen werden: Das ist keine Vastrel-Datei oder sie ist beschädigt."_s))
        << error.toStdString();
    EXPECT_EQ(table.RowCount(), 2);
    EXPECT_FALSE(LoadFil(table, Path(u"fehlt.fil"_s), &error));
    EXPECT_TRUE(error.endsWith(u"Die Datei ist nicht vorhanden."_s));
    EXPECT_EQ(table.Caption(), u"Stadtlauf 2024 - 2.Tag"_s);
}

TEST_F(FilFormatTest, SavingOverAnEarlierFileReplacesIt) {
    ASSERT_TRUE(SaveFil(table, Path(u"lauf.fil"_s)));
    table.SetCellText(1, 1, u"neu"_s);
    ASSERT_TRUE(SaveFil(table, Path(u"lauf.fil"_s)));
    ResultTable back;
    ASSERT_TRUE(LoadFil(back, Path(u"lauf.fil"_s)));
    EXPECT_EQ(back.CellText(1, 1), u"neu"_s);
}

} // namespace

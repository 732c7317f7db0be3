#include "formats/FilFormat.h"
#include "GTestPrinters.h"
#include "system/FileHelpers.h"
#include "table/ColumnModel.h"
#include "table/ResultTable.h"
#include "table/TableView.h"

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
        AppendEmptyRow(table, view);
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
    TableView view{table};
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

// Whatever is changed in a stored file, by a bit flip or by hand, is refused, never loaded.
TEST_F(FilFormatTest, ADamagedOrForeignDatabaseIsRefusedAndTheTableStays) {
    ASSERT_TRUE(SaveFil(table, Path(u"gut.fil"_s)));
    const auto alter = [&](const QString& name, const QString& statement) {
        QFile::copy(Path(u"gut.fil"_s), Path(name));
        QFile::setPermissions(Path(name), QFile::ReadOwner | QFile::WriteOwner);
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, name);
            db.setDatabaseName(Path(name));
            EXPECT_TRUE(db.open());
            for (const QString& s : statement.split(u";;"_s)) {
                QSqlQuery q(db);
                EXPECT_TRUE(q.exec(s)) << s.toStdString();
            }
            db.close();
        }
        QSqlDatabase::removeDatabase(name);
    };
    alter(u"schluessel.fil"_s, u"UPDATE vastrel_columns SET key = '300m' WHERE key = '3000m'"_s);
    alter(u"spalten.fil"_s, u"DELETE FROM vastrel_columns WHERE number > 7"_s);
    alter(u"zelle.fil"_s, u"UPDATE vastrel_rows SET cells = replace(cells, '1950', '1951')"_s);
    alter(u"sicht.fil"_s, u"DROP TABLE vastrel_rows;;CREATE VIEW vastrel_rows AS WITH RECURSIVE n(x) AS "
                          u"(SELECT 1 UNION ALL SELECT x + 1 FROM n) SELECT x AS number, '' AS flagged, "
                          u"'[]' AS cells FROM n"_s);
    // A file of the first version carries no checksum: a cell that is no text is still refused,
    // never read as an empty cell.
    for (const auto& [name, cell] : {std::pair{u"zahl.fil"_s, u"1950"_s}, std::pair{u"null.fil"_s, u"null"_s},
                                     std::pair{u"objekt.fil"_s, u"{\"a\":1}"_s}}) {
        alter(name, u"UPDATE vastrel_meta SET value = '1' WHERE key = 'version';;"
                    u"UPDATE vastrel_rows SET cells = replace(cells, '\"1950\"', '%1')"_s.arg(cell));
    }
    QByteArray bytes;
    {
        QFile good(Path(u"gut.fil"_s));
        ASSERT_TRUE(good.open(QIODevice::ReadOnly));
        bytes = good.readAll();
    }
    int flipped = 0;
    for (qsizetype at = 100; at < bytes.size(); at += bytes.size() / 40) {
        QByteArray damaged = bytes;
        damaged[at] = static_cast<char>(damaged[at] ^ 0x10);
        QFile f(Path(u"bit%1.fil"_s.arg(flipped++)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(damaged);
    }
    QStringList names = {u"schluessel.fil"_s, u"spalten.fil"_s, u"zelle.fil"_s, u"sicht.fil"_s,
                         u"zahl.fil"_s,       u"null.fil"_s,    u"objekt.fil"_s};
    for (int i = 0; i < flipped; ++i) {
        names << u"bit%1.fil"_s.arg(i);
    }
    int loaded = 0;
    for (const QString& name : names) {
        ResultTable back;
        QString error;
        if (LoadFil(back, Path(name), &error)) {
            ++loaded; // a flip in unused space changes nothing that is read
            EXPECT_EQ(back.ColumnCount(), 33) << name.toStdString();
            EXPECT_EQ(back.CellText(1, u"geb."), u"1950"_s) << name.toStdString();
        } else {
            EXPECT_TRUE(error.endsWith(u"Das ist keine Vastrel-Datei oder sie ist beschädigt."_s))
                << name.toStdString();
        }
    }
    for (const QString& name : names.mid(0, 7)) {
        EXPECT_FALSE(LoadFil(table, Path(name))) << name.toStdString();
    }
    EXPECT_EQ(table.RowCount(), 2);
    EXPECT_LT(loaded, flipped);
}

TEST_F(FilFormatTest, ASaveKeepsPermissionsRefusesWriteProtectedFilesAndClearsStaleTemporaries) {
    QFile stale(Path(u".vastrel-AbC123.fil"_s));
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly)); // left by a save that was killed
    stale.close();
    ASSERT_TRUE(SaveFil(table, Path(u"lauf.fil"_s)));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"lauf.fil"_s});
    EXPECT_EQ(QFile::permissions(Path(u"lauf.fil"_s)) & QFile::ReadGroup,
              NewFilePermissions() & QFile::ReadGroup);

    const auto shared = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::WriteGroup;
    ASSERT_TRUE(QFile::setPermissions(Path(u"lauf.fil"_s), shared));
    ASSERT_TRUE(SaveFil(table, Path(u"lauf.fil"_s)));
    EXPECT_EQ(QFile::permissions(Path(u"lauf.fil"_s)) & ~QFile::Permissions(0x0F00), shared);

    ASSERT_TRUE(QFile::setPermissions(Path(u"lauf.fil"_s), QFile::ReadOwner)); // write-protected
    QString error;
    EXPECT_FALSE(SaveFil(table, Path(u"lauf.fil"_s), &error));
    EXPECT_TRUE(error.endsWith(u"Die Datei ist schreibgeschützt."_s)) << error.toStdString();
    EXPECT_EQ(QFile::permissions(Path(u"lauf.fil"_s)) & ~QFile::Permissions(0x0F00), QFile::ReadOwner);
}

// A file an outside tool turned to WAL mode opens like any other, in a folder that is writable
// and in one that is not, and leaves no files beside itself.
TEST_F(FilFormatTest, AFileInWalModeOpensAndLeavesNothingBesideIt) {
    ASSERT_TRUE(QDir(dir.path()).mkdir(u"wal"_s));
    const QString path = Path(u"wal/lauf.fil"_s);
    ASSERT_TRUE(SaveFil(table, path));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"wal"_s);
        db.setDatabaseName(path);
        ASSERT_TRUE(db.open());
        QSqlQuery q(db);
        ASSERT_TRUE(q.exec(u"PRAGMA journal_mode=WAL"_s) && q.next());
        EXPECT_EQ(q.value(0).toString(), u"wal"_s);
        q.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(u"wal"_s);
    ASSERT_EQ(QDir(Path(u"wal"_s)).entryList(QDir::Files), QStringList{u"lauf.fil"_s});
    for (const bool writable : {true, false}) {
        QFile::setPermissions(Path(u"wal"_s), writable
                                                  ? QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                                  : QFile::ReadOwner | QFile::ExeOwner);
        ResultTable back;
        QString error;
        EXPECT_TRUE(LoadFil(back, path, &error)) << writable << error.toStdString();
        EXPECT_EQ(back.CellText(1, u"Gesamt"), u"😀 Dvořák"_s) << writable;
        EXPECT_EQ(QDir(Path(u"wal"_s)).entryList(QDir::Files), QStringList{u"lauf.fil"_s}) << writable;
    }
    QFile::setPermissions(Path(u"wal"_s), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

} // namespace

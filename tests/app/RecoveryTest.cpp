#include "app/Recovery.h"
#include "GTestPrinters.h"
#include "table/ColumnModel.h"
#include "table/ResultTable.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace vastrel;

namespace {

class RecoveryTest : public ::testing::Test {
protected:
    RecoveryTest() : recovery(dir.filePath(u"wiederherstellen"_s)) {
        DefineColumns(table, [](const QString& t) { return t.size() * 100.0; });
        table.AddRow(u"1\t2024\t\tw\t\tMeier, Anna"_s);
    }
    void Touch(const QString& path, const QDateTime& when) {
        QFile f(path);
        if (!f.exists()) {
            EXPECT_TRUE(f.open(QIODevice::WriteOnly));
            f.close();
        }
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(when, QFileDevice::FileModificationTime));
    }

    QTemporaryDir dir;
    ResultTable table;
    Recovery recovery;
};

TEST_F(RecoveryTest, OnlyChangesNewerThanTheirFileAreOffered) {
    const QString own = dir.filePath(u"Lauf.csv"_s);
    ASSERT_TRUE(recovery.Write(table, own));
    const QDateTime written(QDate(2026, 12, 8), QTime(23, 42));
    Touch(recovery.FilePath(), written);
    auto found = recovery.Pending(); // its own file is not there at all
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->ownFile, own);
    EXPECT_EQ(RecoveryQuestion(*found),
              u"Es gibt ungesicherte Änderungen vom 08.12.2026 23:42 (Datei Lauf.csv). Wiederherstellen?"_s);
    Touch(own, written.addSecs(-60));
    EXPECT_TRUE(recovery.Pending().has_value()); // saved before the last change
    Touch(own, written.addSecs(60));
    EXPECT_FALSE(recovery.Pending().has_value()); // saved after it

    ResultTable back;
    ASSERT_TRUE(recovery.Restore(back));
    EXPECT_EQ(back.CellText(1, u"Name Vorname"), u"Meier, Anna"_s);
}

TEST_F(RecoveryTest, NoIsKeptAsideAStartRemovesLeftoversAndANormalEndTheRest) {
    ASSERT_TRUE(recovery.Write(table, QString()));
    ASSERT_TRUE(recovery.Pending().has_value());
    EXPECT_TRUE(
        RecoveryQuestion(*recovery.Pending()).endsWith(u"(noch nicht gespeichert). Wiederherstellen?"_s));
    recovery.KeepAside();
    EXPECT_FALSE(recovery.Pending().has_value());
    QFile leftover(dir.filePath(u"wiederherstellen/.vastrel-AbC123.fil"_s)); // a killed autosave's
    ASSERT_TRUE(leftover.open(QIODevice::WriteOnly));
    leftover.close();
    recovery.RemoveLeftovers();
    EXPECT_FALSE(leftover.exists());
    EXPECT_EQ(QDir(dir.filePath(u"wiederherstellen"_s)).entryList({u"recovery-*.fil"_s}).size(), 1);
    ASSERT_TRUE(recovery.Write(table, QString()));
    recovery.Discard();
    EXPECT_FALSE(recovery.Pending().has_value());
}

TEST_F(RecoveryTest, AFileNamedAsTypedIsFoundFromAnotherFolder) {
    const QString started = QDir::currentPath();
    ASSERT_TRUE(QDir(dir.path()).mkpath(u"a"_s) && QDir(dir.path()).mkpath(u"b"_s));
    ASSERT_TRUE(QDir::setCurrent(dir.filePath(u"a"_s)));
    ASSERT_TRUE(recovery.Write(table, u"Lauf.csv"_s)); // "vastrel Lauf.csv" in folder a
    const QDateTime written(QDate(2026, 12, 8), QTime(23, 42));
    Touch(recovery.FilePath(), written);
    ASSERT_TRUE(QDir::setCurrent(dir.filePath(u"b"_s)));
    Touch(dir.filePath(u"b/Lauf.csv"_s), written.addSecs(60)); // another, newer file of that name
    const auto found = recovery.Pending();
    QDir::setCurrent(started);
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->ownFile, dir.filePath(u"a/Lauf.csv"_s));
}

} // namespace

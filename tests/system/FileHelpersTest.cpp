#include "system/FileHelpers.h"
#include "GTestPrinters.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

using namespace Qt::StringLiterals;
using namespace vastrel;

namespace {

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

TEST(GetField, ReturnsTheTrimmedPieceOrNothing) {
    EXPECT_EQ(GetField(u"a;b;c"_s, 2, u";"_s), u"b"_s);
    EXPECT_EQ(GetField(u"a;b;c"_s, 4, u";"_s), QString());
    EXPECT_EQ(GetField(u"a;b;c"_s, 0, u";"_s), QString());
    EXPECT_EQ(GetField(u" Lauf .2024.txt"_s, 1, u"."_s), u"Lauf"_s);
    EXPECT_EQ(GetField(u"a\t;b\tc"_s, 2, u";"_s), u"bc"_s); // TABs go first
    EXPECT_EQ(GetField(u"a;;c"_s, 2, u";"_s), QString());
    EXPECT_EQ(GetField(u""_s, 1, u";"_s), QString());
    EXPECT_EQ(GetField(u"ab"_s, 1, QString()), u"ab"_s);
}

TEST(RemoveBlanks, RemovesOnlyBlanks) {
    EXPECT_EQ(RemoveBlanks(u" Meier , Hans "_s), u"Meier,Hans"_s);
    EXPECT_EQ(RemoveBlanks(u"a\tb c"_s), u"a\tbc"_s);
    EXPECT_EQ(RemoveBlanks(QString()), QString());
}

TEST(ReplaceExtension, PutsTheExtensionOnTheName) {
    const struct {
        QString path;
        QString expected;
    } cases[] = {
        {u"Lauf"_s, u"Lauf.csv"_s},
        {u"Lauf.txt"_s, u"Lauf.csv"_s},
        {u"Lauf.2024.txt"_s, u"Lauf.csv"_s},
        {u"C:\\Wettkampf.2024\\Lauf"_s, u"C:\\Wettkampf.2024\\Lauf.csv"_s},
        {u"C:\\Wettkampf.2024\\Lauf.alt.fil"_s, u"C:\\Wettkampf.2024\\Lauf.csv"_s},
        {u"/home/anna/Wettkampf.2024/Lauf"_s, u"/home/anna/Wettkampf.2024/Lauf.csv"_s},
        {u"/home/anna/Wettkampf.2024/Lauf .xls"_s, u"/home/anna/Wettkampf.2024/Lauf.csv"_s},
        {QString(), QString()},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReplaceExtension(c.path, u"csv"_s), c.expected) << c.path.toStdString();
    }
}

TEST(FileExists, TellsFilesFromFoldersAndNothing) {
    QTemporaryDir dir;
    const QString file = dir.filePath(u"a.txt"_s);
    EXPECT_FALSE(FileExists(file));
    ASSERT_TRUE(WriteTextFile(file, QString()));
    EXPECT_TRUE(FileExists(file));
    EXPECT_FALSE(FileExists(dir.path()));
    EXPECT_FALSE(FileExists(QString()));
}

TEST(WriteTextFile, WritesTheTextAndOneLineEnd) {
    QTemporaryDir dir;
    const QString file = dir.filePath(u"vst.htm"_s);
    ASSERT_TRUE(WriteTextFile(file, QString()));
    EXPECT_EQ(ReadAll(file), QByteArrayLiteral("\r\n"));
    ASSERT_TRUE(WriteTextFile(file, u"Grüße"_s));
    EXPECT_EQ(ReadAll(file), QByteArrayLiteral("Gr\xFC\xDF"
                                               "e\r\n"));
}

TEST(WriteTextFile, ReportsAFailureAndKeepsTheOldFile) {
    QTemporaryDir dir;
    QString error;
    EXPECT_FALSE(WriteTextFile(dir.filePath(u"fehlt/x.txt"_s), u"x"_s, &error));
    EXPECT_TRUE(error.startsWith(u"Die Datei \""_s)) << error.toStdString();

    // A folder standing where the file should go cannot be replaced: it stays as it was.
    const QString occupied = dir.filePath(u"belegt"_s);
    ASSERT_TRUE(QDir(dir.path()).mkdir(u"belegt"_s));
    ASSERT_TRUE(WriteTextFile(QDir(occupied).filePath(u"inhalt.txt"_s), u"alt"_s));
    EXPECT_FALSE(WriteTextFile(occupied, u"neu"_s, &error));
    EXPECT_EQ(ReadAll(QDir(occupied).filePath(u"inhalt.txt"_s)), QByteArrayLiteral("alt\r\n"));
}

#ifdef Q_OS_UNIX
// Small files are written only when the file is closed: a write that fails there (here the file
// size limit stands for a full disk) must leave the old file and say so, as a failure earlier does.
TEST(WriteFileAtomically, AWriteFailingAtTheLastFlushKeepsTheOldFileAndSaysSo) {
    QTemporaryDir dir;
    const QString file = dir.filePath(u"lauf.csv"_s);
    ASSERT_TRUE(WriteFileAtomically(file, QByteArray("alt")));
    struct rlimit before {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &before), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = before;
    small.rlim_cur = 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    QString error;
    const QList<qsizetype> sizes = {2000, 15000, 40000}; // within the buffer, at its edge, beyond it
    QList<bool> written;
    for (qsizetype size : sizes) {
        written << WriteFileAtomically(file, QByteArray(size, 'x'), &error);
    }
    setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(written, QList<bool>({false, false, false}));
    EXPECT_EQ(ReadAll(file), QByteArray("alt"));
    EXPECT_EQ(error, u"Die Datei \""_s + QDir::toNativeSeparators(file) +
                         u"\" konnte nicht geschrieben werden: Die Datei lässt sich nicht schreiben."_s);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({u"lauf.csv"_s})); // no temporaries
}
#endif

} // namespace

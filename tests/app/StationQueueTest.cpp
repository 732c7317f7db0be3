#include "app/StationQueue.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace vastrel;

namespace {

QueuedChange Cell(RowId row, int column, const QString& text, std::optional<int> seen, bool undone = false) {
    return QueuedChange::OfCell(row, row - 1, column, text, seen, undone);
}

TEST(StationQueueTest, EveryTextComesBackAsItWasKeptInOrder) {
    QTemporaryDir dir;
    StationQueue queue(dir.path(), u"vastrel@127.0.0.1:5432/vastrel"_s, 7, u"Ziel"_s);
    QueuedChange added = QueuedChange::OfRow(QueuedChange::Kind::RowAdded, 40);
    added.position = 39;
    added.cells = {u"1"_s, QString(), u"O'Brien\"; DROP TABLE x; --"_s};
    const std::vector<QueuedChange> first = {added, Cell(40, 9, u"8.1"_s, 0)};
    const std::vector<QueuedChange> second = {
        Cell(3, 5, u"Zeile eins\r\nZeile zwei\tTAB \\ \"\u00e4\u00df\u20ac"_s, 12, true),
        Cell(3, 8, QString(65535, u'x'), std::nullopt),
        QueuedChange::OfRow(QueuedChange::Kind::RowRemoved, 2),
        QueuedChange::OfEventName(u"Sommerlauf \"26\""_s, u"Lauf 2026"_s)};
    ASSERT_TRUE(queue.Append(first, nullptr));
    ASSERT_TRUE(queue.Append(second, nullptr));
    std::vector<QueuedChange> all = first;
    all.insert(all.end(), second.begin(), second.end());
    EXPECT_EQ(queue.Read(), all);

    // Another competition or station keeps its own.
    EXPECT_TRUE(StationQueue(dir.path(), u"vastrel@127.0.0.1:5432/vastrel"_s, 8, u"Ziel"_s).Read().empty());
    EXPECT_TRUE(StationQueue(dir.path(), u"vastrel@127.0.0.1:5432/vastrel"_s, 7, u"Start"_s).Read().empty());

    ASSERT_TRUE(queue.Rewrite(std::span(all).subspan(3), nullptr));
    EXPECT_EQ(queue.Read(), (std::vector<QueuedChange>{all[3], all[4], all[5]}));
    ASSERT_TRUE(queue.Rewrite({}, nullptr));
    EXPECT_FALSE(QFile::exists(queue.Path()));
}

TEST(StationQueueTest, ALineACrashCutShortIsLeftOutAndADiskThatRefusesIsNamed) {
    QTemporaryDir dir;
    StationQueue queue(dir.path(), u"server"_s, 1, u"Ziel"_s);
    ASSERT_TRUE(queue.Append(std::vector{Cell(1, 9, u"8.1"_s, 3)}, nullptr));
    QFile file(queue.Path());
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write(R"({"row":1,"position":0,"column":11,"te)");
    file.close();
    EXPECT_EQ(queue.Read(), std::vector{Cell(1, 9, u"8.1"_s, 3)});

    QFile blocker(dir.filePath(u"file"_s));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    StationQueue nowhere(dir.filePath(u"file"_s), u"server"_s, 1, u"Ziel"_s);
    QString error;
    EXPECT_FALSE(nowhere.Append(std::vector{Cell(1, 9, u"8.1"_s, 3)}, &error));
    EXPECT_EQ(error,
              u"Die Datei \"%1\" konnte nicht geschrieben werden: Der Ordner ist nicht vorhanden."_s.arg(
                  nowhere.Path()));
}

} // namespace

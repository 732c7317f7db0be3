#include "formats/CellsJson.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QRandomGenerator>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace vastrel;

namespace {

std::optional<QStringList> Read(const QString& json, int columns) {
    QString buffer;
    std::vector<QStringView> fields;
    if (!CellsFromJson(json, columns, buffer, fields)) {
        return std::nullopt;
    }
    QStringList texts;
    for (QStringView f : fields) {
        texts << f.toString();
    }
    return texts;
}

TEST(CellsFromJson, ReadsAnArrayOfTexts) {
    const struct {
        QString json;
        int columns;
        QStringList cells;
    } cases[] = {
        {u"[\"a\",\"b\"]"_s, 3, {u"a"_s, u"b"_s, u""_s}},
        {u"[]"_s, 2, {u""_s, u""_s}},
        {u" \r\n[ \"a\" ,\t\"\" ]\n"_s, 2, {u"a"_s, u""_s}}, // as a tool may have laid it out
        {u"[\"a\",\"b\",\"c\"]"_s, 2, {u"a"_s, u"b"_s}},
        {u"[\"\\\"\\\\\\/\\b\\f\\n\\r\\t\"]"_s, 1, {u"\"\\/\b\f\n\r\t"_s}},
        {u"[\"\\u00e4\\u00C4\\u0001x\"]"_s, 1, {u"äÄ\u0001x"_s}},
        {u"[\"\\ud83c\\udfc3 L\u00e4ufer\"]"_s, 1, {u"🏃 Läufer"_s}},
        {u"[\"Zeile 1\r\nZeile 2\u0001\"]"_s, 1, {u"Zeile 1\r\nZeile 2\u0001"_s}}, // raw, as typed in a tool
        {u"[\"\\q\\,\"]"_s, 1, {u"q,"_s}},
        {u"[\"\\ud83c\\ud83c\\udfc3\\udfc3\"]"_s, 1, {u"\uFFFD🏃\uFFFD"_s}}, // half a pair is unreadable
        {u"[\"Meier; \\\"Hans\\\"\",\"8,2\"]"_s, 2, {u"Meier; \"Hans\""_s, u"8,2"_s}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.json.toStdString());
        EXPECT_EQ(Read(c.json, c.columns), c.cells);
    }
}

TEST(CellsFromJson, RefusesAnythingButAnArrayOfTexts) {
    const QString damaged[] = {
        u""_s,
        u"["_s,
        u"[\"a\""_s,
        u"[\"a\",]"_s,
        u"[,\"a\"]"_s,
        u"[\"a\"]x"_s,
        u"[\"a\"][]"_s,
        u"[1]"_s,
        u"[\"a\",null]"_s,
        u"[[\"a\"]]"_s,
        u"{\"a\":\"b\"}"_s,
        u"\"a\""_s,
        u"[\"a\" \"b\"]"_s,

        u"[\"\\u12\"]"_s,
        u"[\"\\ä\"]"_s,
        u"[\"\\u12g4\"]"_s,
        u"[\"\\"_s,
        u"[\"a\"\u00a0]"_s,
    };
    for (const QString& json : damaged) {
        SCOPED_TRACE(json.toStdString());
        EXPECT_EQ(Read(json, 3), std::nullopt);
    }
}

// Files written before were read with Qt's JSON reader: every array of texts it took, and only
// those, is read alike.
TEST(CellsFromJson, AgreesWithAGeneralJsonReader) {
    const QString alphabet = u"[[]]\"\"\",,\\\\ u0a41bnt/xä\u0001"_s;
    QRandomGenerator random(2024);
    int arrays = 0;
    for (int i = 0; i < 60000; ++i) {
        QString json = u"[\""_s;
        const int length = random.bounded(12);
        for (int k = 0; k < length; ++k) {
            json += alphabet[random.bounded(alphabet.size())];
        }
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(json.toUtf8(), &error);
        std::optional<QStringList> expected;
        if (error.error == QJsonParseError::NoError && document.isArray()) {
            QStringList texts;
            for (const QJsonValue& v : document.array()) {
                texts << v.toString();
            }
            const bool allTexts = std::all_of(document.array().begin(), document.array().end(),
                                              [](const QJsonValue& v) { return v.isString(); });
            if (allTexts) {
                expected = texts;
            }
        }
        const auto read = Read(json, 64);
        ASSERT_EQ(read.has_value(), expected.has_value()) << json.toStdString();
        if (expected) {
            ++arrays;
            EXPECT_EQ(read->mid(0, expected->size()), *expected) << json.toStdString();
        }
    }
    EXPECT_GT(arrays, 200); // the inputs reach the accepting side too
}

} // namespace

#include "system/TextEncoding.h"
#include "GTestPrinters.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace vastrel;

namespace {

// Bytes of UTF-16 that hold half of a surrogate pair: it can be written to no file, so it
// never reaches the table.
TEST(TextEncoding, HalfASurrogatePairInUtf16IsReadAsTheReplacementCharacter) {
    const struct {
        QByteArray bigEndian; // after the byte-order mark
        QString text;
    } cases[] = {
        {QByteArrayLiteral("\xD8\x3C\xDF\xC3"), u"🏃"_s},
        {QByteArrayLiteral("\xD8\x3C\x00\x41"), u"\uFFFDA"_s},
        {QByteArrayLiteral("\x00\x41\xDF\xC3"), u"A\uFFFD"_s},
        {QByteArrayLiteral("\xD8\x3C"), u"\uFFFD"_s},
        {QByteArrayLiteral("\xDF\xC3\xD8\x3C\xDF\xC3\xD8\x3C"), u"\uFFFD🏃\uFFFD"_s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bigEndian.toHex().toStdString());
        EXPECT_EQ(DecodeTextFile(QByteArrayLiteral("\xFE\xFF") + c.bigEndian), c.text);
        QByteArray little;
        for (qsizetype i = 0; i + 1 < c.bigEndian.size(); i += 2) {
            little += c.bigEndian[i + 1];
            little += c.bigEndian[i];
        }
        EXPECT_EQ(DecodeTextFile(QByteArrayLiteral("\xFF\xFE") + little), c.text);
        EXPECT_EQ(DecodeTextFile(EncodeTextFile(c.text)), c.text); // and it saves as it reads
    }
}

TEST(TextEncoding, DecodesUtf8WithAndWithoutByteOrderMark) {
    const QByteArray utf8 = QByteArrayLiteral("M\xC3\xBCller;\xE2\x82\xAC");
    EXPECT_EQ(DecodeTextFile(utf8), u"Müller;€"_s);
    EXPECT_EQ(DecodeTextFile(QByteArrayLiteral("\xEF\xBB\xBF") + utf8), u"Müller;€"_s);
}

TEST(TextEncoding, FallsBackToWindows1252ForInvalidUtf8) {
    EXPECT_EQ(DecodeTextFile(QByteArrayLiteral("M\xFCller \x80 \x84Gru\xDF\x93")), u"Müller € „Gruß“"_s);
}

TEST(TextEncoding, EveryWindows1252ByteSurvivesARoundTrip) {
    QByteArray all;
    for (int b = 1; b < 256; ++b) {
        all.append(static_cast<char>(b));
    }
    const QString text = FromWindows1252(all);
    EXPECT_EQ(text.size(), all.size());
    EXPECT_TRUE(FitsWindows1252(text));
    EXPECT_EQ(ToWindows1252(text), all);
    const QByteArray large = all.repeated(5000); // decoded in two halves
    EXPECT_EQ(FromWindows1252(large), text.repeated(5000));
}

TEST(TextEncoding, WritesWindows1252WhenEverythingFits) {
    EXPECT_EQ(EncodeTextFile(u"Müller;€;Straße"_s), QByteArrayLiteral("M\xFCller;\x80;Stra\xDF"
                                                                      "e"));
}

TEST(TextEncoding, WritesUtf8WithByteOrderMarkOtherwise) {
    const QString text = u"Dvořák;Łódź"_s;
    const QByteArray bytes = EncodeTextFile(text);
    EXPECT_TRUE(bytes.startsWith(QByteArrayLiteral("\xEF\xBB\xBF")));
    EXPECT_EQ(DecodeTextFile(bytes), text);
}

TEST(TextEncoding, AsciiIsTheSameEitherWay) {
    EXPECT_EQ(EncodeTextFile(u"Lauf;Datum\r\n"_s), QByteArrayLiteral("Lauf;Datum\r\n"));
    EXPECT_EQ(DecodeTextFile(QByteArrayLiteral("Lauf;Datum\r\n")), u"Lauf;Datum\r\n"_s);
}

// 8-bit text whose bytes happen to be valid UTF-8 would read back as other characters.
TEST(TextEncoding, EightBitTextThatReadsAsUtf8IsWrittenAsUtf8) {
    for (const QString& text : {u"MÃ¼ller"_s, u"ï»¿Anfang"_s, u"Ã©t\u00e9"_s}) {
        const QByteArray bytes = EncodeTextFile(text);
        EXPECT_EQ(DecodeTextFile(bytes), text) << text.toStdString();
    }
    EXPECT_TRUE(EncodeTextFile(u"MÃ¼ller"_s).startsWith("\xEF\xBB\xBF"));
    EXPECT_EQ(EncodeTextFile(u"Müller"_s), QByteArray("M\xFCller")); // plain 8-bit text stays 8-bit
}

} // namespace

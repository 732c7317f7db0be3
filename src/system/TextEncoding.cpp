#include "system/TextEncoding.h"

#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <cstdint>

namespace vastrel {

namespace {

// Bytes 0x80..0x9F of Windows-1252. The five bytes the code page leaves undefined map to the
// C1 control of the same value, as Windows itself does, so a round trip never loses a byte.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

int Windows1252Byte(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
        return c;
    }
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == c) {
            return static_cast<int>(0x80 + i);
        }
    }
    return -1;
}

const QByteArray kUtf8Bom = QByteArrayLiteral("\xEF\xBB\xBF");

} // namespace

bool FitsWindows1252(QStringView text) {
    for (QChar c : text) {
        if (Windows1252Byte(c.unicode()) < 0) {
            return false;
        }
    }
    return true;
}

QByteArray ToWindows1252(QStringView text) {
    QByteArray out(text.size(), Qt::Uninitialized);
    char* dst = out.data();
    for (QChar c : text) {
        const int b = Windows1252Byte(c.unicode());
        *dst++ = static_cast<char>(b < 0 ? '?' : b);
    }
    return out;
}

QString FromWindows1252(const QByteArray& bytes) {
    QString out(bytes.size(), Qt::Uninitialized);
    QChar* dst = out.data();
    for (const char byte : bytes) {
        const auto b = static_cast<unsigned char>(byte);
        *dst++ = QChar(b >= 0x80 && b < 0xA0 ? kHighControls[b - 0x80] : char16_t(b));
    }
    return out;
}

void ReplaceLoneSurrogates(QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            ++i; // a whole pair
        } else if (c.isSurrogate()) {
            text[i] = QChar::ReplacementCharacter;
        }
    }
}

QString DecodeTextFile(const QByteArray& bytes) {
    // Windows programs write UTF-16 with a byte-order mark; read as 8 bits it would hold NULs.
    for (const auto& [bom, encoding] : {std::pair{QByteArrayView("\xFF\xFE"), QStringConverter::Utf16LE},
                                        std::pair{QByteArrayView("\xFE\xFF"), QStringConverter::Utf16BE}}) {
        if (bytes.startsWith(bom)) {
            QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
            QString text = decoder(QByteArrayView(bytes).sliced(bom.size()));
            ReplaceLoneSurrogates(text);
            return text;
        }
    }
    // Checked before decoding: an 8-bit file is then decoded once, not twice.
    if (!QByteArrayView(bytes).isValidUtf8()) {
        return FromWindows1252(bytes);
    }
    const QByteArrayView body =
        bytes.startsWith(kUtf8Bom) ? QByteArrayView(bytes).sliced(kUtf8Bom.size()) : QByteArrayView(bytes);
    return QString::fromUtf8(body);
}

QByteArray EncodeTextFile(const QString& text) {
    TextFileEncoder encoder;
    encoder.Consider(text);
    QByteArray bytes = encoder.Start();
    encoder.Append(text, bytes);
    return bytes;
}

void TextFileEncoder::Consider(QStringView piece) {
    if (std::all_of(piece.begin(), piece.end(), [](QChar c) { return c.unicode() < 0x80; })) {
        return;
    }
    anyNonAscii_ = true;
    if (!allFit_ || !FitsWindows1252(piece)) {
        allFit_ = false;
        return;
    }
    // «MÃ¼ller» in 8 bits is valid UTF-8 and would come back as «Müller»: 8-bit bytes are read
    // back as themselves only when they are no valid UTF-8.
    if (!anyInvalidUtf8_ && !QByteArrayView(ToWindows1252(piece)).isValidUtf8()) {
        anyInvalidUtf8_ = true;
    }
}

QByteArray TextFileEncoder::Start() const {
    return UsesUtf8() ? kUtf8Bom : QByteArray();
}

void TextFileEncoder::Append(QStringView text, QByteArray& out) const {
    if (UsesUtf8()) {
        out += text.toUtf8();
        return;
    }
    const qsizetype at = out.size();
    out.resize(at + text.size());
    char* dst = out.data() + at;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        const int b = u < 0x80 ? u : Windows1252Byte(u);
        *dst++ = static_cast<char>(b < 0 ? '?' : b);
    }
}

} // namespace vastrel

#pragma once

#include <QByteArray>
#include <QString>

namespace vastrel {

// Text files are read as UTF-8 when the bytes are valid UTF-8 (a byte-order mark is dropped),
// otherwise as Windows-1252. Nothing is ever replaced: every byte maps to a character.
QString DecodeTextFile(const QByteArray& bytes);

// Written as Windows-1252 when every character fits and the bytes read back as the same text,
// otherwise as UTF-8 with a byte-order mark, so that no character is lost and older tools still
// read plain files.
QByteArray EncodeTextFile(const QString& text);

// The same choice for a file written piece by piece: every piece is looked at first, then the
// pieces are encoded. Pieces must be whole fields, which the file parts by ASCII characters:
// the bytes are then valid UTF-8 exactly when every piece's are.
class TextFileEncoder {
public:
    void Consider(QStringView piece);
    bool UsesUtf8() const { return !allFit_ || (anyNonAscii_ && !anyInvalidUtf8_); }
    QByteArray Start() const; // what the file starts with: the byte-order mark, or nothing
    void Append(QStringView text, QByteArray& out) const;

private:
    bool allFit_ = true;
    bool anyNonAscii_ = false;
    bool anyInvalidUtf8_ = false;
};

bool FitsWindows1252(QStringView text);
QByteArray ToWindows1252(QStringView text); // only for text that fits
QString FromWindows1252(const QByteArray& bytes);

// Half of a surrogate pair alone is no character: no file could keep it, so it is read as
// U+FFFD (the character for "not readable") before it reaches the table.
void ReplaceLoneSurrogates(QString& text);

} // namespace vastrel

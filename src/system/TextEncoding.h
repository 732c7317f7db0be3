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

bool FitsWindows1252(const QString& text);
QByteArray ToWindows1252(const QString& text); // only for text that fits
QString FromWindows1252(const QByteArray& bytes);

} // namespace vastrel

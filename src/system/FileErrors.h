#pragma once

#include <QString>

class QFileDevice;

namespace vastrel {

// A file whose owner may not write it ("read-only"): the program never replaces it, whoever
// runs it.
bool IsWriteProtected(const QString& path);

// Why a file could not be read or written, in German, for the message that names the file.
QString ReadFailureReason(const QFileDevice& file);
QString WriteFailureReason(const QFileDevice& file);
// The same when there is no open file to ask, only the path that could not be written.
QString WriteFailureReason(const QString& path);

// "Die Datei "…" konnte nicht gelesen werden: <reason>" and the same for writing.
QString ReadFailureMessage(const QString& path, const QString& reason);
QString WriteFailureMessage(const QString& path, const QString& reason);

} // namespace vastrel

#pragma once

#include <QString>

class QFileDevice;

namespace vastrel {

// Why a file could not be read or written, in German, for the message that names the file.
QString ReadFailureReason(const QFileDevice& file);
QString WriteFailureReason(const QFileDevice& file);

// "Die Datei "…" konnte nicht gelesen werden: <reason>" and the same for writing.
QString ReadFailureMessage(const QString& path, const QString& reason);
QString WriteFailureMessage(const QString& path, const QString& reason);

} // namespace vastrel

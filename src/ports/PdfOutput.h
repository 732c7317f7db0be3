#pragma once

#include <QString>
#include <QStringList>

namespace vastrel {

// Turns finished HTML pages into one PDF; the window and the command-line tool hand the commands
// one drawn by Qt. Failures come back as a German message.
class PdfOutput {
public:
    virtual ~PdfOutput() = default;
    // One A4 page (portrait) per certificate, titled `title`.
    virtual bool WriteCertificates(const QStringList& htmlPages, const QString& path, const QString& title,
                                   QString* errorMessage) = 0;
};

} // namespace vastrel

#pragma once

#include "ports/PdfOutput.h"

#include <QString>

namespace vastrel {

// The report page as a PDF: A4 landscape, the competition's title as the document's title.
// Written whole or not at all; a failure comes back as a German message.
bool WriteReportPdf(const QString& html, const QString& path, const QString& title, QString* errorMessage);

// The certificates of a run as one PDF, drawn by Qt.
class QtPdfOutput : public PdfOutput {
public:
    bool WriteCertificates(const QStringList& htmlPages, const QString& path, const QString& title,
                           QString* errorMessage) override;
};

} // namespace vastrel

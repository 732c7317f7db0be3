#pragma once

#include <QString>

class QWidget;

namespace vastrel {

// The report page in a print preview, A4 landscape, from which the user prints or saves a PDF.
void ShowReportPreview(QWidget* parent, const QString& htmlPath);

} // namespace vastrel

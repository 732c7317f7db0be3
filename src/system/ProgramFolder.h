#pragma once

#include <QString>

namespace vastrel {

// The program's own folder, where the certificate template lives.
QString ProgramFolder();

// Where the program writes its own files (the report folder, the web help page): the program's
// folder when it may be written, otherwise the per-user data folder. No trailing separator.
QString WritableProgramFolder();

// The certificate template: "Urkunde.rtf" beside the program, or where an installation put it.
QString FindCertificateTemplate(const QString& templateName);

} // namespace vastrel

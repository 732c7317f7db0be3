#pragma once

#include "formats/CertificateTemplate.h"

#include <QString>
#include <QStringList>

namespace vastrel {

class PdfOutput;
class TableView;
class Ui;
struct MainWindowState;

// What the user's settings remember: the option "als eine PDF-Datei", the folder last written to.
inline const QString kCertificatesPdfSetting = QStringLiteral("certificates/pdf");
inline const QString kCertificateFolderSetting = QStringLiteral("certificates/lastFolder");

// The file name of a certificate without ".rtf": the name with "," as "_" and no blanks,
// "Fehler.txt" for an empty name, and any character a file name may not hold as "_"; a name too
// long for a file name is cut.
QString CertificateBaseName(const QString& name);

// What a certificate menu item ("Urkunde1Tag" … "UrkundeKomplett") puts on the certificate;
// another key fills only the name.
CertificateScope CertificateScopeOf(const QString& variant);

// "Urkunde": one certificate per selected row, from the template, into the folder the user
// types or chooses (offered: defaultFolder; made when missing), for the day of the menu item last
// chosen. A file that is already there is never replaced: the certificate gets "_2", "_3". One
// notice at the end says how many went where. Answers the files written.
// With the option "als eine PDF-Datei" (and a PDF writer) the run is one PDF, "Urkunden.pdf",
// from the HTML template beside the RTF one.
QStringList WriteCertificates(TableView& view, Ui& ui, const MainWindowState& state,
                              const QString& templatePath, const QString& defaultFolder,
                              PdfOutput* pdf = nullptr);

} // namespace vastrel

#pragma once

#include <QString>
#include <QStringList>

namespace vastrel {

class ResultTable;
class Ui;
struct MainWindowState;

// Cell text made safe for RTF: "\", "{" and "}" escaped, characters beyond ASCII as \'xx
// (Windows-1252) or \uN? (the rest).
QString RtfEscaped(const QString& text);

// The file name of a certificate without ".rtf": the name with "," as "_" and no blanks,
// "Fehler.txt" for an empty name, and any character a file name may not hold as "_".
QString CertificateBaseName(const QString& name);

// Fills the placeholders of the template for one row and one certificate variant.
QString FillCertificate(QString document, const ResultTable& table, int row, const QString& variant);

// One certificate per selected row, from the template, into the folder the user names.
// Answers the files written.
QStringList WriteCertificates(ResultTable& table, Ui& ui, const MainWindowState& state,
                              const QString& templatePath, const QString& defaultFolder);

} // namespace vastrel

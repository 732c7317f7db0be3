#pragma once

#include <QString>

namespace vastrel {

class ResultTable;

// Cell text made safe for RTF: "\", "{" and "}" escaped, characters beyond ASCII as \'xx
// (Windows-1252) or \uN? (the rest).
QString RtfEscaped(const QString& text);

// What a certificate carries besides the name: one day's times, points and sum (the sum also
// as the total), or every day and the total.
enum class CertificateScope { AllDays = 0, Day1 = 1, Day2 = 2, Day3 = 3, Day4 = 4, NameOnly = 5 };

// Fills the placeholders of an RTF template for one row. A placeholder of another day is
// emptied; with NameOnly every placeholder but the name stays as it is.
QString FillCertificate(QString document, const ResultTable& table, int row, CertificateScope scope);

} // namespace vastrel

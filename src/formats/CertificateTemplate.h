#pragma once

#include <QString>
#include <QStringView>

namespace vastrel {

class ResultTable;

// Cell text made safe for RTF: "\", "{" and "}" escaped, characters beyond ASCII as \'xx
// (Windows-1252) or \uN? (the rest).
QString RtfEscaped(const QString& text);

// What a certificate carries besides the name: one day's times, points and sum (the sum also
// as the total), or every day and the total.
enum class CertificateScope { AllDays = 0, Day1 = 1, Day2 = 2, Day3 = 3, Day4 = 4, NameOnly = 5 };

// The language of a template: cell texts are escaped for it.
enum class Markup { Rtf, Html };

// The points a certificate's place ranks by: the day's sum, or the total for all days.
QStringView PlacePointsKey(CertificateScope scope);

// Fills the placeholders of a template for one row. A placeholder of another day is emptied;
// "#Platz#" receives the place (0: none, empty). With NameOnly every placeholder but the name
// stays as it is.
QString FillCertificate(QString document, const ResultTable& table, int row, CertificateScope scope,
                        int place = 0, Markup markup = Markup::Rtf);

} // namespace vastrel

#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// The program's own number readings and writing. Cells always use the point as decimal
// separator and no grouping, whatever the machine's regional settings say, so none of these
// functions goes through a locale.
namespace vastrel {

// The longest leading decimal number of the text (optional sign, point as decimal separator);
// blanks, TABs and line feeds are skipped wherever they stand. Reading stops at the first other
// character, a comma included. No leading number reads as 0.
double ReadLenient(QStringView text);

// The whole text, blanks around it allowed, must be a decimal number with an optional sign and
// the point as decimal separator ("7", "7.85", ".5", "-3."). No exponents, no grouping.
std::optional<double> ConvertStrict(QStringView text);

// Whole numbers without decimals ("933"), others with up to 15 significant digits ("161.99898");
// never an exponent, never a thousands separator.
QString NumberToText(double value);

// Formats with one of the patterns the program uses, rounding half away from zero on the
// value's 15-digit decimal form (so 7.85 gives 7.9):
//   "#.#"  at most one decimal, no leading zero     (12.34 -> "12.3", 12 -> "12.", 0 -> ".")
//   "#.0"  exactly one decimal, no leading zero     (8 -> "8.0", 0.46 -> ".5", 0 -> ".0")
//   "#"    a whole number, no leading zero          (12.5 -> "13", 0 -> "")
// Any other pattern falls back to NumberToText.
QString FormatNumber(double value, QStringView pattern);

} // namespace vastrel

#pragma once

#include <QString>
#include <QStringView>

#include <array>
#include <optional>

// The program's own number readings and writing. Cells always use the point as decimal
// separator and no grouping, whatever the machine's regional settings say, so none of these
// functions goes through a locale.
namespace vastrel {

// The longest leading decimal number of the text (optional sign, point as decimal separator);
// blanks, TABs and line feeds are skipped wherever they stand. Reading stops at the first other
// character, a comma included. No leading number reads as 0.
double ReadLenient(QStringView text);

// A cell of nothing but blanks, TABs and line feeds holds no value: no time, no number, nothing
// to sort by. The empty text is blank.
inline bool IsBlank(QStringView text) {
    for (QChar c : text) {
        if (c != u' ' && c != u'\t' && c != u'\n') {
            return false;
        }
    }
    return true;
}

// The whole text, blanks around it allowed, must be a decimal number with an optional sign and
// the point as decimal separator ("7", "7.85", ".5", "-3."). No exponents, no grouping.
std::optional<double> ConvertStrict(QStringView text);

// A number written into a small buffer, so that hot loops can compare it with a cell's text
// without allocating. The rare longer number (a tiny value has hundreds of decimals) moves to
// the heap: no number text, however long, is ever cut or written past its end.
class NumberText {
public:
    QStringView View() const {
        return spilled_.isNull() ? QStringView(chars_.data(), size_) : QStringView(spilled_);
    }
    QString ToString() const { return View().toString(); }
    void Append(char c) {
        if (spilled_.isNull() && size_ < static_cast<qsizetype>(chars_.size())) {
            chars_[static_cast<std::size_t>(size_++)] = static_cast<char16_t>(c);
            return;
        }
        if (spilled_.isNull()) {
            spilled_ = QString(reinterpret_cast<const QChar*>(chars_.data()), size_);
        }
        spilled_ += QLatin1Char(c);
    }

private:
    std::array<char16_t, 64> chars_; // only [0, size_) is ever read
    qsizetype size_ = 0;
    QString spilled_; // the whole text once it outgrew chars_
};

// Whole numbers without decimals ("933"), others with up to 15 significant digits ("161.99898");
// never a thousands separator, and no exponent below 1e21.
NumberText WriteNumber(double value);
inline QString NumberToText(double value) {
    return WriteNumber(value).ToString();
}

// Formats with one of the patterns the program uses, rounding half away from zero on the
// value's 15-digit decimal form (so 7.85 gives 7.9):
//   "#.#"  at most one decimal, no leading zero     (12.34 -> "12.3", 12 -> "12.", 0 -> ".")
//   "#.0"  exactly one decimal, no leading zero     (8 -> "8.0", 0.46 -> ".5", 0 -> ".0")
//   "#"    a whole number, no leading zero          (12.5 -> "13", 0 -> "")
// Any other pattern writes the number as NumberToText does.
NumberText WritePattern(double value, QStringView pattern);
inline QString FormatNumber(double value, QStringView pattern) {
    return WritePattern(value, pattern).ToString();
}

// The text is what WritePattern(value, u"#.0") writes for the value it reads as ("7.5", ".0",
// "1234.5"), so writing it again would change nothing. False for any other text, also for some
// that would come back the same (long or negative numbers).
bool IsWrittenInTenths(QStringView text);

// The value the text of WritePattern(value, pattern) reads back as, without writing it.
double RoundLikePattern(double value, QStringView pattern);

// The value NumberToText's text converts back to: the number rounded to 15 significant digits.
double RoundToTextPrecision(double value);

} // namespace vastrel

#include "system/NumberText.h"

#include <array>
#include <charconv>
#include <cmath>
#include <string>

namespace vastrel {

namespace {

bool IsSkippedBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n';
}

bool IsDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

double ParseAscii(const std::string& s) {
    double value = 0.0;
    const char* begin = s.data();
    if (!s.empty() && s.front() == '+') {
        ++begin; // from_chars does not take a plus sign
    }
    auto [ptr, ec] = std::from_chars(begin, s.data() + s.size(), value);
    if (ec == std::errc::result_out_of_range) {
        return (s.front() == '-') ? -HUGE_VAL : HUGE_VAL;
    }
    return (ptr == begin) ? 0.0 : value;
}

// A decimal number as its significant digits and the power of ten of the first digit:
// 161.99898 -> digits "16199898", exponent 2.
struct DecimalDigits {
    bool negative = false;
    std::string digits; // no leading zeros; empty for zero
    int exponent = 0;
};

DecimalDigits ToDecimal15(double value) {
    DecimalDigits d;
    if (value == 0.0 || !std::isfinite(value)) {
        return d;
    }
    d.negative = value < 0;
    std::array<char, 64> buf{};
    auto res = std::to_chars(buf.data(), buf.data() + buf.size(), std::fabs(value),
                             std::chars_format::scientific, 14);
    std::string s(buf.data(), res.ptr);
    const auto e = s.find('e');
    d.exponent = std::stoi(s.substr(e + 1));
    for (char c : s.substr(0, e)) {
        if (c != '.') {
            d.digits.push_back(c);
        }
    }
    while (!d.digits.empty() && d.digits.back() == '0') {
        d.digits.pop_back();
    }
    return d;
}

// Rounds half away from zero to `decimals` places; returns integer part and fraction digits.
void RoundDecimal(const DecimalDigits& d, int decimals, std::string& intPart, std::string& fraction) {
    // Lay the digits out as a fixed-point string of integer and fraction digits.
    std::string all;
    int pointPos; // number of integer digits in `all`
    if (d.digits.empty()) {
        all = "0";
        pointPos = 1;
    } else if (d.exponent >= 0) {
        all = d.digits;
        if (static_cast<int>(all.size()) < d.exponent + 1) {
            all.append(d.exponent + 1 - all.size(), '0');
        }
        pointPos = d.exponent + 1;
    } else {
        all = std::string(-d.exponent, '0') + d.digits; // leading "0" is the integer digit
        pointPos = 1;
    }
    const int keep = pointPos + decimals;
    if (static_cast<int>(all.size()) < keep) {
        all.append(keep - all.size(), '0');
    }
    const bool roundUp = static_cast<int>(all.size()) > keep && all[keep] >= '5';
    all.resize(keep);
    if (roundUp) {
        int i = keep - 1;
        while (i >= 0 && all[i] == '9') {
            all[i] = '0';
            --i;
        }
        if (i >= 0) {
            ++all[i];
        } else {
            all.insert(all.begin(), '1');
            ++pointPos;
        }
    }
    intPart = all.substr(0, pointPos);
    fraction = all.substr(pointPos);
    const auto firstNonZero = intPart.find_first_not_of('0');
    intPart = (firstNonZero == std::string::npos) ? std::string() : intPart.substr(firstNonZero);
}

} // namespace

double ReadLenient(QStringView text) {
    std::string number;
    qsizetype i = 0;
    const qsizetype n = text.size();
    auto skip = [&] {
        while (i < n && IsSkippedBlank(text[i])) {
            ++i;
        }
    };
    skip();
    if (i < n && (text[i] == u'-' || text[i] == u'+')) {
        number.push_back(static_cast<char>(text[i].unicode()));
        ++i;
    }
    bool seenPoint = false;
    bool seenDigit = false;
    for (;; ++i) {
        skip();
        if (i >= n) {
            break;
        }
        const QChar c = text[i];
        if (IsDigit(c)) {
            seenDigit = true;
            number.push_back(static_cast<char>(c.unicode()));
        } else if (c == u'.' && !seenPoint) {
            seenPoint = true;
            number.push_back('.');
        } else {
            break;
        }
    }
    return seenDigit ? ParseAscii(number) : 0.0;
}

std::optional<double> ConvertStrict(QStringView text) {
    const QStringView t = text.trimmed();
    std::string number;
    qsizetype i = 0;
    if (i < t.size() && (t[i] == u'-' || t[i] == u'+')) {
        number.push_back(static_cast<char>(t[i].unicode()));
        ++i;
    }
    bool seenPoint = false;
    bool seenDigit = false;
    for (; i < t.size(); ++i) {
        const QChar c = t[i];
        if (IsDigit(c)) {
            seenDigit = true;
        } else if (c == u'.' && !seenPoint) {
            seenPoint = true;
        } else {
            return std::nullopt;
        }
        number.push_back(static_cast<char>(c.unicode()));
    }
    if (!seenDigit) {
        return std::nullopt;
    }
    return ParseAscii(number);
}

QString NumberToText(double value) {
    // Whole numbers, the common case in points and sums, need no decimal conversion.
    if (std::fabs(value) < 1e15 && value == std::trunc(value)) {
        return QString::number(static_cast<qint64>(value));
    }
    const DecimalDigits d = ToDecimal15(value);
    if (d.digits.empty()) {
        return QStringLiteral("0");
    }
    std::string intPart;
    std::string fraction;
    const int decimals = std::max(0, static_cast<int>(d.digits.size()) - 1 - d.exponent);
    RoundDecimal(d, decimals, intPart, fraction);
    std::string out = d.negative ? "-" : "";
    out += intPart.empty() ? "0" : intPart;
    if (!fraction.empty()) {
        out += '.';
        out += fraction;
    }
    return QString::fromLatin1(out.data(), static_cast<qsizetype>(out.size()));
}

QString FormatNumber(double value, QStringView pattern) {
    int decimals;
    bool fixedDecimals;
    if (pattern == u"#.#") {
        decimals = 1;
        fixedDecimals = false;
    } else if (pattern == u"#.0") {
        decimals = 1;
        fixedDecimals = true;
    } else if (pattern == u"#") {
        decimals = 0;
        fixedDecimals = false;
    } else {
        return NumberToText(value);
    }
    std::string intPart;
    std::string fraction;
    RoundDecimal(ToDecimal15(value), decimals, intPart, fraction);
    if (!fixedDecimals) {
        while (!fraction.empty() && fraction.back() == '0') {
            fraction.pop_back();
        }
    }
    const bool isZero = intPart.empty() && fraction.find_first_not_of('0') == std::string::npos;
    std::string out = (value < 0 && !isZero) ? "-" : "";
    out += intPart;
    if (decimals > 0) {
        out += '.';
        out += fraction;
    }
    return QString::fromLatin1(out.data(), static_cast<qsizetype>(out.size()));
}

} // namespace vastrel

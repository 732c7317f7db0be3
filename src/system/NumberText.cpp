#include "system/NumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>

namespace vastrel {

namespace {

constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                   1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr std::uint64_t kExactMantissa = std::uint64_t{1} << 53;

bool IsSkippedBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n';
}
bool IsDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// Collects the characters of a decimal number and turns them into a double. Numbers of up to
// 15 digits with few decimals are exact as mantissa / 10^k; longer ones go through from_chars.
class NumberScanner {
public:
    void Sign(QChar c) { negative_ = c == u'-'; }
    void Digit(QChar c) {
        seenDigit_ = true;
        const auto d = static_cast<std::uint64_t>(c.unicode() - u'0');
        if (exact_ && mantissa_ <= (kExactMantissa - d) / 10) {
            mantissa_ = mantissa_ * 10 + d;
            decimals_ += seenPoint_ ? 1 : 0;
        } else {
            exact_ = false; // too many digits: from_chars decides
        }
        Keep(c);
    }
    bool Point() {
        if (seenPoint_) {
            return false;
        }
        seenPoint_ = true;
        Keep(QChar(u'.'));
        return true;
    }
    bool SeenDigit() const { return seenDigit_; }
    double Value() const {
        double value;
        if (exact_ && decimals_ <= 22) {
            value = static_cast<double>(mantissa_) / kPowersOfTen[decimals_];
        } else {
            value = 0;
            const auto [ptr, ec] = std::from_chars(TextBegin(), TextBegin() + length_, value);
            if (ec == std::errc::result_out_of_range) {
                value = HUGE_VAL;
            }
        }
        return negative_ ? -value : value;
    }

private:
    void Keep(QChar c) {
        if (length_ < sizeof short_) {
            short_[length_] = static_cast<char>(c.unicode());
        } else {
            if (long_.empty()) {
                long_.assign(short_, length_);
            }
            long_.push_back(static_cast<char>(c.unicode()));
        }
        ++length_;
    }
    const char* TextBegin() const { return long_.empty() ? short_ : long_.data(); }

    char short_[32] = {};
    std::string long_; // only numbers of more than 32 characters need it
    std::size_t length_ = 0;
    std::uint64_t mantissa_ = 0;
    int decimals_ = 0;
    bool negative_ = false;
    bool seenPoint_ = false;
    bool seenDigit_ = false;
    bool exact_ = true;
};

// A number as up to 15 significant digits: value = 0.d1d2... * 10^(exponent + 1).
struct Decimal15 {
    bool negative = false;
    char digits[16] = {};
    int count = 0; // 0 for zero
    int exponent = 0;
    int DigitAtPower(int power) const {
        const int i = exponent - power;
        return (i >= 0 && i < count) ? digits[i] - '0' : 0;
    }
};

Decimal15 ToDecimal15(double value) {
    Decimal15 d;
    if (value == 0.0 || !std::isfinite(value)) {
        return d;
    }
    d.negative = value < 0;
    char buf[40];
    const auto res =
        std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific, 14);
    const char* p = buf;
    for (; p < res.ptr && *p != 'e'; ++p) {
        if (*p != '.') {
            d.digits[d.count++] = *p;
        }
    }
    std::from_chars(p + 1 + (p[1] == '+' ? 1 : 0), res.ptr, d.exponent);
    while (d.count > 0 && d.digits[d.count - 1] == '0') {
        --d.count;
    }
    return d;
}

// Writes the decimal rounded half away from zero to `decimals` places.
NumberText WriteFixed(const Decimal15& d, int decimals, bool trailingZeros, bool leadingZero, bool point) {
    // A double reaches down to 10^-324 with at most 15 significant digits: 340 decimals suffice.
    constexpr int kMaxPower = 40;
    constexpr int kMaxDecimals = 340;
    const int top = std::clamp(d.exponent, 0, kMaxPower);
    decimals = std::clamp(decimals, 0, kMaxDecimals);
    // Digits from 10^top down to 10^-decimals, one spare in front for a carry.
    std::array<char, kMaxPower + kMaxDecimals + 3> digits{};
    int n = 0;
    digits[n++] = 0;
    for (int power = top; power >= -decimals; --power) {
        digits[n++] = static_cast<char>(d.DigitAtPower(power));
    }
    if (d.DigitAtPower(-decimals - 1) >= 5) {
        int i = n - 1;
        while (digits[i] == 9) {
            digits[i--] = 0;
        }
        ++digits[i];
    }
    const int intEnd = n - decimals; // digits[0 .. intEnd) hold the integer part
    int first = 0;
    while (first < intEnd && digits[first] == 0) {
        ++first;
    }
    int last = n; // one past the last fraction digit written
    if (!trailingZeros) {
        while (last > intEnd && digits[last - 1] == 0) {
            --last;
        }
    }
    bool isZero = first == intEnd;
    for (int i = intEnd; i < n; ++i) {
        isZero = isZero && digits[i] == 0;
    }
    NumberText out;
    if (d.negative && !isZero) {
        out.Append('-');
    }
    for (int i = first; i < intEnd; ++i) {
        out.Append(static_cast<char>('0' + digits[i]));
    }
    if (first == intEnd && leadingZero) {
        out.Append('0');
    }
    if (point || last > intEnd) {
        out.Append('.');
    }
    for (int i = intEnd; i < last; ++i) {
        out.Append(static_cast<char>('0' + digits[i]));
    }
    return out;
}

NumberText WriteInteger(std::int64_t value) {
    char buf[24];
    char* end = buf + sizeof buf;
    char* p = end;
    std::uint64_t magnitude =
        value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    do {
        *--p = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    NumberText out;
    if (value < 0) {
        out.Append('-');
    }
    for (; p < end; ++p) {
        out.Append(*p);
    }
    return out;
}

struct Pattern {
    int decimals;
    bool trailingZeros;
    bool known;
};

Pattern ParsePattern(QStringView p) {
    // Called for every time scored: compared by hand rather than as strings.
    if (p.size() == 1 && p[0] == u'#') {
        return {0, false, true};
    }
    if (p.size() == 3 && p[0] == u'#' && p[1] == u'.') {
        if (p[2] == u'#') {
            return {1, false, true};
        }
        if (p[2] == u'0') {
            return {1, true, true};
        }
    }
    return {0, false, false};
}

// Rounds half away from zero straight in binary when the value is clearly off a half;
// near a half only the decimal form decides (7.85 is 7.8499999... in binary, yet counts as 7.85).
std::optional<std::int64_t> ScaledRoundingFastPath(double value, int decimals) {
    if (!(std::fabs(value) < 1e9)) {
        return std::nullopt;
    }
    const double scaled = std::fabs(value) * kPowersOfTen[decimals];
    const double fraction = scaled - std::floor(scaled);
    if (std::fabs(fraction - 0.5) < 1e-6) {
        return std::nullopt;
    }
    const auto magnitude = static_cast<std::int64_t>(std::floor(scaled + 0.5));
    return value < 0 ? -magnitude : magnitude;
}

// The common cell: digits with at most one point and nothing else ("821", "7.5", "0.7887").
std::optional<double> ReadPlainNumber(QStringView text) {
    const qsizetype n = text.size();
    if (n == 0 || n > 15) {
        return std::nullopt;
    }
    std::uint64_t mantissa = 0;
    int decimals = 0;
    bool point = false;
    bool digit = false;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (c >= u'0' && c <= u'9') {
            mantissa = mantissa * 10 + (c - u'0');
            decimals += point ? 1 : 0;
            digit = true;
        } else if (c == u'.' && !point) {
            point = true;
        } else {
            return std::nullopt;
        }
    }
    if (!digit) {
        return std::nullopt;
    }
    // Whole numbers (minutes, points) need no division, whose wait the scoring feels.
    const auto value = static_cast<double>(mantissa);
    return decimals == 0 ? value : value / kPowersOfTen[decimals];
}

} // namespace

double ReadLenient(QStringView text) {
    if (const auto plain = ReadPlainNumber(text)) {
        return *plain;
    }
    NumberScanner scanner;
    qsizetype i = 0;
    const qsizetype n = text.size();
    auto skip = [&] {
        while (i < n && IsSkippedBlank(text[i])) {
            ++i;
        }
    };
    skip();
    if (i < n && (text[i] == u'-' || text[i] == u'+')) {
        scanner.Sign(text[i++]);
    }
    for (;; ++i) {
        skip();
        if (i >= n) {
            break;
        }
        if (IsDigit(text[i])) {
            scanner.Digit(text[i]);
        } else if (text[i] != u'.' || !scanner.Point()) {
            break;
        }
    }
    return scanner.SeenDigit() ? scanner.Value() : 0.0;
}

std::optional<double> ConvertStrict(QStringView text) {
    if (const auto plain = ReadPlainNumber(text)) {
        return plain;
    }
    const QStringView t = text.trimmed();
    NumberScanner scanner;
    qsizetype i = 0;
    if (i < t.size() && (t[i] == u'-' || t[i] == u'+')) {
        scanner.Sign(t[i++]);
    }
    for (; i < t.size(); ++i) {
        if (IsDigit(t[i])) {
            scanner.Digit(t[i]);
        } else if (t[i] != u'.' || !scanner.Point()) {
            return std::nullopt;
        }
    }
    if (!scanner.SeenDigit()) {
        return std::nullopt;
    }
    return scanner.Value();
}

NumberText WriteNumber(double value) {
    // Whole numbers, the common case in points and sums, need no decimal conversion.
    if (std::fabs(value) < 1e15 && value == std::trunc(value)) {
        return WriteInteger(static_cast<std::int64_t>(value));
    }
    if (!(std::fabs(value) < 1e21)) {
        char buf[40];
        const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 15);
        NumberText out;
        for (const char* p = buf; p < res.ptr; ++p) {
            out.Append(*p);
        }
        return out;
    }
    const Decimal15 d = ToDecimal15(value);
    if (d.count == 0) {
        return WriteInteger(0);
    }
    const int decimals = std::max(0, d.count - 1 - d.exponent);
    return WriteFixed(d, decimals, false, true, false);
}

NumberText WritePattern(double value, QStringView pattern) {
    const Pattern p = ParsePattern(pattern);
    if (!p.known || !(std::fabs(value) < 1e40)) {
        return WriteNumber(value);
    }
    if (const auto scaled = ScaledRoundingFastPath(value, p.decimals)) {
        const std::int64_t magnitude = *scaled < 0 ? -*scaled : *scaled;
        const std::int64_t divisor = p.decimals == 1 ? 10 : 1;
        NumberText out;
        if (*scaled < 0) {
            out.Append('-');
        }
        if (magnitude / divisor != 0) {
            const NumberText whole = WriteInteger(magnitude / divisor);
            for (QChar c : whole.View()) {
                out.Append(static_cast<char>(c.unicode()));
            }
        }
        if (p.decimals == 1) {
            out.Append('.');
            const auto tenth = static_cast<char>('0' + magnitude % 10);
            if (p.trailingZeros || tenth != '0') {
                out.Append(tenth);
            }
        }
        return out;
    }
    return WriteFixed(ToDecimal15(value), p.decimals, p.trailingZeros, false, p.decimals > 0);
}

bool IsWrittenInTenths(QStringView text) {
    // Up to six whole digits, none a leading zero, the point, one digit: such a value is well
    // inside the range where tenths are written straight from the binary value.
    constexpr qsizetype kMostWholeDigits = 6;
    const qsizetype n = text.size();
    if (n < 2 || n > kMostWholeDigits + 2 || text[n - 2] != u'.' || !IsDigit(text[n - 1])) {
        return false;
    }
    if (n > 2 && text[0] == u'0') {
        return false;
    }
    for (qsizetype i = 0; i < n - 2; ++i) {
        if (!IsDigit(text[i])) {
            return false;
        }
    }
    return true;
}

double RoundLikePattern(double value, QStringView pattern) {
    const Pattern p = ParsePattern(pattern);
    if (p.known) {
        if (const auto scaled = ScaledRoundingFastPath(value, p.decimals)) {
            return static_cast<double>(*scaled) / kPowersOfTen[p.decimals];
        }
    }
    return ReadLenient(WritePattern(value, pattern).View());
}

double RoundToTextPrecision(double value) {
    const double magnitude = std::fabs(value);
    if (magnitude >= 1e-5 && magnitude < 1e15) {
        // The power that brings the value to 15 integer digits.
        int k = 14;
        if (magnitude >= 1) {
            int e = 0;
            while (e < 14 && magnitude >= kPowersOfTen[e + 1]) {
                ++e;
            }
            k = 14 - e;
        } else {
            while (k < 22 && magnitude * kPowersOfTen[k] < 1e14) {
                ++k;
            }
        }
        {
            const double scaled = magnitude * kPowersOfTen[k];
            const double fraction = scaled - std::floor(scaled);
            if (scaled >= 1e14 && scaled < 1e15 && std::fabs(fraction - 0.5) > 0.01) {
                const double rounded = std::floor(scaled + 0.5) / kPowersOfTen[k];
                return value < 0 ? -rounded : rounded;
            }
        }
    }
    return ConvertStrict(WriteNumber(value).View()).value_or(0.0);
}

} // namespace vastrel

#pragma once

#include <QString>

#include <memory>

namespace vastrel {

// The regional settings the decimal separator check needs; a test can pose as a platform
// whose conversions write a comma.
class RegionalSettings {
public:
    virtual ~RegionalSettings() = default;
    // The platform's standard number-to-text conversion under the user's settings.
    virtual QString StandardNumberText(double value) const = 0;
    // Writes one of the four separator values (the platform's codes 22, 23, 14, 15) of the
    // system's (true) or the user's locale; answers whether it took.
    virtual bool WriteLocaleValue(bool systemLocale, int code, const QString& value) = 0;
    // Tells the other programs that the settings changed.
    virtual void AnnounceSettingChange() = 0;
};

// The settings of the machine the program runs on: on Windows the regional settings and the
// broadcast; elsewhere the number conversions of this process.
std::unique_ptr<RegionalSettings> CreatePlatformRegionalSettings();

inline constexpr int kMonetaryDecimalSeparator = 22;
inline constexpr int kMonetaryThousandsSeparator = 23;
inline constexpr int kDecimalSeparator = 14;
inline constexpr int kThousandsSeparator = 15;

// Writes the four separator values in the order monetary decimal, monetary thousands,
// decimal, thousands; announces the change when the last one took and answers whether it did.
bool SetNumberSeparators(RegionalSettings& settings, const QString& decimalSeparator,
                         const QString& thousandsSeparator, bool systemLocale);

} // namespace vastrel

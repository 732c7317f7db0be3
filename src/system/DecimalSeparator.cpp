#include "system/DecimalSeparator.h"

#include <QLocale>

#include <clocale>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif

using namespace Qt::StringLiterals;

namespace vastrel {

namespace {

#ifdef Q_OS_WIN
class WindowsRegionalSettings : public RegionalSettings {
public:
    QString StandardNumberText(double value) const override { return QLocale::system().toString(value); }
    bool WriteLocaleValue(bool systemLocale, int code, const QString& value) override {
        const LCID locale = systemLocale ? GetSystemDefaultLCID() : GetUserDefaultLCID();
        return SetLocaleInfoA(locale, static_cast<LCTYPE>(code), value.toLocal8Bit().constData()) != 0;
    }
    void AnnounceSettingChange() override { PostMessageA(HWND_BROADCAST, WM_SETTINGCHANGE, 0, 0); }
};
#else
// No system-wide regional settings to rewrite here: the point is made the decimal separator
// for the conversions of this process, Qt's and the C library's alike.
class ProcessRegionalSettings : public RegionalSettings {
public:
    QString StandardNumberText(double value) const override { return QLocale::system().toString(value); }
    bool WriteLocaleValue(bool, int code, const QString&) override {
        if (code == kDecimalSeparator || code == kThousandsSeparator) {
            std::setlocale(LC_NUMERIC, "C");
            QLocale c = QLocale::c();
            c.setNumberOptions(QLocale::OmitGroupSeparator);
            QLocale::setDefault(c);
        }
        return true;
    }
    void AnnounceSettingChange() override {}
};
#endif

} // namespace

std::unique_ptr<RegionalSettings> CreatePlatformRegionalSettings() {
#ifdef Q_OS_WIN
    return std::make_unique<WindowsRegionalSettings>();
#else
    return std::make_unique<ProcessRegionalSettings>();
#endif
}

bool SetNumberSeparators(RegionalSettings& settings, const QString& decimalSeparator,
                         const QString& thousandsSeparator, bool systemLocale) {
    settings.WriteLocaleValue(systemLocale, kMonetaryDecimalSeparator, decimalSeparator);
    settings.WriteLocaleValue(systemLocale, kMonetaryThousandsSeparator, thousandsSeparator);
    settings.WriteLocaleValue(systemLocale, kDecimalSeparator, decimalSeparator);
    const bool written = settings.WriteLocaleValue(systemLocale, kThousandsSeparator, thousandsSeparator);
    if (written) {
        settings.AnnounceSettingChange();
    }
    return written;
}

} // namespace vastrel

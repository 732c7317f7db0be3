#pragma once

#include "system/DecimalSeparator.h"

#include <QStringList>

namespace vastrel::testing {

// A platform whose standard conversion writes what the test says; records every write.
class FakeRegionalSettings : public RegionalSettings {
public:
    explicit FakeRegionalSettings(QString numberText) : numberText_(std::move(numberText)) {}
    QString StandardNumberText(double) const override { return numberText_; }
    bool WriteLocaleValue(bool systemLocale, int code, const QString& value) override {
        writes << QStringLiteral("%1:%2=%3")
                      .arg(systemLocale ? QStringLiteral("system") : QStringLiteral("user"))
                      .arg(code)
                      .arg(value);
        return !(failThousands && code == kThousandsSeparator);
    }
    void AnnounceSettingChange() override { ++announcements; }

    QStringList writes;
    int announcements = 0;
    bool failThousands = false;

private:
    QString numberText_;
};

} // namespace vastrel::testing

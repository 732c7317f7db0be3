#pragma once

#include "ports/Settings.h"

#include <QSettings>

namespace vastrel {

// The user's settings of the program, kept where the platform keeps them (on Linux
// ~/.config/Vastrel/Vastrel.conf).
class UserSettings : public Settings {
public:
    UserSettings();
    QString Value(const QString& key) const override;
    void SetValue(const QString& key, const QString& value) override;

private:
    QSettings settings_;
};

} // namespace vastrel

#include "app/UserSettings.h"

using namespace Qt::StringLiterals;

namespace vastrel {

UserSettings::UserSettings()
    : settings_(QSettings::NativeFormat, QSettings::UserScope, u"Vastrel"_s, u"Vastrel"_s) {}

QString UserSettings::Value(const QString& key) const {
    return settings_.value(key).toString();
}

void UserSettings::SetValue(const QString& key, const QString& value) {
    settings_.setValue(key, value);
    settings_.sync();
}

} // namespace vastrel

#pragma once

#include <QHash>
#include <QString>

namespace vastrel {

// What the program remembers for the user from one run to the next: a notice already shown,
// the folder last used.
class Settings {
public:
    virtual ~Settings() = default;
    virtual QString Value(const QString& key) const = 0;
    virtual void SetValue(const QString& key, const QString& value) = 0;
};

// Settings that last as long as the program runs: the command-line tool's, and the tests'.
class MemorySettings : public Settings {
public:
    QString Value(const QString& key) const override { return values_.value(key); }
    void SetValue(const QString& key, const QString& value) override { values_.insert(key, value); }

private:
    QHash<QString, QString> values_;
};

} // namespace vastrel

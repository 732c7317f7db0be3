#pragma once

#include <QStringList>

namespace vastrel {

class Settings;

// The last five files opened or saved, newest first, kept for the next run in the user's
// settings. A file that has gone since is not offered.
class RecentFiles {
public:
    static constexpr int kCount = 5;

    explicit RecentFiles(Settings* remembered) : remembered_(remembered) {}
    QStringList Paths() const;
    void Add(const QString& path);

private:
    Settings* remembered_;
};

} // namespace vastrel

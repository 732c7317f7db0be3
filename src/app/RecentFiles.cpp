#include "app/RecentFiles.h"

#include "ports/Settings.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace vastrel {

namespace {
const QString kRecentFilesKey = u"files/recent"_s;
} // namespace

QStringList RecentFiles::Paths() const {
    QStringList paths;
    if (remembered_) {
        for (const QString& path : remembered_->Value(kRecentFilesKey).split(u'\n', Qt::SkipEmptyParts)) {
            if (QFileInfo(path).isFile() && paths.size() < kCount) {
                paths << path;
            }
        }
    }
    return paths;
}

void RecentFiles::Add(const QString& path) {
    if (!remembered_) {
        return;
    }
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList paths = Paths();
    paths.removeAll(absolute);
    paths.prepend(absolute);
    remembered_->SetValue(kRecentFilesKey, paths.mid(0, kCount).join(u'\n'));
}

} // namespace vastrel

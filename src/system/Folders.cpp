#include "system/Folders.h"

#include <QDir>
#include <QStandardPaths>

namespace vastrel {

QString DriveOrStandardFolder(const QString& drivePath) {
#ifdef Q_OS_WIN
    if (QDir(drivePath).exists()) {
        return drivePath;
    }
#endif
    const bool systemDrive = drivePath.startsWith(QLatin1Char('C'), Qt::CaseInsensitive);
    QString folder =
        systemDrive ? QDir::homePath() : QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty()) {
        folder = QDir::homePath();
    }
    return QDir::toNativeSeparators(folder) + QDir::separator();
}

} // namespace vastrel

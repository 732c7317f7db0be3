#include "system/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace vastrel {

QString ProgramFolder() {
    const QString folder = QCoreApplication::applicationDirPath();
    return folder.isEmpty() ? QDir::currentPath() : folder;
}

QString WritableProgramFolder() {
    const QString folder = ProgramFolder();
    if (QFileInfo(folder).isWritable()) {
        return folder;
    }
    QString data = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    if (data.isEmpty()) {
        data = QDir::homePath() + u"/.vastrel"_s;
    }
    QDir().mkpath(data);
    return data;
}

} // namespace vastrel

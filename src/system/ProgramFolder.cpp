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

QString FindCertificateTemplate(const QString& templateName) {
    // The name is kept as the program has always named it, "\Urkunde.rtf".
    const QString name = QString(templateName).replace(u'\\', u'/').section(u'/', -1);
    const QStringList candidates = {
        ProgramFolder() + u'/' + name,
        ProgramFolder() + u"/../share/vastrel/"_s + name, // an installed program
    };
    for (const QString& candidate : candidates) {
        if (QFileInfo(candidate).isFile()) {
            return QDir::cleanPath(candidate);
        }
    }
    return QDir::cleanPath(candidates.front());
}

} // namespace vastrel

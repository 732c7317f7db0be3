#include "app/Places.h"

#include "system/Folders.h"
#include "system/ProgramFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace vastrel {

Places PlatformPlaces() {
    Places places;
    places.workFolder = WritableProgramFolder();
    places.reportFolder = places.workFolder + u"/report"_s;
    places.templateFolders = {ProgramFolder(), ProgramFolder() + u"/../share/vastrel"_s};
    places.certificateFolder = DriveOrStandardFolder(u"d:\\"_s);
    places.fileDialogFolder = DriveOrStandardFolder(u"C:\\"_s);
    places.recoveryFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (places.recoveryFolder.isEmpty()) {
        places.recoveryFolder = places.workFolder;
    }
    return places;
}

Places PlacesIn(const QString& folder) {
    return {folder, folder + u"/report"_s, {folder}, folder + u'/', folder, folder + u"/recovery"_s};
}

QString CertificateTemplatePath(const Places& places, const QString& templateName) {
    // The name is kept as the program has always named it, "\Urkunde.rtf".
    const QString name = QString(templateName).replace(u'\\', u'/').section(u'/', -1);
    for (const QString& folder : places.templateFolders) {
        if (QFileInfo(folder + u'/' + name).isFile()) {
            return QDir::cleanPath(folder + u'/' + name);
        }
    }
    return QDir::cleanPath(places.templateFolders.value(0) + u'/' + name);
}

} // namespace vastrel

#include "system/FileErrors.h"

#include <QDir>
#include <QFileDevice>
#include <QFileInfo>
#include <QStorageInfo>

using namespace Qt::StringLiterals;

namespace vastrel {

namespace {

QString FolderOf(const QString& path) {
    return QFileInfo(path).absolutePath();
}

} // namespace

bool IsWriteProtected(const QString& path) {
    const QFileInfo info(path);
    return info.isFile() && !(info.permissions() & QFileDevice::WriteOwner);
}

QString ReadFailureReason(const QFileDevice& file) {
    const QFileInfo info(file.fileName());
    if (!info.exists()) {
        return u"Die Datei ist nicht vorhanden."_s;
    }
    if (info.isDir()) {
        return u"Das ist ein Ordner, keine Datei."_s;
    }
    if (!info.isFile()) {
        return u"Das ist keine gewöhnliche Datei."_s; // a device or a pipe
    }
    if (!info.isReadable()) {
        return u"Es fehlt die Berechtigung zum Lesen."_s;
    }
    return u"Die Datei lässt sich nicht lesen."_s;
}

QString WriteFailureReason(const QFileDevice& file) {
    if (file.error() == QFileDevice::ResourceError && QFileInfo(FolderOf(file.fileName())).exists()) {
        return u"Der Datenträger ist voll."_s;
    }
    return WriteFailureReason(file.fileName());
}

QString WriteFailureReason(const QString& path) {
    const QFileInfo info(path);
    const QFileInfo folder(FolderOf(path));
    if (!folder.isDir()) { // not there, or a file in its place
        return u"Der Ordner ist nicht vorhanden."_s;
    }
    if (info.isDir()) {
        return u"An dieser Stelle steht ein Ordner."_s;
    }
    if (IsWriteProtected(path)) {
        return u"Die Datei ist schreibgeschützt."_s;
    }
    if (!folder.isWritable() || (info.exists() && !info.isWritable())) {
        return u"Es fehlt die Berechtigung zum Schreiben."_s;
    }
    // Whatever error the failed call reported (a file not even created, a database's own code).
    if (const QStorageInfo storage(folder.absoluteFilePath());
        storage.isValid() && storage.bytesAvailable() == 0) {
        return u"Der Datenträger ist voll."_s;
    }
    return u"Die Datei lässt sich nicht schreiben."_s;
}

QString ReadFailureMessage(const QString& path, const QString& reason) {
    return u"Die Datei \"%1\" konnte nicht gelesen werden: %2"_s.arg(QDir::toNativeSeparators(path), reason);
}

QString WriteFailureMessage(const QString& path, const QString& reason) {
    return u"Die Datei \"%1\" konnte nicht geschrieben werden: %2"_s.arg(QDir::toNativeSeparators(path),
                                                                         reason);
}

} // namespace vastrel

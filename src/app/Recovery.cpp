#include "app/Recovery.h"

#include "formats/FilFormat.h"
#include "system/FileHelpers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace vastrel {

QString Recovery::FilePath() const {
    return folder_ + u"/recovery.fil"_s;
}

QString Recovery::NamePath() const {
    return folder_ + u"/recovery.txt"_s;
}

bool Recovery::Write(const ResultTable& table, const QString& ownFile, QString* errorMessage) const {
    QDir().mkpath(folder_);
    // The next start may be in another folder: a name as typed would name another file there.
    const QString own = ownFile.isEmpty() ? QString() : QFileInfo(ownFile).absoluteFilePath();
    return SaveFil(table, FilePath(), errorMessage) && WriteTextFile(NamePath(), own, errorMessage);
}

void Recovery::Discard() const {
    QFile::remove(FilePath());
    QFile::remove(NamePath());
}

std::optional<Recovery::Found> Recovery::Pending() const {
    const QFileInfo recovery(FilePath());
    if (!recovery.isFile()) {
        return std::nullopt;
    }
    QFile names(NamePath());
    Found found{recovery.lastModified(), QString()};
    if (names.open(QIODevice::ReadOnly)) {
        found.ownFile = QString::fromUtf8(names.readAll()).trimmed();
    }
    const QFileInfo own(found.ownFile);
    if (!found.ownFile.isEmpty() && own.isFile() && own.lastModified() >= found.written) {
        return std::nullopt; // saved after the last change: nothing was lost
    }
    return found;
}

bool Recovery::Restore(ResultTable& table, QString* errorMessage) const {
    return LoadFil(table, FilePath(), errorMessage);
}

void Recovery::KeepAside() const {
    const QString stamp = QFileInfo(FilePath()).lastModified().toString(u"yyyy-MM-dd_HH-mm-ss"_s);
    QFile::rename(FilePath(), folder_ + u"/recovery-%1.fil"_s.arg(stamp));
    QFile::rename(NamePath(), folder_ + u"/recovery-%1.txt"_s.arg(stamp));
}

void Recovery::RemoveLeftovers() const {
    RemoveStaleTemporaries(folder_, u"fil"_s);
}

QString RecoveryQuestion(const Recovery::Found& found) {
    const QString file = found.ownFile.isEmpty() ? u"noch nicht gespeichert"_s
                                                 : u"Datei "_s + QFileInfo(found.ownFile).fileName();
    return u"Es gibt ungesicherte Änderungen vom %1 (%2). Wiederherstellen?"_s.arg(
        found.written.toString(u"dd.MM.yyyy HH:mm"_s), file);
}

} // namespace vastrel

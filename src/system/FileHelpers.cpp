#include "system/FileHelpers.h"

#include "system/FileErrors.h"
#include "system/TextEncoding.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#elif defined(Q_OS_WIN)
#include <io.h>
#endif

using namespace Qt::StringLiterals;

namespace vastrel {

bool FileExists(const QString& path) {
    const QFileInfo info(path);
    return !path.isEmpty() && info.exists() && info.isFile();
}

QString GetField(const QString& text, int fieldNumber, const QString& separator) {
    const QString cleaned = QString(text).remove(u'\t');
    const QStringList pieces = separator.isEmpty() ? QStringList{cleaned} : cleaned.split(separator);
    if (fieldNumber < 1 || fieldNumber > pieces.size()) {
        return {};
    }
    // Only blanks are trimmed, as the helper promises; other white space stays.
    QString piece = pieces.at(fieldNumber - 1);
    qsizetype start = 0;
    qsizetype end = piece.size();
    while (start < end && piece.at(start) == u' ') {
        ++start;
    }
    while (end > start && piece.at(end - 1) == u' ') {
        --end;
    }
    return piece.mid(start, end - start);
}

QString RemoveBlanks(const QString& text) {
    return QString(text).remove(u' ');
}

QString ReplaceExtension(const QString& path, const QString& extension) {
    if (path.isEmpty()) {
        return {};
    }
    const qsizetype slash = std::max(path.lastIndexOf(u'\\'), path.lastIndexOf(u'/'));
    const QString folder = path.left(slash + 1);
    const QString name = path.mid(slash + 1);
    if (!name.contains(u'.')) {
        return path + u'.' + extension;
    }
    return folder + GetField(name, 1, u"."_s) + u'.' + extension;
}

bool SyncToDisk(const QString& path) {
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
#else
    Q_UNUSED(path);
    return false;
#endif
}

bool SyncToDisk(QFileDevice& file) {
    if (!file.flush()) {
        return false;
    }
#if defined(Q_OS_UNIX)
    return ::fsync(file.handle()) == 0;
#elif defined(Q_OS_WIN)
    return ::_commit(file.handle()) == 0;
#else
    return false;
#endif
}

QFileDevice::Permissions NewFilePermissions() {
    QFileDevice::Permissions all = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser |
                                   QFileDevice::WriteUser | QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                                   QFileDevice::ReadOther | QFileDevice::WriteOther;
#ifdef Q_OS_UNIX
    const mode_t mask = ::umask(0);
    ::umask(mask);
    if (mask & S_IWGRP) {
        all &= ~QFileDevice::WriteGroup;
    }
    if (mask & S_IRGRP) {
        all &= ~QFileDevice::ReadGroup;
    }
    if (mask & S_IWOTH) {
        all &= ~QFileDevice::WriteOther;
    }
    if (mask & S_IROTH) {
        all &= ~QFileDevice::ReadOther;
    }
#endif
    return all;
}

QString TemporaryBeside(const QString& folder, const QString& suffix) {
    return folder + u"/.vastrel-XXXXXX."_s + suffix;
}

void RemoveStaleTemporaries(const QString& folder, const QString& suffix) {
    QDir dir(folder);
    for (const QString& name : dir.entryList({u".vastrel-??????."_s + suffix}, QDir::Files | QDir::Hidden)) {
        dir.remove(name);
    }
}

bool WriteFileAtomically(const QString& path, const QByteArray& bytes, QString* errorMessage) {
    return WriteFileAtomically(
        path, [&bytes](QIODevice& file) { return file.write(bytes) == bytes.size(); }, errorMessage);
}

bool WriteFileAtomically(const QString& path, const std::function<bool(QIODevice&)>& write,
                         QString* errorMessage) {
    QSaveFile file(path);
    bool ok = !IsWriteProtected(path) && file.open(QIODevice::WriteOnly);
    QString reason;
    if (ok) {
        // The last buffered bytes are written by an explicit flush: the commit would rename the
        // file even when writing them failed (a full disk).
        ok = write(file) && file.flush();
        if (!ok) {
            reason = WriteFailureReason(file); // before the cancel overwrites the error
            file.cancelWriting();
        }
        ok = ok && file.commit();
    }
    if (ok) {
        SyncToDisk(QFileInfo(path).absolutePath()); // the new name, too, survives a power cut
    }
    if (!ok && errorMessage) {
        *errorMessage = WriteFailureMessage(path, reason.isEmpty() ? WriteFailureReason(file) : reason);
    }
    return ok;
}

bool WriteTextFile(const QString& path, const QString& text, QString* errorMessage) {
    return WriteFileAtomically(path, EncodeTextFile(text + u"\r\n"_s), errorMessage);
}

} // namespace vastrel

#include "app/TimingFolderWatch.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace vastrel {

namespace {

QByteArray Hash(const QByteArray& bytes) {
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

QByteArray Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TimingFolderWatch::TimingFolderWatch(int settleMilliseconds) {
    settle_.setSingleShot(true);
    settle_.setInterval(settleMilliseconds);
    QObject::connect(&settle_, &QTimer::timeout, &settle_, [this] { Scan(); });
}

QStringList TimingFolderWatch::Files() const {
    QStringList files;
    const QDir dir(folder_);
    for (const QString& name : dir.entryList({u"*.lif"_s, u"*.csv"_s, u"*.txt"_s}, QDir::Files)) {
        files << dir.filePath(name);
    }
    return files;
}

void TimingFolderWatch::Watch(const QString& folder) {
    Stop();
    folder_ = folder;
    watcher_ = std::make_unique<QFileSystemWatcher>();
    const auto changed = [this](const QString&) {
        settle_.start();
    };
    QObject::connect(watcher_.get(), &QFileSystemWatcher::directoryChanged, &settle_, changed);
    QObject::connect(watcher_.get(), &QFileSystemWatcher::fileChanged, &settle_, changed);
    watcher_->addPath(folder);
    for (const QString& path : Files()) {
        const QFileInfo info(path);
        known_.insert(path, {info.size(), info.lastModified()});
        read_.insert(Hash(Read(path)));
        watcher_->addPath(path); // a file written again in place tells only itself
    }
}

void TimingFolderWatch::Stop() {
    settle_.stop();
    watcher_.reset();
    known_.clear();
    looked_.clear();
    read_.clear();
    folder_.clear();
}

// A file is read once two looks a moment apart find it the same size and age.
void TimingFolderWatch::Scan() {
    bool again = false;
    for (const QString& path : Files()) {
        const QFileInfo info(path);
        const Look look{info.size(), info.lastModified()};
        if (watcher_ && !watcher_->files().contains(path)) {
            watcher_->addPath(path);
        }
        if (known_.value(path) == look) {
            continue;
        }
        const auto last = looked_.constFind(path);
        if (last == looked_.constEnd() || !(*last == look)) {
            looked_.insert(path, look);
            again = true;
            continue;
        }
        looked_.remove(path);
        known_.insert(path, look);
        const QByteArray bytes = Read(path);
        if (!read_.contains(Hash(bytes))) {
            read_.insert(Hash(bytes));
            if (ready_) {
                ready_(path, bytes);
            }
        }
    }
    if (again) {
        settle_.start();
    }
}

} // namespace vastrel

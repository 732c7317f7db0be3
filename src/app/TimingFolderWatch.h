#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QFileSystemWatcher>
#include <QHash>
#include <QSet>
#include <QString>
#include <QTimer>

#include <functional>
#include <memory>

namespace vastrel {

// A folder the timing system writes into: a result file (.lif, .csv, .txt) that is new there or
// changed is handed on once it has stopped growing for a moment, and once for each content: a
// file written in pieces is read whole, one saved again unchanged not again. What the folder
// holds when watching starts counts as read.
class TimingFolderWatch {
public:
    static constexpr int kSettleMilliseconds = 1000;
    explicit TimingFolderWatch(int settleMilliseconds = kSettleMilliseconds);

    void Watch(const QString& folder);
    void Stop();
    bool Watching() const { return !folder_.isEmpty(); }
    const QString& Folder() const { return folder_; }
    void OnFileReady(std::function<void(const QString& path, const QByteArray& bytes)> listener) {
        ready_ = std::move(listener);
    }

private:
    struct Look {
        qint64 size = -1;
        QDateTime modified;
        bool operator==(const Look&) const = default;
    };
    QStringList Files() const;
    void Scan();

    QString folder_;
    std::unique_ptr<QFileSystemWatcher> watcher_; // made when watching starts
    QTimer settle_;
    QHash<QString, Look> known_;  // each file as it was when last read
    QHash<QString, Look> looked_; // files that changed, as the last scan saw them
    QSet<QByteArray> read_;       // the contents handed on, by their hash
    std::function<void(const QString&, const QByteArray&)> ready_;
};

} // namespace vastrel

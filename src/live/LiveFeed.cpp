#include "live/LiveFeed.h"

#include "live/LivePage.h"
#include "table/ResultTable.h"

#include <QDir>
#include <QSaveFile>

using namespace Qt::StringLiterals;

namespace vastrel {

LiveFeed::LiveFeed(ResultTable& table, std::function<void(const QByteArray&)> publish, int delayMilliseconds)
    : table_(table), publish_(std::move(publish)) {
    delay_.setSingleShot(true);
    delay_.setInterval(delayMilliseconds);
    QObject::connect(&delay_, &QTimer::timeout, [this] { Flush(); });
    table_.AddObserver(this);
    Flush();
}

LiveFeed::~LiveFeed() {
    table_.RemoveObserver(this);
}

void LiveFeed::SetOptions(const LiveOptions& options) {
    options_ = options;
    Flush();
}

void LiveFeed::Flush() {
    delay_.stop();
    if (stand_.isValid() && LiveResultsJson(table_, options_, stand_) == lastAtStand_) {
        return;
    }
    stand_ = QDateTime::currentDateTime();
    lastAtStand_ = LiveResultsJson(table_, options_, stand_);
    publish_(lastAtStand_);
}

void LiveFeed::Schedule() {
    if (!delay_.isActive()) {
        delay_.start();
    }
}

bool WriteLiveFiles(const QString& folder, const QByteArray& json, QString* error) {
    if (!QDir().mkpath(folder)) {
        *error = u"Der Ordner \"%1\" lässt sich nicht anlegen."_s.arg(QDir::toNativeSeparators(folder));
        return false;
    }
    const auto write = [&](const QString& name, const QByteArray& bytes) {
        QSaveFile file(QDir(folder).filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
            *error = u"Die Datei \"%1\" lässt sich nicht schreiben: %2"_s.arg(
                QDir::toNativeSeparators(file.fileName()), file.errorString());
            return false;
        }
        return true;
    };
    for (const QString& name : {u"index.html"_s, u"tv.html"_s, u"live.js"_s, u"live.css"_s}) {
        if (!write(name, LivePageFile(name))) {
            return false;
        }
    }
    return write(u"results.json"_s, json);
}

} // namespace vastrel

#pragma once

#include "live/LiveResults.h"
#include "table/ResultTableObserver.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QTimer>

#include <functional>

namespace vastrel {

class ResultTable;

// Follows a competition: a moment after each change of its data it builds the results document
// anew and hands it on (to the server, to a folder), with the time of that change as its "Stand".
// Changes that leave the published values as they were hand nothing on.
class LiveFeed : public ResultTableObserver {
public:
    LiveFeed(ResultTable& table, std::function<void(const QByteArray& json)> publish,
             int delayMilliseconds = 250);
    ~LiveFeed() override;
    LiveFeed(const LiveFeed&) = delete;
    LiveFeed& operator=(const LiveFeed&) = delete;

    void SetOptions(const LiveOptions& options);
    const LiveOptions& Options() const { return options_; }
    // Builds and hands on now, without waiting for the moment.
    void Flush();

    void ChangeMade(const Change&) override { Schedule(); }
    void Refreshed() override { Schedule(); }

private:
    void Schedule();
    ResultTable& table_;
    std::function<void(const QByteArray&)> publish_;
    LiveOptions options_;
    QTimer delay_;
    QByteArray lastAtStand_; // the last document as built with its own stand, to compare with
    QDateTime stand_;
};

// Writes the page's files and the results document into a folder, each through a temporary file
// and a rename (a web server never hands out half a file); a German message where it fails.
bool WriteLiveFiles(const QString& folder, const QByteArray& json, QString* error);

} // namespace vastrel

// Following a competition: started with the server or from the station's copy, the connection
// lost and made again, the notifications, and ids for the rows this station adds.
#include "app/StationSync.h"

#include "ports/MainWindowState.h"
#include "server/ServerConnection.h"
#include "table/ResultTable.h"

#include <QSqlDriver>

using namespace Qt::StringLiterals;

namespace vastrel {

namespace {

const QString kChannel = u"vastrel_changes"_s;

} // namespace

void StationSync::Start() {
    Begin(true, 0, 0);
}

void StationSync::StartOffline(RowId nextId, RowId lastId) {
    Begin(false, nextId, lastId);
}

void StationSync::Begin(bool connected, RowId nextId, RowId lastId) {
    following_ = true;
    offline_ = !connected;
    pending_.clear();
    addedRows_.clear();
    removedRows_.clear();
    ownRevisions_.clear();
    ownName_.reset();
    seenName_.reset();
    keptName_.reset();
    sharedName_ = state_ ? state_->baseCaption : QString();
    nextId_ = nextId;
    lastId_ = lastId;
    table_.SetRowIdSource([this] { return NewRowId(); });
    stations_ = QStringList{connection_.Station()};
    queue_ = queueFolder_.isEmpty() ? StationQueue()
                                    : StationQueue(queueFolder_, connection_.Address().Shown(),
                                                   competition_.Id(), connection_.Station());
    if (connected) {
        stations_ = competition_.Heartbeat(nullptr).value_or(stations_);
        Subscribe();
    }
    poll_.start();
    // A read-only login leaves what waits to the station's own; a copy is only kept for that one.
    if (!connected || connection_.MayChange()) {
        if (connected && !queueFolder_.isEmpty()) {
            ReserveRowIds(); // ids in hand for rows added without the server
            WriteCopy();
        }
        RestoreQueue();
        while (nextId_ != 0 && nextId_ <= lastId_ && table_.RowNumberOf(nextId_, table_.RowCount()) > 0) {
            ++nextId_; // taken by a row added before a crash, back from the queue
        }
    }
    Tell();
}

bool StationSync::GoneOffline() {
    offline_ = !Reconnect();
    if (offline_) {
        WriteCopy(); // what was caught up since the open, for a start before the server is back
    }
    return offline_;
}

void StationSync::Subscribe() {
    QObject::disconnect(&context_, nullptr, nullptr, nullptr);
    if (QSqlDriver* driver = connection_.Database().driver()) {
        QObject::connect(
            driver, &QSqlDriver::notification, &context_,
            [this](const QString& name, QSqlDriver::NotificationSource, const QVariant& payload) {
                if (name == kChannel && payload.toString().section(u' ', 0, 0).toInt() == competition_.Id()) {
                    // Not inside the driver's signal: a reconnect on the way replaces the driver.
                    if (!std::exchange(catchUpQueued_, true)) {
                        QTimer::singleShot(0, &context_, [this] {
                            catchUpQueued_ = false;
                            CatchUp();
                        });
                    }
                }
            });
        driver->subscribeToNotification(kChannel);
    }
}

void StationSync::Stop() {
    following_ = false;
    poll_.stop();
    pending_.clear();
    addedRows_.clear();
    removedRows_.clear();
    table_.SetRowIdSource({});
    QObject::disconnect(&context_, nullptr, nullptr, nullptr);
    if (QSqlDriver* driver = connection_.Database().driver();
        driver && connection_.IsOpen() && driver->subscribedToNotifications().contains(kChannel)) {
        driver->unsubscribeFromNotification(kChannel);
    }
}

void StationSync::ReserveRowIds() {
    constexpr int kBlock = 100;
    nextId_ = competition_.ReserveRowIds(kBlock, nullptr);
    lastId_ = nextId_ == 0 ? 0 : nextId_ + kBlock - 1;
}

RowId StationSync::NewRowId() {
    if (nextId_ == 0 || nextId_ > lastId_) {
        ReserveRowIds();
        if (nextId_ == 0) {
            return 0; // the table's own count: without a server there is no other
        }
    }
    return nextId_++;
}

bool StationSync::Reconnect() {
    QString error;
    if (!connection_.Open(connection_.Address(), connection_.Station(), &error)) {
        Tell();
        return false;
    }
    offline_ = false;
    Subscribe(); // a new connection: the old one's subscription went with it
    CatchUp();
    return true;
}

} // namespace vastrel

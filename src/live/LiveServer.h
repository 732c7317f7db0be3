#pragma once

#include "live/LivePage.h"

#include <QByteArray>
#include <QHash>
#include <QHostAddress>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

class QTcpServer;
class QTcpSocket;

namespace vastrel {

// The live results over HTTP on the venue's network: the page, its kiosk view, its script and
// style and the results document, for GET and HEAD alone, nothing else. Runs in the thread that
// made it, on its event loop: a request is a few hundred microseconds of work.
class LiveServer : public QObject {
public:
    static constexpr int kMaxConnections = 256;
    static constexpr int kIdleMilliseconds = 10000; // also the most a request's head may take

    explicit LiveServer(QObject* parent = nullptr, int idleMilliseconds = kIdleMilliseconds);
    ~LiveServer() override;

    // Serves nothing until started; a German message where the port cannot be had.
    bool Start(const QHostAddress& address, quint16 port, QString* error);
    void Stop();
    bool Serving() const;
    quint16 Port() const;
    // The addresses a phone on the network opens ("http://192.168.1.23:8080"), the first for the QR code.
    QStringList Addresses() const;

    // The results document the page polls ("/results.json").
    void SetResults(const QByteArray& json);
    // Devices (by address) that asked for anything in the last minute.
    int DevicesLastMinute() const;
    // Told after each answered request, with its path and status (for tests).
    void OnAnswered(std::function<void(const QByteArray& path, int status)> answered) {
        answered_ = std::move(answered);
    }

private:
    struct Connection;
    void Accept();
    void Receive(QTcpSocket* socket);
    void Answer(QTcpSocket* socket, Connection& connection);
    void Drop(QTcpSocket* socket);

    QTcpServer* listener_;
    int idle_;
    QHostAddress address_;
    QHash<QByteArray, LiveDocument> documents_;
    QHash<QTcpSocket*, Connection*> connections_;
    mutable QHash<QString, qint64> seen_; // device address → when it last asked, ms since epoch
    std::function<void(const QByteArray&, int)> answered_;
};

} // namespace vastrel

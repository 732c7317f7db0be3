#include "live/LiveServer.h"

#include "live/HttpRequest.h"

#include <QDateTime>
#include <QNetworkInterface>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace vastrel {

namespace {

QByteArray Reason(int status) {
    switch (status) {
    case 200:
        return "OK";
    case 304:
        return "Not Modified";
    case 400:
        return "Bad Request";
    case 404:
        return "Not Found";
    case 405:
        return "Method Not Allowed";
    case 408:
        return "Request Timeout";
    case 431:
        return "Request Header Fields Too Large";
    default:
        return "Service Unavailable";
    }
}

QByteArray ErrorBody(int status) {
    switch (status) {
    case 404:
        return "Nicht gefunden.\n";
    case 405:
        return "Nur GET und HEAD.\n";
    case 503:
        return "Zu viele Verbindungen.\n";
    default:
        return "Anfrage nicht lesbar.\n";
    }
}

QByteArray Head(int status, const QList<std::pair<QByteArray, QByteArray>>& fields, bool keepAlive) {
    QByteArray head = "HTTP/1.1 " + QByteArray::number(status) + ' ' + Reason(status) + "\r\n";
    for (const auto& [name, value] : fields) {
        head += name + ": " + value + "\r\n";
    }
    head += keepAlive ? "Connection: keep-alive\r\n\r\n" : "Connection: close\r\n\r\n";
    return head;
}

QByteArray ErrorResponse(int status) {
    const QByteArray body = ErrorBody(status);
    QList<std::pair<QByteArray, QByteArray>> fields = {{"Content-Type", "text/plain; charset=utf-8"},
                                                       {"Content-Length", QByteArray::number(body.size())}};
    if (status == 405) {
        fields.emplaceBack("Allow", "GET, HEAD");
    }
    return Head(status, fields, false) + body;
}

} // namespace

struct LiveServer::Connection {
    QByteArray received;
    HttpRequestReader reader;
    QTimer idle;
};

LiveServer::LiveServer(QObject* parent, int idleMilliseconds)
    : QObject(parent), listener_(new QTcpServer(this)), idle_(idleMilliseconds) {
    listener_->setMaxPendingConnections(kMaxConnections);
    listener_->setListenBacklogSize(kMaxConnections); // a crowd of phones at once is not made to retry
    connect(listener_, &QTcpServer::newConnection, this, &LiveServer::Accept);
    for (const char* name : {"index.html", "tv.html", "live.js", "live.css"}) {
        const QByteArray file = name;
        const QByteArray type = file.endsWith(".html") ? "text/html; charset=utf-8"
                                : file.endsWith(".js") ? "text/javascript; charset=utf-8"
                                                       : "text/css; charset=utf-8";
        documents_.insert('/' + file, MakeLiveDocument(type, LivePageFile(QString::fromLatin1(file))));
    }
    documents_.insert("/", documents_.value("/index.html"));
    documents_.insert("/tv", documents_.value("/tv.html"));
    SetResults("{}");
}

LiveServer::~LiveServer() {
    Stop();
}

bool LiveServer::Start(const QHostAddress& address, quint16 port, QString* error) {
    Stop();
    if (!listener_->listen(address, port)) {
        *error =
            listener_->serverError() == QAbstractSocket::AddressInUseError
                ? u"Der Port %1 ist schon belegt; bitte einen anderen wählen."_s.arg(port)
                : u"Die Live-Ergebnisse lassen sich auf %1:%2 nicht anbieten: %3"_s.arg(address.toString())
                      .arg(port)
                      .arg(listener_->errorString());
        return false;
    }
    address_ = address;
    return true;
}

void LiveServer::Stop() {
    listener_->close();
    for (QTcpSocket* socket : connections_.keys()) {
        Drop(socket);
    }
    seen_.clear();
}

bool LiveServer::Serving() const {
    return listener_->isListening();
}

quint16 LiveServer::Port() const {
    return listener_->serverPort();
}

QStringList LiveServer::Addresses() const {
    QStringList addresses;
    const auto add = [&](const QHostAddress& host) {
        addresses << u"http://%1:%2"_s
                         .arg(host.protocol() == QAbstractSocket::IPv6Protocol ? u'[' + host.toString() + u']'
                                                                               : host.toString())
                         .arg(Port());
    };
    if (address_ == QHostAddress::Any || address_ == QHostAddress::AnyIPv4 ||
        address_ == QHostAddress::AnyIPv6) {
        for (const QHostAddress& host : QNetworkInterface::allAddresses()) {
            if (!host.isLoopback() && host.protocol() == QAbstractSocket::IPv4Protocol) {
                add(host);
            }
        }
        if (addresses.isEmpty()) {
            add(QHostAddress(QHostAddress::LocalHost));
        }
    } else {
        add(address_);
    }
    return addresses;
}

void LiveServer::SetResults(const QByteArray& json) {
    documents_.insert("/results.json", MakeLiveDocument("application/json; charset=utf-8", json));
}

int LiveServer::DevicesLastMinute() const {
    const qint64 since = QDateTime::currentMSecsSinceEpoch() - 60000;
    seen_.removeIf([since](const auto& device) { return device.value() < since; });
    return static_cast<int>(seen_.size());
}

void LiveServer::Accept() {
    while (QTcpSocket* socket = listener_->nextPendingConnection()) {
        if (connections_.size() >= kMaxConnections) {
            socket->write(ErrorResponse(503));
            socket->disconnectFromHost();
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            continue;
        }
        auto* connection = new Connection;
        connections_.insert(socket, connection);
        connection->idle.setSingleShot(true);
        connect(&connection->idle, &QTimer::timeout, socket, [this, socket] { Drop(socket); });
        connection->idle.start(idle_);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { Receive(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] { Drop(socket); });
        seen_.insert(socket->peerAddress().toString(), QDateTime::currentMSecsSinceEpoch());
    }
}

void LiveServer::Drop(QTcpSocket* socket) {
    Connection* connection = connections_.take(socket);
    if (!connection) {
        return;
    }
    delete connection;
    socket->disconnect(this);
    socket->abort();
    socket->deleteLater();
}

void LiveServer::Receive(QTcpSocket* socket) {
    Connection* connection = connections_.value(socket);
    if (!connection) {
        return;
    }
    // Never more than one head's worth waits: the reader refuses what is longer.
    connection->received += socket->read(HttpRequestReader::kMaxHead + 1 - connection->received.size());
    Answer(socket, *connection);
}

void LiveServer::Answer(QTcpSocket* socket, Connection& connection) {
    for (;;) {
        const HttpRequestReader::Result result = connection.reader.Read(connection.received);
        if (result == HttpRequestReader::Result::Incomplete) {
            if (socket->bytesAvailable() > 0 && connection.received.size() <= HttpRequestReader::kMaxHead) {
                connection.received +=
                    socket->read(HttpRequestReader::kMaxHead + 1 - connection.received.size());
                continue;
            }
            return;
        }
        const HttpRequest& request = connection.reader.Request();
        seen_.insert(socket->peerAddress().toString(), QDateTime::currentMSecsSinceEpoch());
        int status = 0;
        if (result == HttpRequestReader::Result::Refused) {
            status = connection.reader.RefusalStatus();
        } else if (request.method != "GET" && request.method != "HEAD") {
            status = 405;
        } else if (request.hasBody) {
            status = 400;
        } else if (!documents_.contains(request.path)) {
            status = 404;
        }
        if (status != 0) {
            socket->write(ErrorResponse(status));
            if (answered_) {
                answered_(request.path, status);
            }
            socket->disconnectFromHost();
            return;
        }
        const LiveDocument& document = documents_[request.path];
        const bool notModified = !request.ifNoneMatch.isEmpty() &&
                                 (request.ifNoneMatch == document.etag || request.ifNoneMatch == "*" ||
                                  request.ifNoneMatch.split(',').contains(' ' + document.etag));
        const bool gzip = request.acceptsGzip && !document.gzipped.isEmpty() &&
                          document.gzipped.size() < document.body.size();
        const QByteArray& body = gzip ? document.gzipped : document.body;
        QList<std::pair<QByteArray, QByteArray>> fields = {
            {"Server", "Vastrel"},
            {"ETag", document.etag},
            {"Cache-Control", "no-cache"},
            {"Vary", "Accept-Encoding"},
        };
        if (!notModified) {
            fields.append({{"Content-Type", document.type},
                           {"Content-Length", QByteArray::number(body.size())},
                           {"X-Content-Type-Options", "nosniff"},
                           {"Referrer-Policy", "no-referrer"},
                           {"Content-Security-Policy", "default-src 'self'"}});
            if (gzip) {
                fields.emplaceBack("Content-Encoding", "gzip");
            }
        }
        socket->write(Head(notModified ? 304 : 200, fields, request.keepAlive));
        if (!notModified && request.method == "GET") {
            socket->write(body);
        }
        if (answered_) {
            answered_(request.path, notModified ? 304 : 200);
        }
        if (!request.keepAlive) {
            socket->disconnectFromHost();
            return;
        }
        connection.idle.start(idle_);
    }
}

} // namespace vastrel

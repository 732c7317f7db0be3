#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTcpSocket>

namespace vastrel::testing {

// What a client gets for the bytes it sends, until the server closes or `milliseconds` pass.
inline QByteArray Exchange(quint16 port, const QByteArray& sent, int milliseconds = 3000,
                           bool* closed = nullptr) {
    QTcpSocket socket;
    socket.connectToHost(QStringLiteral("127.0.0.1"), port);
    socket.write(sent); // sent once connected
    QByteArray answer;
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < milliseconds && socket.state() != QAbstractSocket::UnconnectedState) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        answer += socket.readAll();
    }
    answer += socket.readAll();
    if (closed) {
        *closed = socket.state() == QAbstractSocket::UnconnectedState;
    }
    return answer;
}

// The body of what GET gives for the path on a server of this process.
inline QByteArray GetBody(quint16 port, const QByteArray& path) {
    const QByteArray answer =
        Exchange(port, "GET " + path + " HTTP/1.1\r\nHost: a\r\nConnection: close\r\n\r\n");
    return answer.mid(answer.indexOf("\r\n\r\n") + 4);
}

} // namespace vastrel::testing

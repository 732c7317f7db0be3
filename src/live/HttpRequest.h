#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>

namespace vastrel {

// One request's head as a client sent it: the method, the path (decoded, without the query) and
// the fields the results server looks at.
struct HttpRequest {
    QByteArray method;
    QByteArray path;
    QByteArray ifNoneMatch;
    bool acceptsGzip = false;
    bool keepAlive = true; // HTTP/1.1 unless "Connection: close"; HTTP/1.0 only when asked
    bool hasBody = false;  // the server takes none: it answers and closes
};

// Reads requests' heads from the bytes a connection has received, one at a time. Bounded: a
// request line past 4 KiB is refused with 400, a head past 16 KiB or 100 fields with 431; a body is
// marked (the server takes none). HTTP/1.1 without "Host" is refused with 400. Never reads past
// the head's end.
class HttpRequestReader {
public:
    enum class Result { Incomplete, Complete, Refused };

    static constexpr qsizetype kMaxRequestLine = 4096;
    static constexpr qsizetype kMaxHead = 16384;
    static constexpr int kMaxFields = 100;

    // Takes one complete head from the front of `received`; Refused leaves the connection unusable.
    Result Read(QByteArray& received);
    const HttpRequest& Request() const { return request_; }
    int RefusalStatus() const { return refusal_; } // 400 or 431 after Refused

private:
    Result Refuse(int status);
    HttpRequest request_;
    int refusal_ = 0;
};

// A path's %XX decoded; nothing where it is malformed or decodes to a NUL.
QByteArray DecodedPath(QByteArrayView target, bool* ok);

} // namespace vastrel

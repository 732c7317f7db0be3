#include "live/HttpRequest.h"

namespace vastrel {

namespace {

bool IsTokenChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           QByteArrayView("!#$%&'*+-.^_`|~").contains(c);
}

bool IsToken(QByteArrayView text) {
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), IsTokenChar);
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// Where the head ends (past its empty line), or -1 while it has not come whole.
qsizetype HeadEnd(const QByteArray& received) {
    for (qsizetype at = received.indexOf('\n'); at >= 0; at = received.indexOf('\n', at + 1)) {
        if (at + 1 < received.size() && received[at + 1] == '\n') {
            return at + 2;
        }
        if (at + 2 < received.size() && received[at + 1] == '\r' && received[at + 2] == '\n') {
            return at + 3;
        }
    }
    return -1;
}

// Whether a comma list names the item, with a weight above nothing where it gives one ("gzip;q=0.5").
bool ListHas(QByteArrayView list, QByteArrayView item) {
    for (const QByteArray& part : list.toByteArray().split(',')) {
        const QList<QByteArray> entry = part.trimmed().toLower().split(';');
        if (entry.constFirst().trimmed() != item) {
            continue;
        }
        const qsizetype q = entry.size() > 1 ? entry[1].indexOf("q=") : -1;
        return q < 0 || entry[1].mid(q + 2).trimmed().toDouble() > 0;
    }
    return false;
}

} // namespace

QByteArray DecodedPath(QByteArrayView target, bool* ok) {
    QByteArray path;
    *ok = false;
    for (qsizetype i = 0; i < target.size(); ++i) {
        char c = target[i];
        if (c == '%') {
            const int high = i + 2 < target.size() ? HexValue(target[i + 1]) : -1;
            const int low = high >= 0 ? HexValue(target[i + 2]) : -1;
            if (low < 0) {
                return {};
            }
            c = static_cast<char>(high * 16 + low);
            i += 2;
        }
        if (c == '\0') {
            return {};
        }
        path += c;
    }
    *ok = true;
    return path;
}

HttpRequestReader::Result HttpRequestReader::Refuse(int status) {
    refusal_ = status;
    return Result::Refused;
}

HttpRequestReader::Result HttpRequestReader::Read(QByteArray& received) {
    // Empty lines before a request are allowed (a client's leftover line end).
    qsizetype start = 0;
    while (start < received.size() && (received[start] == '\r' || received[start] == '\n')) {
        ++start;
    }
    received.remove(0, start);
    const qsizetype end = HeadEnd(received);
    if (end < 0) {
        const qsizetype lineEnd = received.indexOf('\n');
        if ((lineEnd < 0 ? received.size() : lineEnd) > kMaxRequestLine) {
            return Refuse(400);
        }
        return received.size() > kMaxHead ? Refuse(431) : Result::Incomplete;
    }
    if (received.indexOf('\n') > kMaxRequestLine) {
        return Refuse(400);
    }
    if (end > kMaxHead) {
        return Refuse(431);
    }
    QList<QByteArray> lines = received.left(end).split('\n');
    received.remove(0, end);
    for (QByteArray& line : lines) {
        if (line.endsWith('\r')) {
            line.chop(1);
        }
    }
    while (!lines.isEmpty() && lines.constLast().isEmpty()) {
        lines.removeLast();
    }
    if (lines.isEmpty() || lines.size() - 1 > kMaxFields) {
        return Refuse(lines.isEmpty() ? 400 : 431);
    }
    const QList<QByteArray> parts = lines.constFirst().split(' ');
    if (parts.size() != 3 || parts[0].size() > kMaxRequestLine || !IsToken(parts[0]) ||
        (parts[2] != "HTTP/1.1" && parts[2] != "HTTP/1.0")) {
        return Refuse(400);
    }
    request_ = {};
    request_.method = parts[0];
    QByteArrayView target = parts[1];
    if (target.startsWith("http://") || target.startsWith("https://")) {
        const qsizetype slash = target.indexOf('/', target.indexOf("//") + 2);
        target = slash < 0 ? QByteArrayView("/") : target.sliced(slash);
    }
    if (target != "*" && !target.startsWith('/')) {
        return Refuse(400);
    }
    bool ok = false;
    const qsizetype query = target.indexOf('?');
    request_.path = DecodedPath(query < 0 ? target : target.first(query), &ok);
    if (!ok) {
        return Refuse(400);
    }
    const bool http10 = parts[2] == "HTTP/1.0";
    request_.keepAlive = !http10;
    bool host = false;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray& line = lines[i];
        const qsizetype colon = line.indexOf(':');
        if (colon <= 0 || !IsToken(QByteArrayView(line).first(colon))) {
            return Refuse(400); // also a folded line, which starts with a blank
        }
        const QByteArray name = line.left(colon).toLower();
        const QByteArray value = line.mid(colon + 1).trimmed();
        if (name == "host") {
            host = true;
        } else if (name == "connection") {
            request_.keepAlive = ListHas(value, "keep-alive") || (!http10 && !ListHas(value, "close"));
        } else if (name == "if-none-match") {
            request_.ifNoneMatch = value;
        } else if (name == "accept-encoding") {
            request_.acceptsGzip = ListHas(value, "gzip");
        } else if ((name == "content-length" && value != "0") || name == "transfer-encoding") {
            request_.hasBody = true;
        }
    }
    if (!host && !http10) {
        return Refuse(400);
    }
    return Result::Complete;
}

} // namespace vastrel

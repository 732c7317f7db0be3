#pragma once

#include <QByteArray>
#include <QStringView>

namespace vastrel {

// One document the results server or folder hands out: its type, its bytes (gzipped too, for
// clients that accept it) and its entity tag, a digest of the bytes.
struct LiveDocument {
    QByteArray type;
    QByteArray body;
    QByteArray gzipped;
    QByteArray etag;
};

LiveDocument MakeLiveDocument(QByteArray type, QByteArray body);

// The results page's own files: "index.html", "tv.html" (the kiosk view), "live.js", "live.css".
// Empty for any other name.
QByteArray LivePageFile(QStringView name);

// The bytes as a gzip stream (RFC 1952).
QByteArray Gzip(QByteArrayView bytes);

} // namespace vastrel

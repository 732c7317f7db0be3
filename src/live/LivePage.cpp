#include "live/LivePage.h"

#include <QCryptographicHash>

#include <zlib.h>

namespace vastrel {

QByteArray LivePageSource(QStringView name); // the page's files as written, built in

QByteArray LivePageFile(QStringView name) {
    if (name == u"tv.html") {
        return LivePageSource(u"index.html").replace(R"(data-ansicht="liste")", R"(data-ansicht="tv")");
    }
    return LivePageSource(name);
}

QByteArray Gzip(QByteArrayView bytes) {
    z_stream stream{};
    // 15 + 16: a window of 32 KiB with the gzip header and trailer.
    if (deflateInit2(&stream, 6, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
        return {};
    }
    QByteArray out(static_cast<qsizetype>(deflateBound(&stream, static_cast<uLong>(bytes.size()))), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    stream.avail_in = static_cast<uInt>(bytes.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    const int result = deflate(&stream, Z_FINISH);
    out.resize(static_cast<qsizetype>(stream.total_out));
    deflateEnd(&stream);
    return result == Z_STREAM_END ? out : QByteArray();
}

LiveDocument MakeLiveDocument(QByteArray type, QByteArray body) {
    LiveDocument document{std::move(type), std::move(body), {}, {}};
    document.gzipped = Gzip(document.body);
    document.etag =
        '"' + QCryptographicHash::hash(document.body, QCryptographicHash::Sha1).toHex().left(20) + '"';
    return document;
}

} // namespace vastrel

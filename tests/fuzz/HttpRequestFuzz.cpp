// Reads any bytes as what a client sent the results server, in pieces as they might arrive:
// the reader never takes more than it was given, never keeps more than one head's worth waiting,
// refuses with 400 or 431 alone, and a path it hands on holds no NUL.
#include "FuzzSupport.h"
#include "live/HttpRequest.h"

#include <cstddef>
#include <cstdint>

using namespace vastrel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    HttpRequestReader reader;
    QByteArray received;
    // The first byte says how the rest arrives: in pieces of 1 to 256 bytes.
    const qsizetype piece = bytes.isEmpty() ? 1 : static_cast<unsigned char>(bytes[0]) + 1;
    for (qsizetype at = 1; at < bytes.size(); at += piece) {
        received += bytes.mid(at, piece);
        for (;;) {
            const qsizetype before = received.size();
            const auto result = reader.Read(received);
            if (received.size() > before) {
                fuzz::Broken("the reader takes, never adds");
            }
            if (result == HttpRequestReader::Result::Refused) {
                if (reader.RefusalStatus() != 400 && reader.RefusalStatus() != 431) {
                    fuzz::Broken("a refusal is 400 or 431");
                }
                return 0;
            }
            if (result == HttpRequestReader::Result::Incomplete) {
                if (received.size() > HttpRequestReader::kMaxHead) {
                    fuzz::Broken("no more than one head waits");
                }
                break;
            }
            if (reader.Request().path.contains('\0') || reader.Request().method.isEmpty()) {
                fuzz::Broken("a request has a method and a path without NUL");
            }
        }
    }
    return 0;
}

#include "formats/CompoundFile.h"

#include <QtEndian>

#include <cstring>
#include <vector>

namespace vastrel {

namespace {

constexpr int kSector = 512;
constexpr quint32 kFree = 0xFFFFFFFF;
constexpr quint32 kEndOfChain = 0xFFFFFFFE;
constexpr quint32 kFatSector = 0xFFFFFFFD;
constexpr quint32 kDifatSector = 0xFFFFFFFC;
constexpr int kEntriesPerSector = kSector / 4;
constexpr int kHeaderDifatEntries = 109;
constexpr int kMiniStreamCutoff = 4096;

void Put16(QByteArray& b, int at, quint16 v) {
    qToLittleEndian(v, b.data() + at);
}
void Put32(QByteArray& b, int at, quint32 v) {
    qToLittleEndian(v, b.data() + at);
}

// One 128-byte directory entry.
QByteArray DirectoryEntry(const QString& name, quint8 type, quint32 child, quint32 start, quint32 size) {
    QByteArray e(128, '\0');
    const int chars = std::min<int>(static_cast<int>(name.size()), 31);
    for (int i = 0; i < chars; ++i) {
        Put16(e, 2 * i, name.at(i).unicode());
    }
    Put16(e, 64, static_cast<quint16>((chars + 1) * 2));
    e[66] = static_cast<char>(type);
    e[67] = 1;           // black
    Put32(e, 68, kFree); // left sibling
    Put32(e, 72, kFree); // right sibling
    Put32(e, 76, child);
    Put32(e, 116, start);
    Put32(e, 120, size);
    return e;
}

} // namespace

QByteArray BuildCompoundFile(const QString& streamName, QByteArray stream) {
    if (stream.size() < kMiniStreamCutoff) {
        stream.append(kMiniStreamCutoff - stream.size(), '\0');
    }
    const int streamSectors = static_cast<int>((stream.size() + kSector - 1) / kSector);
    const int directorySectors = 1;

    // FAT and DIFAT sectors describe themselves too: grow until everything is covered.
    int fatSectors = 1;
    int difatSectors = 0;
    for (;;) {
        difatSectors =
            fatSectors > kHeaderDifatEntries
                ? (fatSectors - kHeaderDifatEntries + kEntriesPerSector - 2) / (kEntriesPerSector - 1)
                : 0;
        const int total = streamSectors + directorySectors + fatSectors + difatSectors;
        if (fatSectors * kEntriesPerSector >= total) {
            break;
        }
        ++fatSectors;
    }
    const int directoryStart = streamSectors;
    const int fatStart = directoryStart + directorySectors;
    const int difatStart = fatStart + fatSectors;
    const int totalSectors = difatStart + difatSectors;

    std::vector<quint32> fat(static_cast<std::size_t>(fatSectors) * kEntriesPerSector, kFree);
    for (int s = 0; s < streamSectors; ++s) {
        fat[static_cast<std::size_t>(s)] = s + 1 < streamSectors ? static_cast<quint32>(s + 1) : kEndOfChain;
    }
    fat[static_cast<std::size_t>(directoryStart)] = kEndOfChain;
    for (int s = 0; s < fatSectors; ++s) {
        fat[static_cast<std::size_t>(fatStart + s)] = kFatSector;
    }
    for (int s = 0; s < difatSectors; ++s) {
        fat[static_cast<std::size_t>(difatStart + s)] = kDifatSector;
    }

    QByteArray out(kSector + static_cast<qsizetype>(totalSectors) * kSector, '\0');
    // Header
    const unsigned char signature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    std::memcpy(out.data(), signature, 8);
    Put16(out, 24, 0x003E); // minor version
    Put16(out, 26, 0x0003); // major version 3
    Put16(out, 28, 0xFFFE); // little-endian
    Put16(out, 30, 9);      // 512-byte sectors
    Put16(out, 32, 6);      // 64-byte mini sectors
    Put32(out, 44, static_cast<quint32>(fatSectors));
    Put32(out, 48, static_cast<quint32>(directoryStart));
    Put32(out, 56, kMiniStreamCutoff);
    Put32(out, 60, kEndOfChain); // no mini FAT
    Put32(out, 64, 0);
    Put32(out, 68, difatSectors > 0 ? static_cast<quint32>(difatStart) : kEndOfChain);
    Put32(out, 72, static_cast<quint32>(difatSectors));
    for (int i = 0; i < kHeaderDifatEntries; ++i) {
        Put32(out, 76 + 4 * i, i < fatSectors ? static_cast<quint32>(fatStart + i) : kFree);
    }
    auto sectorOffset = [](int sector) {
        return kSector + sector * kSector;
    };

    // The stream, the directory, the FAT, the DIFAT
    std::memcpy(out.data() + sectorOffset(0), stream.constData(), static_cast<std::size_t>(stream.size()));
    const QByteArray root = DirectoryEntry(QStringLiteral("Root Entry"), 5, 1, kEndOfChain, 0);
    const QByteArray entry = DirectoryEntry(streamName, 2, kFree, 0, static_cast<quint32>(stream.size()));
    std::memcpy(out.data() + sectorOffset(directoryStart), root.constData(), 128);
    std::memcpy(out.data() + sectorOffset(directoryStart) + 128, entry.constData(), 128);
    for (int i = 2; i < 4; ++i) { // unused entries: empty, no siblings or children
        const int at = sectorOffset(directoryStart) + 128 * i;
        Put32(out, at + 68, kFree);
        Put32(out, at + 72, kFree);
        Put32(out, at + 76, kFree);
    }
    for (std::size_t i = 0; i < fat.size(); ++i) {
        Put32(out, sectorOffset(fatStart) + static_cast<int>(4 * i), fat[i]);
    }
    int fatIndex = kHeaderDifatEntries;
    for (int d = 0; d < difatSectors; ++d) {
        const int at = sectorOffset(difatStart + d);
        for (int i = 0; i < kEntriesPerSector - 1; ++i, ++fatIndex) {
            Put32(out, at + 4 * i, fatIndex < fatSectors ? static_cast<quint32>(fatStart + fatIndex) : kFree);
        }
        Put32(out, at + 4 * (kEntriesPerSector - 1),
              d + 1 < difatSectors ? static_cast<quint32>(difatStart + d + 1) : kEndOfChain);
    }
    return out;
}

} // namespace vastrel

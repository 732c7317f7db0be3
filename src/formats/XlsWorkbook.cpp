#include "formats/XlsWorkbook.h"

#include "formats/CompoundFile.h"
#include "system/NumberText.h"
#include "system/TextIndex.h"
#include "table/ResultTable.h"

#include <QtEndian>

#include <algorithm>
#include <functional>
#include <optional>
#include <vector>

using namespace Qt::StringLiterals;

namespace vastrel {

namespace {

constexpr quint16 kBof = 0x0809;
constexpr quint16 kEof = 0x000A;
constexpr quint16 kCodePage = 0x0042;
constexpr quint16 kWindow1 = 0x003D;
constexpr quint16 kFont = 0x0031;
constexpr quint16 kXf = 0x00E0;
constexpr quint16 kStyle = 0x0293;
constexpr quint16 kBoundSheet = 0x0085;
constexpr quint16 kSst = 0x00FC;
constexpr quint16 kContinue = 0x003C;
constexpr quint16 kDimensions = 0x0200;
constexpr quint16 kWindow2 = 0x023E;
constexpr quint16 kLabelSst = 0x00FD;
constexpr quint16 kNumber = 0x0203;
constexpr int kMaxRecordData = 8224;
constexpr quint16 kFormat = 0x041E;
constexpr quint16 kTextXf = 15; // the first cell format after the fifteen style formats
constexpr int kMaxDecimals = 10;
constexpr int kFirstCustomFormat = 164;
constexpr quint16 NumberXf(int decimals) {
    return static_cast<quint16>(kTextXf + 1 + decimals);
}

// Little-endian writing into a growing buffer.
class Writer {
public:
    std::vector<char> bytes;
    void U8(quint8 v) { bytes.push_back(static_cast<char>(v)); }
    void U16(quint16 v) {
        bytes.push_back(static_cast<char>(v & 0xFF));
        bytes.push_back(static_cast<char>(v >> 8));
    }
    void U32(quint32 v) {
        U16(static_cast<quint16>(v & 0xFFFF));
        U16(static_cast<quint16>(v >> 16));
    }
    void F64(double v) {
        char b[8];
        qToLittleEndian(v, b);
        bytes.insert(bytes.end(), b, b + 8);
    }
    void Utf16(QStringView text) {
        for (QChar c : text) {
            U16(c.unicode());
        }
    }
    void Append(const std::vector<char>& more) { bytes.insert(bytes.end(), more.begin(), more.end()); }
    void Record(quint16 type, const std::vector<char>& data) {
        U16(type);
        U16(static_cast<quint16>(data.size()));
        Append(data);
    }
    qsizetype Size() const { return static_cast<qsizetype>(bytes.size()); }
};

std::vector<char> Data(const std::function<void(Writer&)>& fill) {
    Writer w;
    fill(w);
    return w.bytes;
}

std::vector<char> BofData(quint16 substreamType) {
    return Data([&](Writer& w) {
        w.U16(0x0600); // BIFF8
        w.U16(substreamType);
        w.U16(0x0DBB); // build
        w.U16(0x07CC); // year
        w.U32(0);
        w.U32(0x00000006);
    });
}

// A short text: 8-bit length, then UTF-16 characters.
void ShortText(Writer& w, QStringView text) {
    w.U8(static_cast<quint8>(text.size()));
    w.U8(0x01);
    w.Utf16(text);
}

void WriteGlobals(Writer& w) {
    w.Record(kBof, BofData(0x0005));
    w.Record(kCodePage, Data([](Writer& d) { d.U16(0x04B0); })); // UTF-16
    w.Record(kWindow1, Data([](Writer& d) {
                 d.U16(0);
                 d.U16(0);
                 d.U16(0x3000);
                 d.U16(0x2000);
                 d.U16(0x0038);
                 d.U16(0);
                 d.U16(0);
                 d.U16(1);
                 d.U16(0x0258);
             }));
    for (int i = 0; i < 5; ++i) { // font 4 does not exist in BIFF: five records give 0-3 and 5
        w.Record(kFont, Data([](Writer& d) {
                     d.U16(200); // 10 points
                     d.U16(0);
                     d.U16(0x7FFF);
                     d.U16(400);
                     d.U16(0);
                     d.U8(0);
                     d.U8(0);
                     d.U8(0);
                     d.U8(0);
                     ShortText(d, u"Arial");
                 }));
    }
    // Number formats "0", "0.0", "0.00", …: a number shows as many decimals as its cell had.
    for (int decimals = 0; decimals <= kMaxDecimals; ++decimals) {
        w.Record(kFormat, Data([decimals](Writer& d) {
                     const QString code = decimals == 0 ? u"0"_s : u"0."_s + QString(decimals, u'0');
                     d.U16(static_cast<quint16>(kFirstCustomFormat + decimals));
                     d.U16(static_cast<quint16>(code.size()));
                     d.U8(0x01);
                     d.Utf16(code);
                 }));
    }
    auto xf = [&](bool style, quint16 format) {
        w.Record(kXf, Data([style, format](Writer& d) {
                     d.U16(0);                       // font
                     d.U16(format);                  // number format, 0 "General"
                     d.U16(style ? 0xFFF5 : 0x0001); // style or cell, locked, parent
                     d.U8(0x20);                     // bottom aligned
                     d.U8(0);
                     d.U8(0);
                     d.U8(style ? 0xF4 : (format != 0 ? 0x04 : 0x00)); // a cell format of its own is "used"
                     d.U32(0);
                     d.U32(0);
                     d.U16(0x20C0); // pattern colours
                 }));
    };
    for (int i = 0; i < 15; ++i) {
        xf(true, 0);
    }
    xf(false, 0); // kTextXf
    for (int decimals = 0; decimals <= kMaxDecimals; ++decimals) {
        xf(false, static_cast<quint16>(kFirstCustomFormat + decimals)); // NumberXf(decimals)
    }
    w.Record(kStyle, Data([](Writer& d) {
                 d.U16(0x8000); // built-in style on format 0
                 d.U8(0);       // "Normal"
                 d.U8(0xFF);
             }));
}

class SharedStrings {
public:
    quint32 Index(QStringView text) {
        ++total_;
        return static_cast<quint32>(index_.Insert(text).index);
    }

    // SST, split into CONTINUE records; a text cut at a record end goes on after a fresh
    // option byte, as the format wants.
    void Write(Writer& w) const {
        std::vector<std::vector<char>> records(1);
        Writer head;
        head.U32(total_);
        head.U32(static_cast<quint32>(index_.Size()));
        records.back() = head.bytes;
        for (const QString& s : index_.Texts()) {
            if (records.back().size() + 3 + 2 > kMaxRecordData) {
                records.emplace_back();
            }
            Writer header;
            header.U16(static_cast<quint16>(s.size()));
            header.U8(0x01);
            records.back().insert(records.back().end(), header.bytes.begin(), header.bytes.end());
            qsizetype done = 0;
            while (done < s.size()) {
                const auto room = static_cast<qsizetype>((kMaxRecordData - records.back().size()) / 2);
                if (room == 0) {
                    records.emplace_back(1, static_cast<char>(0x01));
                    continue;
                }
                const qsizetype n = std::min(room, s.size() - done);
                Writer chars;
                chars.Utf16(QStringView(s).sliced(done, n));
                records.back().insert(records.back().end(), chars.bytes.begin(), chars.bytes.end());
                done += n;
            }
        }
        for (std::size_t i = 0; i < records.size(); ++i) {
            w.Record(i == 0 ? kSst : kContinue, records[i]);
        }
    }

private:
    TextIndex index_;
    quint32 total_ = 0;
};

} // namespace

std::optional<PlainNumber> AsPlainNumber(QStringView text) {
    QStringView t(text);
    if (t.startsWith(u'-')) {
        t = t.sliced(1);
    }
    const qsizetype point = t.indexOf(u'.');
    const QStringView whole = point < 0 ? t : t.first(point);
    const QStringView fraction = point < 0 ? QStringView() : t.sliced(point + 1);
    const auto digits = [](QStringView v) {
        return !v.isEmpty() &&
               std::all_of(v.begin(), v.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    };
    if (!digits(whole) || (whole.size() > 1 && whole.front() == u'0') || (point >= 0 && !digits(fraction)) ||
        fraction.size() > kMaxDecimals || whole.size() > 15) {
        return std::nullopt;
    }
    // Only a text that is the number's own way of writing itself: "1.0000" or "0.8210" would come
    // back from a spreadsheet as "1" or "0.821", so they stay text and come back unchanged.
    const auto value = ConvertStrict(text);
    if (!value || NumberToText(*value) != text) {
        return std::nullopt;
    }
    return PlainNumber{*value, static_cast<int>(fraction.size())};
}

QByteArray BuildXlsWorkbook(const ResultTable& table, const QList<int>& columns) {
    SharedStrings strings;
    Writer sheet;
    const int rowCount = table.RowCount() + 1;
    sheet.Record(kBof, BofData(0x0010));
    sheet.Record(kDimensions, Data([&](Writer& d) {
                     d.U32(0);
                     d.U32(static_cast<quint32>(rowCount));
                     d.U16(0);
                     d.U16(static_cast<quint16>(columns.size()));
                     d.U16(0);
                 }));
    sheet.Record(kWindow2, Data([](Writer& d) {
                     d.U16(0x06B6);
                     d.U16(0);
                     d.U16(0);
                     d.U16(0x0040);
                     d.U16(0);
                     d.U16(0);
                     d.U16(0);
                     d.U32(0);
                 }));
    sheet.bytes.reserve(static_cast<std::size_t>(rowCount) * static_cast<std::size_t>(columns.size()) * 16);
    auto label = [&](int row, int column, QStringView text) {
        sheet.U16(kLabelSst);
        sheet.U16(10);
        sheet.U16(static_cast<quint16>(row));
        sheet.U16(static_cast<quint16>(column));
        sheet.U16(kTextXf);
        sheet.U32(strings.Index(text));
    };
    for (qsizetype i = 0; i < columns.size(); ++i) {
        label(0, static_cast<int>(i), table.Key(columns.at(i)));
    }
    std::vector<bool> numeric;
    for (int c : columns) {
        numeric.push_back(table.ColumnAt(c).Kind() == ColumnKind::Number);
    }
    for (int r = 1; r <= table.RowCount(); ++r) {
        for (qsizetype i = 0; i < columns.size(); ++i) {
            const QStringView text = table.CellView(r, columns.at(i));
            if (text.isEmpty()) {
                continue;
            }
            const auto number = numeric[static_cast<std::size_t>(i)] ? AsPlainNumber(text) : std::nullopt;
            if (number) {
                sheet.U16(kNumber);
                sheet.U16(14);
                sheet.U16(static_cast<quint16>(r));
                sheet.U16(static_cast<quint16>(i));
                sheet.U16(NumberXf(number->decimals));
                sheet.F64(number->value);
            } else {
                label(r, static_cast<int>(i), text);
            }
        }
    }
    sheet.Record(kEof, {});

    // The globals name the sheet by its position in the stream, so they are laid out first.
    const QString sheetName = u"Vastrel"_s;
    Writer globals;
    WriteGlobals(globals);
    const qsizetype boundSheetSize = 4 + 4 + 2 + 2 + 2 * sheetName.size();
    Writer sst;
    strings.Write(sst);
    const qsizetype sheetStart = globals.Size() + boundSheetSize + sst.Size() + 4;
    globals.Record(kBoundSheet, Data([&](Writer& d) {
                       d.U32(static_cast<quint32>(sheetStart));
                       d.U8(0); // visible
                       d.U8(0); // worksheet
                       ShortText(d, sheetName);
                   }));
    globals.Append(sst.bytes);
    globals.Record(kEof, {});
    QByteArray stream;
    stream.reserve(globals.Size() + sheet.Size());
    stream.append(globals.bytes.data(), globals.Size());
    stream.append(sheet.bytes.data(), sheet.Size());
    return BuildCompoundFile(u"Workbook"_s, std::move(stream));
}

} // namespace vastrel

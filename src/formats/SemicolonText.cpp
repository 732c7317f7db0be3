#include "formats/SemicolonText.h"

#include "system/TextEncoding.h"
#include "table/ColumnModel.h"
#include "table/ResultTable.h"
#include "table/RowCells.h"

#include <QIODevice>

#include <algorithm>
#include <optional>
#include <thread>

using namespace Qt::StringLiterals;

namespace vastrel {

namespace {

bool NeedsQuotes(QStringView field, const QString& separator) {
    const QChar single = separator.size() == 1 ? separator.at(0) : QChar(u'"');
    for (QChar c : field) {
        if (c == u'"' || c == u'\t' || c == u'\r' || c == u'\n' || c == single) {
            return true;
        }
    }
    return separator.size() > 1 && field.contains(separator);
}

void AppendField(QString& out, QStringView field, const QString& separator) {
    if (!NeedsQuotes(field, separator)) {
        out += field;
        return;
    }
    out += u'"';
    for (QChar c : field) {
        if (c == u'"') {
            out += u'"';
        }
        out += c;
    }
    out += u'"';
}

bool IsLineEnd(QChar c) {
    return c == u'\r' || c == u'\n';
}

// Moves past one line end: CR LF, CR or LF.
void SkipLineEnd(QStringView text, qsizetype& pos) {
    if (pos < text.size() && text[pos] == u'\r') {
        ++pos;
        if (pos < text.size() && text[pos] == u'\n') {
            ++pos;
        }
    } else if (pos < text.size() && text[pos] == u'\n') {
        ++pos;
    }
}

bool IsSeparator(QChar c) {
    return c == u';' || c == u'\t';
}

struct QuotedField {
    QString text;
    qsizetype end = 0;  // just after the closing quote
    int lineBreaks = 0; // line ends inside the quotes
};

// The quoted field whose opening quote stands at pos, with "" standing for one quote. Its
// closing quote is the first lone quote. A field that runs over line ends must end in a closing
// quote that a separator, a line end or the end of the text follows, and hold less than a whole
// row's worth of separators; without that, or with `sameLineOnly` and no closing quote on the
// line, the quote was a stray one: nothing.
std::optional<QuotedField> ReadQuotedField(QStringView text, qsizetype pos, bool sameLineOnly) {
    QuotedField field;
    int separators = 0;
    ++pos; // the opening quote
    while (pos < text.size()) {
        const QChar c = text[pos++];
        if (c == u'"') {
            if (pos < text.size() && text[pos] == u'"') {
                field.text += u'"';
                ++pos;
                continue;
            }
            const bool fieldEnds = pos == text.size() || IsSeparator(text[pos]) || IsLineEnd(text[pos]);
            if (field.lineBreaks > 0 && (!fieldEnds || separators >= kResultColumnCount - 1)) {
                return std::nullopt;
            }
            field.end = pos;
            return field;
        }
        separators += IsSeparator(c) ? 1 : 0;
        if (IsLineEnd(c)) {
            if (sameLineOnly) {
                return std::nullopt;
            }
            // CR LF counts as one line end.
            if (!(c == u'\r' && pos < text.size() && text[pos] == u'\n')) {
                ++field.lineBreaks;
            }
        }
        field.text += c;
    }
    return std::nullopt; // no closing quote before the end of the text
}

struct Record {
    // Plain fields are views of the text; quoted ones, which lose their quotes, live in `quoted`.
    std::vector<QStringView> fields;
    std::vector<QString> quoted;
    int lineBreaks = 0;      // line ends inside quoted fields
    bool strayQuote = false; // a field opened a quote that never closed
    void Clear() {
        fields.clear();
        quoted.clear();
        lineBreaks = 0;
        strayQuote = false;
    }
};

void ReadRecord(QStringView text, qsizetype& pos, bool quotesOverLines, Record& record) {
    record.Clear();
    for (;;) {
        std::optional<QuotedField> q;
        if (pos < text.size() && text[pos] == u'"') {
            q = ReadQuotedField(text, pos, !quotesOverLines);
            if (q) {
                pos = q->end;
                record.lineBreaks += q->lineBreaks;
            } else {
                record.strayQuote = true; // read as plain text, the quote kept
            }
        }
        const qsizetype start = pos;
        while (pos < text.size() && !IsSeparator(text[pos]) && !IsLineEnd(text[pos])) {
            ++pos;
        }
        if (!q) {
            record.fields.push_back(text.sliced(start, pos - start));
        } else {
            q->text += text.sliced(start, pos - start); // text after a closing quote stays text
            // Moving a string keeps its characters where they are, so the view stays good.
            record.quoted.push_back(std::move(q->text));
            record.fields.push_back(record.quoted.back());
        }
        if (pos < text.size() && IsSeparator(text[pos])) {
            ++pos;
            continue;
        }
        SkipLineEnd(text, pos);
        return;
    }
}

void AppendHeader(QString& out, const ResultTable& table, const QList<int>& columns,
                  const QString& separator) {
    for (qsizetype i = 0; i < columns.size(); ++i) {
        if (i > 0) {
            out += separator;
        }
        AppendField(out, table.Key(columns.at(i)), separator);
    }
    out += u"\r\n"_s;
}

void AppendRow(QString& out, const ResultTable& table, int row, const QList<int>& columns,
               const QString& separator) {
    for (qsizetype i = 0; i < columns.size(); ++i) {
        if (i > 0) {
            out += separator;
        }
        AppendField(out, table.CellView(row, columns.at(i)), separator);
    }
    out += u"\r\n"_s;
}

} // namespace

QString SemicolonText(const ResultTable& table, const QList<int>& columns, const QString& separator) {
    QString out;
    out.reserve(static_cast<qsizetype>(table.RowCount() + 1) * columns.size() * 6);
    AppendHeader(out, table, columns, separator);
    for (int row = 1; row <= table.RowCount(); ++row) {
        AppendRow(out, table, row, columns, separator);
    }
    return out;
}

namespace {

// Rows lie spread over memory after sorts: a pass over them asks for the rows ahead early,
// first where they are, then their texts.
void PrefetchRowsAhead(const ResultTable& table, int row, int last) {
    constexpr int kHeadsAhead = 16;
    constexpr int kTextsAhead = 8;
    if (row + kHeadsAhead <= last) {
        table.PrefetchRow(row + kHeadsAhead);
    }
    if (row + kTextsAhead <= last) {
        table.Cells(row + kTextsAhead).PrefetchText();
    }
}

// The bytes of a piece of rows, grown as needed and written out at once.
class PieceBuffer {
public:
    void Clear() { used_ = 0; }
    char* Room(qsizetype size) {
        if (used_ + size > bytes_.size()) {
            bytes_.resize(std::max(2 * bytes_.size(), used_ + size));
        }
        return bytes_.data() + used_;
    }
    void Commit(const char* end) { used_ = end - bytes_.constData(); }
    void Append(const QByteArray& bytes) {
        Commit(std::copy(bytes.begin(), bytes.end(), Room(bytes.size())));
    }
    bool WriteTo(QIODevice& device) const { return device.write(bytes_.constData(), used_) == used_; }

private:
    QByteArray bytes_;
    qsizetype used_ = 0;
};

// The common row in one go: a separator of one ASCII character, and every character of the row
// one byte as it stands (ASCII; in 8 bits Latin-1 too), none a quote or a control character.
// False, and nothing appended, for any other row.
bool AppendCommonRow(PieceBuffer& out, const RowCells& cells, const QList<int>& columns, int columnCount,
                     const QString& separator, const TextFileEncoder& encoder) {
    if (separator.size() != 1 || separator.at(0).unicode() >= 0x80) {
        return false;
    }
    const char16_t single = separator.at(0).unicode();
    const std::uint16_t limit = encoder.UsesUtf8() ? 0x80 : 0x100;
    // The whole row is looked at first, in a loop the compiler makes check many characters at
    // once. A control character (tab and line breaks among them) takes the longer way too.
    std::uint16_t needsMore = 0;
    for (QChar ch : cells.AllText()) {
        const std::uint16_t c = ch.unicode();
        needsMore |= (c < 0x20 ? 1 : 0) | (c == u'"' ? 1 : 0) | (c == single ? 1 : 0) | (c >= limit ? 1 : 0) |
                     ((c & 0xFFE0) == 0x80 ? 1 : 0);
    }
    if (needsMore) {
        return false;
    }
    const auto field = [&](int column) {
        return column >= 1 && column <= columnCount ? cells.At(static_cast<std::size_t>(column - 1))
                                                    : QStringView();
    };
    qsizetype length = columns.size() + 1; // a separator each and the line end
    for (int column : columns) {
        length += field(column).size();
    }
    char* dst = out.Room(length);
    for (qsizetype i = 0; i < columns.size(); ++i) {
        if (i > 0) {
            *dst++ = static_cast<char>(single);
        }
        for (QChar c : field(columns.at(i))) {
            *dst++ = static_cast<char>(c.unicode());
        }
    }
    *dst++ = '\r';
    *dst++ = '\n';
    out.Commit(dst);
    return true;
}

// One row straight into the file's bytes: the common field needs no quotes and no copy.
void AppendEncodedRow(QByteArray& out, const ResultTable& table, int row, const QList<int>& columns,
                      const QString& separator, const QByteArray& encodedSeparator,
                      const TextFileEncoder& encoder) {
    for (qsizetype i = 0; i < columns.size(); ++i) {
        if (i > 0) {
            out += encodedSeparator;
        }
        const QStringView field = table.CellView(row, columns.at(i));
        if (NeedsQuotes(field, separator)) {
            QString quoted;
            AppendField(quoted, field, separator);
            encoder.Append(quoted, out);
        } else {
            encoder.Append(field, out);
        }
    }
    out += "\r\n";
}

} // namespace

bool WriteSemicolonText(const ResultTable& table, const QList<int>& columns, const QString& separator,
                        QIODevice& device) {
    // Many rows are looked at and encoded on two threads, each taking every other piece; the
    // table is only read meanwhile.
    constexpr int kRowsForTwoThreads = 8192;
    const int rowCount = table.RowCount();
    const bool twoThreads = rowCount >= kRowsForTwoThreads && std::thread::hardware_concurrency() > 1;
    const auto consider = [&](TextFileEncoder& encoder, int first, int last) {
        for (int row = first; row <= last; ++row) {
            PrefetchRowsAhead(table, row, last);
            if (encoder.IsSettledFor(table.Cells(row).AllText())) {
                continue;
            }
            for (int c : columns) {
                encoder.Consider(table.CellView(row, c));
            }
        }
    };
    TextFileEncoder encoder;
    encoder.Consider(separator);
    for (int c : columns) {
        encoder.Consider(table.Key(c));
    }
    if (twoThreads) {
        TextFileEncoder secondHalf;
        std::thread second([&] { consider(secondHalf, rowCount / 2 + 1, rowCount); });
        consider(encoder, 1, rowCount / 2);
        second.join();
        encoder.Merge(secondHalf);
    } else {
        consider(encoder, 1, rowCount);
    }
    QByteArray bytes = encoder.Start();
    QString header;
    AppendHeader(header, table, columns, separator);
    encoder.Append(header, bytes);
    QByteArray encodedSeparator;
    encoder.Append(separator, encodedSeparator);
    if (device.write(bytes) != bytes.size()) {
        return false;
    }
    // Written a piece of rows at a time: the whole text of a large competition would take
    // several times the table's memory.
    constexpr int kPieceRows = 1024;
    const auto encode = [&](int first, int last, PieceBuffer& out) {
        out.Clear(); // the room of the piece before is kept
        QByteArray row;
        for (int r = first; r <= last; ++r) {
            PrefetchRowsAhead(table, r, last);
            if (!AppendCommonRow(out, table.Cells(r), columns, table.ColumnCount(), separator, encoder)) {
                row.resize(0);
                AppendEncodedRow(row, table, r, columns, separator, encodedSeparator, encoder);
                out.Append(row);
            }
        }
    };
    PieceBuffer piece;
    PieceBuffer other;
    for (int first = 1; first <= rowCount; first += 2 * kPieceRows) {
        const int middle = std::min(first + kPieceRows, rowCount + 1);
        const int end = std::min(first + 2 * kPieceRows, rowCount + 1);
        std::thread second;
        if (twoThreads) {
            second = std::thread([&] { encode(middle, end - 1, other); });
        }
        encode(first, middle - 1, piece);
        if (twoThreads) {
            second.join();
        } else {
            encode(middle, end - 1, other);
        }
        if (!piece.WriteTo(device) || !other.WriteTo(device)) {
            return false;
        }
    }
    return true;
}

SemicolonRecords ParseSemicolonText(QStringView text) {
    SemicolonRecords records;
    if (text.isEmpty()) {
        return records;
    }
    records.hasHeaderLine = true;
    qsizetype pos = 0;
    while (pos < text.size() && !IsLineEnd(text[pos])) {
        ++pos; // the header line is never looked at
    }
    SkipLineEnd(text, pos);
    int line = 2;
    Record record;
    while (pos < text.size()) {
        const qsizetype start = pos;
        ReadRecord(text, pos, true, record);
        // A row joined by a quote that ran over line ends must not come out longer than a row;
        // otherwise the quote was a stray one, and every line is read on its own.
        if (record.lineBreaks > 0 && record.fields.size() > static_cast<std::size_t>(kResultColumnCount)) {
            pos = start;
            ReadRecord(text, pos, false, record);
        }
        if (record.strayQuote && records.firstStrayQuoteLine == 0) {
            records.firstStrayQuoteLine = line;
        }
        if (record.fields.size() > static_cast<std::size_t>(kResultColumnCount) &&
            records.firstLongLine == 0) {
            records.firstLongLine = line;
        }
        line += 1 + record.lineBreaks;
        // Surplus fields go (the notice names the first such line). A little room is left, so
        // the age factors written into every row after an open need no new block.
        constexpr std::size_t kRoomForAFactor = 8;
        records.rows.emplace_back(record.fields, static_cast<std::size_t>(kResultColumnCount),
                                  kRoomForAFactor);
    }
    return records;
}

} // namespace vastrel

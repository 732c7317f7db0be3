#include "formats/SemicolonText.h"

#include "system/TextEncoding.h"
#include "table/ColumnModel.h"
#include "table/ResultTable.h"
#include "table/RowCells.h"

#include <QIODevice>

#include <algorithm>
#include <optional>

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

// The common row in one go: a separator of one ASCII character, and every character of the row
// one byte as it stands (ASCII; in 8 bits Latin-1 too), none a quote or a control character.
// Each character is looked at once, as it is copied: a large table's rows come from memory.
// False, and nothing appended, for any other row (bench_files, text export at 32,767 rows:
// 74 ms field by field, 36 ms in one go).
bool AppendPlainRow(QByteArray& out, const RowCells& cells, const QList<int>& columns, char16_t separator,
                    char16_t limit) {
    qsizetype length = columns.size() + 1; // a separator each and the line end
    for (int column : columns) {
        length += cells.At(static_cast<std::size_t>(column - 1)).size();
    }
    const qsizetype start = out.size();
    out.resize(start + length);
    char* at = out.data() + start;
    for (qsizetype i = 0; i < columns.size(); ++i) {
        if (i > 0) {
            *at++ = static_cast<char>(separator);
        }
        for (QChar ch : cells.At(static_cast<std::size_t>(columns.at(i) - 1))) {
            const char16_t c = ch.unicode();
            if (c < 0x20 || c == u'"' || c == separator || c >= limit || (c & 0xFFE0) == 0x80) {
                out.resize(start);
                return false;
            }
            *at++ = static_cast<char>(c);
        }
    }
    *at++ = '\r';
    *at = '\n';
    return true;
}

bool IsAscii(QStringView text) {
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
}

} // namespace

bool WriteSemicolonText(const ResultTable& table, const QList<int>& columns, const QString& separator,
                        QIODevice& device) {
    TextFileEncoder encoder;
    encoder.Consider(separator);
    for (int c : columns) {
        encoder.Consider(table.Key(c));
    }
    for (int row = 1; row <= table.RowCount(); ++row) {
        if (IsAscii(table.Cells(row).AllText())) {
            continue; // nothing in it to choose an encoding by
        }
        for (int c : columns) {
            encoder.Consider(table.CellView(row, c));
        }
    }
    QByteArray bytes = encoder.Start();
    QString header;
    AppendHeader(header, table, columns, separator);
    encoder.Append(header, bytes);
    QByteArray encodedSeparator;
    encoder.Append(separator, encodedSeparator);
    // Written a piece of rows at a time: the whole text of a large competition would take
    // several times the table's memory.
    constexpr qsizetype kPieceBytes = qsizetype{1} << 17;
    const bool plainSeparator = separator.size() == 1 && separator.at(0).unicode() < 0x80;
    const char16_t limit = encoder.UsesUtf8() ? 0x80 : 0x100;
    for (int row = 1; row <= table.RowCount(); ++row) {
        if (!plainSeparator ||
            !AppendPlainRow(bytes, table.Cells(row), columns, separator.at(0).unicode(), limit)) {
            AppendEncodedRow(bytes, table, row, columns, separator, encodedSeparator, encoder);
        }
        if (bytes.size() >= kPieceBytes || row == table.RowCount()) {
            if (device.write(bytes) != bytes.size()) {
                return false;
            }
            bytes.resize(0);
        }
    }
    return bytes.isEmpty() || device.write(bytes) == bytes.size();
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
        // Surplus fields go (the notice names the first such line).
        records.rows.emplace_back(
            std::span<const QStringView>(record.fields)
                .first(std::min(record.fields.size(), std::size_t{kResultColumnCount})));
    }
    return records;
}

} // namespace vastrel

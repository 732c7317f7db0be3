#include "formats/SemicolonText.h"

#include "system/TextIndex.h"
#include "table/ColumnModel.h"
#include "table/ResultTable.h"

#include <algorithm>
#include <optional>

using namespace Qt::StringLiterals;

namespace vastrel {

namespace {

bool NeedsQuotes(const QString& field, const QString& separator) {
    const QChar single = separator.size() == 1 ? separator.at(0) : QChar(u'"');
    for (QChar c : field) {
        if (c == u'"' || c == u'\t' || c == u'\r' || c == u'\n' || c == single) {
            return true;
        }
    }
    return separator.size() > 1 && field.contains(separator);
}

void AppendField(QString& out, const QString& field, const QString& separator) {
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

// Equal short texts of one column share one string: points, sums, years, factors and times
// repeat a lot, and a competition of thousands of rows then takes a fraction of the memory.
class FieldInterner {
public:
    QString Intern(std::size_t column, QStringView text) {
        if (text.isEmpty()) {
            return {};
        }
        if (text.size() > kMaxLength || column >= kMaxColumns) {
            return text.toString(); // names and remarks rarely repeat
        }
        if (column >= known_.size()) {
            known_.resize(column + 1);
        }
        TextIndex& known = known_[column];
        if (known.Size() >= kMaxDistinct) {
            return text.toString();
        }
        return known.At(known.Insert(text).index);
    }

private:
    static constexpr qsizetype kMaxLength = 12;
    static constexpr std::size_t kMaxColumns = 64;
    static constexpr int kMaxDistinct = 4096;
    std::vector<TextIndex> known_;
};

struct Record {
    std::vector<QString> fields;
    int lineBreaks = 0;      // line ends inside quoted fields
    bool strayQuote = false; // a field opened a quote that never closed
};

Record ReadRecord(QStringView text, qsizetype& pos, bool quotesOverLines, FieldInterner& interner) {
    Record record;
    record.fields.reserve(kResultColumnCount);
    for (;;) {
        QString field;
        bool quoted = false;
        if (pos < text.size() && text[pos] == u'"') {
            if (auto q = ReadQuotedField(text, pos, !quotesOverLines)) {
                field = std::move(q->text);
                pos = q->end;
                record.lineBreaks += q->lineBreaks;
                quoted = true;
            } else {
                record.strayQuote = true; // read as plain text, the quote kept
            }
        }
        const qsizetype start = pos;
        while (pos < text.size() && !IsSeparator(text[pos]) && !IsLineEnd(text[pos])) {
            ++pos;
        }
        if (!quoted) {
            field = interner.Intern(record.fields.size(), text.sliced(start, pos - start));
        } else {
            field += text.sliced(start, pos - start); // text after a closing quote stays text
        }
        record.fields.push_back(std::move(field));
        if (pos < text.size() && IsSeparator(text[pos])) {
            ++pos;
            continue;
        }
        SkipLineEnd(text, pos);
        return record;
    }
}

} // namespace

QString SemicolonText(const ResultTable& table, const QList<int>& columns, const QString& separator) {
    QString out;
    out.reserve(static_cast<qsizetype>(table.RowCount() + 1) * columns.size() * 6);
    for (qsizetype i = 0; i < columns.size(); ++i) {
        if (i > 0) {
            out += separator;
        }
        AppendField(out, table.Key(columns.at(i)), separator);
    }
    out += u"\r\n"_s;
    for (int row = 1; row <= table.RowCount(); ++row) {
        for (qsizetype i = 0; i < columns.size(); ++i) {
            if (i > 0) {
                out += separator;
            }
            AppendField(out, table.CellText(row, columns.at(i)), separator);
        }
        out += u"\r\n"_s;
    }
    return out;
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
    FieldInterner interner;
    int line = 2;
    while (pos < text.size()) {
        const qsizetype start = pos;
        Record record = ReadRecord(text, pos, true, interner);
        // A row joined by a quote that ran over line ends must not come out longer than a row;
        // otherwise the quote was a stray one, and every line is read on its own.
        if (record.lineBreaks > 0 && record.fields.size() > static_cast<std::size_t>(kResultColumnCount)) {
            pos = start;
            record = ReadRecord(text, pos, false, interner);
        }
        if (record.strayQuote && records.firstStrayQuoteLine == 0) {
            records.firstStrayQuoteLine = line;
        }
        if (record.fields.size() > static_cast<std::size_t>(kResultColumnCount) &&
            records.firstLongLine == 0) {
            records.firstLongLine = line;
        }
        line += 1 + record.lineBreaks;
        // Empty fields at the end cost nothing: the table reads a missing cell as empty.
        while (!record.fields.empty() && record.fields.back().isEmpty()) {
            record.fields.pop_back();
        }
        if (record.fields.empty()) {
            record.fields = {};
        }
        records.rows.push_back(std::move(record.fields));
    }
    return records;
}

} // namespace vastrel

#include "formats/SemicolonText.h"

#include "system/TextIndex.h"
#include "table/ResultTable.h"

#include <algorithm>

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

QString ReadQuotedField(QStringView text, qsizetype& pos) {
    QString field;
    ++pos; // the opening quote
    while (pos < text.size()) {
        const QChar c = text[pos++];
        if (c != u'"') {
            field += c;
        } else if (pos < text.size() && text[pos] == u'"') {
            field += u'"';
            ++pos;
        } else {
            break;
        }
    }
    return field;
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

std::vector<QString> ReadRecord(QStringView text, qsizetype& pos, std::size_t expectedFields,
                                FieldInterner& interner) {
    std::vector<QString> fields;
    fields.reserve(expectedFields);
    for (;;) {
        QString field;
        if (pos < text.size() && text[pos] == u'"') {
            field = ReadQuotedField(text, pos);
        }
        const qsizetype start = pos;
        while (pos < text.size() && text[pos] != u';' && text[pos] != u'\t' && !IsLineEnd(text[pos])) {
            ++pos;
        }
        if (field.isEmpty()) {
            field = interner.Intern(fields.size(), text.sliced(start, pos - start));
        } else {
            field += text.sliced(start, pos - start); // text after a closing quote stays text
        }
        fields.push_back(std::move(field));
        if (pos < text.size() && (text[pos] == u';' || text[pos] == u'\t')) {
            ++pos;
            continue;
        }
        SkipLineEnd(text, pos);
        return fields;
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
    std::size_t expectedFields = 33;
    FieldInterner interner;
    while (pos < text.size()) {
        records.rows.push_back(ReadRecord(text, pos, expectedFields, interner));
        expectedFields = std::max(expectedFields, records.rows.back().size());
    }
    return records;
}

} // namespace vastrel

#include "files/TextImport.h"

#include "app/Ui.h"
#include "system/FileErrors.h"
#include "system/Memory.h"
#include "system/TextEncoding.h"
#include "system/TextIndex.h"
#include "table/ResultTable.h"

#include <QFile>

#include <algorithm>
#include <array>

using namespace Qt::StringLiterals;

namespace vastrel {

namespace {

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

void ApplyImportedColumnSettings(ResultTable& table) {
    for (const char16_t* key : {u"Gesamt", u"Summe1", u"Summe2", u"Summe3", u"Summe4"}) {
        table.SetSumColumnFlag(key, true);
    }
    for (int i = 1; i <= 9; ++i) {
        table.SetPointsColumnFlag(u"Punkte%1"_s.arg(i), true);
    }
    for (const char16_t* key : {u"Nr", u"lNr", u"Bemerkung"}) {
        table.SetVisible(key, false);
    }
}

// Most names are already tidy; they are left alone without building a copy.
bool IsNormalisedName(QStringView name) {
    if (name.startsWith(u' ') || name.endsWith(u' ')) {
        return false;
    }
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar next = i + 1 < name.size() ? name[i + 1] : QChar();
        if (name[i] == u' ' && (next == u' ' || next == u',')) {
            return false;
        }
        if (name[i] == u',' && i + 1 < name.size() &&
            (next != u' ' || (i + 2 < name.size() && name[i + 2] == u' '))) {
            return false;
        }
    }
    return true;
}

bool IsAsciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

} // namespace

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

QString NormaliseName(const QString& name) {
    QString out;
    out.reserve(name.size() + 4);
    bool pendingBlank = false;
    for (QChar c : name) {
        if (c == u' ') {
            pendingBlank = !out.isEmpty();
        } else if (c == u',') {
            out += u',';
            pendingBlank = true; // exactly one blank follows a comma
        } else {
            if (pendingBlank) {
                out += u' ';
            }
            out += c;
            pendingBlank = false;
        }
    }
    return out; // a blank still pending at the end is a trailing blank: dropped
}

QString YearOfDate(const QString& date) {
    if (date.size() <= 4) {
        return date;
    }
    for (qsizetype end = date.size(); end >= 4; --end) {
        const qsizetype start = end - 4;
        bool group = true;
        for (qsizetype i = start; i < end && group; ++i) {
            group = IsAsciiDigit(date[i]);
        }
        group = group && (start == 0 || !IsAsciiDigit(date[start - 1])) &&
                (end == date.size() || !IsAsciiDigit(date[end]));
        if (group) {
            return date.mid(start, 4);
        }
    }
    return date.right(4);
}

bool ImportCsvFile(ResultTable& table, const QString& path, const TextWidthFunction& textWidth, Ui& ui) {
    QFile file(path);
    QByteArray bytes;
    bool ok = file.open(QIODevice::ReadOnly);
    if (ok) {
        bytes = file.readAll();
        ok = file.error() == QFileDevice::NoError;
    }
    if (!ok) {
        ui.MessageBox(ReadFailureMessage(path, ReadFailureReason(file)), u"Vastrel"_s, MessageButtons::Ok,
                      MessageIcon::Exclamation);
        return false;
    }
    file.close();
    SemicolonRecords records = ParseSemicolonText(DecodeTextFile(bytes));
    bytes.clear();

    table.LockUpdate(true);
    table.SetTableMode(1);
    table.ClearTable(true);
    AddResultColumns(table);
    const int name = table.ColumnNumber(u"Name Vorname");
    const int date = table.ColumnNumber(u"Datum");
    std::array<int, kSumCellKeys.size()> sumCells{};
    for (std::size_t i = 0; i < kSumCellKeys.size(); ++i) {
        sumCells[i] = table.ColumnNumber(kSumCellKeys[i]);
    }
    for (std::vector<QString>& fields : records.rows) {
        const int row = table.AddRowFields(std::move(fields));
        fields = {};
        for (int column : sumCells) {
            table.SetCellFlag(row, column, true);
        }
        const QString& rawName = table.CellText(row, name);
        if (!IsNormalisedName(rawName)) {
            table.SetCellText(row, name, NormaliseName(rawName));
        }
        if (table.CellText(row, date).size() > 4) {
            table.SetCellText(row, date, YearOfDate(table.CellText(row, date)));
        }
    }
    if (records.hasHeaderLine) {
        ApplyImportedColumnSettings(table);
    }
    records = {};
    ReturnFreedMemoryToSystem();
    SetColumnWidths(table, textWidth);
    table.SetSearchCaption(u"Suche:"_s);
    table.LockUpdate(false);
    table.Refresh();
    return true;
}

} // namespace vastrel

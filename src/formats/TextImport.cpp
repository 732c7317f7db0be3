#include "formats/TextImport.h"

#include "formats/SemicolonText.h"
#include "system/FileErrors.h"
#include "system/Memory.h"
#include "system/TextEncoding.h"
#include "table/CompetitionLayout.h"
#include "table/ResultTable.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <algorithm>
#include <array>
#include <new>

using namespace Qt::StringLiterals;

namespace vastrel {

namespace {

void ApplyImportedColumnSettings(std::vector<Column>& columns) {
    const QStringList points = PointsColumnKeys();
    for (Column& column : columns) {
        const auto among = [&column](const auto& keys) {
            return std::any_of(keys.begin(), keys.end(),
                               [&column](const auto& key) { return column.key == key; });
        };
        column.sumColumnFlag = column.sumColumnFlag || among(kSumCellKeys);
        column.pointsColumnFlag = column.pointsColumnFlag || points.contains(column.key);
        column.visible = column.visible && !among(kHiddenAtStartKeys);
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

std::size_t ColumnIndex(const std::vector<Column>& columns, QStringView key) {
    return static_cast<std::size_t>(
        std::find_if(columns.begin(), columns.end(), [key](const Column& c) { return c.key == key; }) -
        columns.begin());
}

bool IsAsciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

} // namespace

QString NormaliseName(const QString& name) {
    QString out;
    out.reserve(name.size() + 4);
    bool pendingBlank = false;
    for (QChar c : name) {
        if (c == u' ') {
            pendingBlank = !out.isEmpty();
        } else if (c == u',') {
            if (out.endsWith(u',')) {
                out += u' '; // «Meier,,Anna»: the blank after the first comma stays
            }
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
    // A compact date, «20070617»: the year comes first.
    if (date.size() == 8 && std::all_of(date.begin(), date.end(), IsAsciiDigit)) {
        return date.left(4);
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

// Whether the text looks like no list of results: its first line is no header of ours (it starts
// with the first column's key) and it holds control characters other than TAB and line ends.
bool LooksForeign(QStringView text) {
    qsizetype end = 0;
    while (end < text.size() && text[end] != u';' && text[end] != u'\t' && text[end] != u'\r' &&
           text[end] != u'\n') {
        ++end;
    }
    if (text.left(end).trimmed() == u"Lauf") {
        return false;
    }
    return std::any_of(text.begin(), text.end(),
                       [](QChar c) { return c.unicode() < 0x20 && c != u'\t' && c != u'\r' && c != u'\n'; });
}

QString ImportNotice(const QString& path, const SemicolonRecords& records, bool foreign) {
    QStringList found;
    if (foreign) {
        found << u"Die erste Zeile ist keine Kopfzeile einer Ergebnisliste, und die Datei enthält "
                 u"Steuerzeichen; ist es die richtige Datei?"_s;
    }
    if (records.firstLongLine > 0) {
        found << u"Zeile %1 hat mehr als %2 Felder; die Felder danach wurden nicht übernommen."_s
                     .arg(records.firstLongLine)
                     .arg(kResultColumnCount);
    }
    if (records.firstStrayQuoteLine > 0) {
        found << u"In Zeile %1 wird ein Anführungszeichen nicht geschlossen; die Zeile wurde als "
                 u"einfacher Text gelesen."_s.arg(records.firstStrayQuoteLine);
    }
    if (found.isEmpty()) {
        return {};
    }
    return u"Die Datei \"%1\" wurde gelesen, bitte prüfen Sie:\r\n"_s.arg(QDir::toNativeSeparators(path)) +
           found.join(u"\r\n"_s);
}

namespace {

QString OutOfMemoryMessage(const QString& path) {
    return ReadFailureMessage(path, u"Der Arbeitsspeicher reicht für diese Datei nicht aus."_s);
}

// The new table's data made from the file's bytes; the table is not touched, so running out of
// memory anywhere in here leaves it as it was.
TableData TableDataFromBytes(QByteArray bytes, const TableValues& values, const QString& path,
                             ImportReport* report) {
    // Each form is let go as soon as the next is made: a large file is held twice at most.
    QString text = DecodeTextFile(bytes);
    bytes = QByteArray();
    const bool foreign = LooksForeign(text);
    SemicolonRecords records = ParseSemicolonText(text);
    text = QString();
    if (report) {
        report->notice = ImportNotice(path, records, foreign);
    }

    TableData data;
    data.columns = NewResultColumns();
    data.values = values;
    data.values.tableMode = 1;
    data.values.searchCaption = u"Suche:"_s;
    data.values.sortOrder.clear();
    const std::size_t name = ColumnIndex(data.columns, u"Name Vorname");
    const std::size_t date = ColumnIndex(data.columns, u"Datum");
    const std::uint64_t sumFlags = SumCellFlags();
    data.rows.reserve(records.rows.size());
    for (RowCells& cells : records.rows) {
        if (!IsNormalisedName(cells.At(name))) {
            cells = cells.With(name, NormaliseName(cells.At(name).toString()));
        }
        if (cells.At(date).size() > 4) {
            cells = cells.With(date, YearOfDate(cells.At(date).toString()));
        }
        data.rows.push_back(Row{0, {std::move(cells), sumFlags}});
    }
    if (records.hasHeaderLine) {
        ApplyImportedColumnSettings(data.columns);
    }
    return data;
}

} // namespace

bool ImportCsvFile(ResultTable& table, const QString& path, const TextWidthFunction& textWidth,
                   ImportReport* report) {
    QString* errorMessage = report ? &report->error : nullptr;
    QFile file(path);
    QByteArray bytes;
    // A device or a pipe is never read: it may not end, or not begin.
    bool ok = QFileInfo(path).isFile() && file.open(QIODevice::ReadOnly);
    try {
        if (ok) {
            bytes = file.readAll();
            ok = file.error() == QFileDevice::NoError;
        }
    } catch (const std::bad_alloc&) {
        if (errorMessage) {
            *errorMessage = OutOfMemoryMessage(path);
        }
        return false;
    }
    if (!ok) {
        if (errorMessage) {
            *errorMessage = ReadFailureMessage(path, ReadFailureReason(file));
        }
        return false;
    }
    file.close();
    return ImportCsvBytes(table, std::move(bytes), path, textWidth, report);
}

bool ImportCsvBytes(ResultTable& table, QByteArray bytes, const QString& path,
                    const TextWidthFunction& textWidth, ImportReport* report) {
    TableData data;
    try {
        data = TableDataFromBytes(std::move(bytes), table.Data().values, path, report);
    } catch (const std::bad_alloc&) {
        if (report) {
            report->notice.clear();
            report->error = OutOfMemoryMessage(path);
        }
        return false;
    }
    ReturnFreedMemoryToSystem();
    table.LockUpdate(true);
    table.Replace(std::move(data));
    SetColumnWidths(table, textWidth);
    table.LockUpdate(false);
    return true;
}

} // namespace vastrel

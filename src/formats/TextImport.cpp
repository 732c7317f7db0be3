#include "formats/TextImport.h"

#include "formats/SemicolonText.h"
#include "system/FileErrors.h"
#include "system/Memory.h"
#include "system/TextEncoding.h"
#include "table/CompetitionLayout.h"
#include "table/ResultTable.h"

#include <QDir>
#include <QFile>
#include <QStringList>

#include <algorithm>
#include <array>
#include <new>

using namespace Qt::StringLiterals;

namespace vastrel {

namespace {

void ApplyImportedColumnSettings(ResultTable& table) {
    for (const char16_t* key : kSumCellKeys) {
        table.SetSumColumnFlag(key, true);
    }
    for (const QString& key : PointsColumnKeys()) {
        table.SetPointsColumnFlag(key, true);
    }
    for (const char16_t* key : kHiddenAtStartKeys) {
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

QString ImportNotice(const QString& path, const SemicolonRecords& records) {
    QStringList found;
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

bool ImportCsvFile(ResultTable& table, const QString& path, const TextWidthFunction& textWidth,
                   ImportReport* report) {
    QString* errorMessage = report ? &report->error : nullptr;
    QFile file(path);
    QByteArray bytes;
    bool ok = file.open(QIODevice::ReadOnly);
    if (ok) {
        bytes = file.readAll();
        ok = file.error() == QFileDevice::NoError;
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
    QString* errorMessage = report ? &report->error : nullptr;
    SemicolonRecords records;
    try {
        // Each form is let go as soon as the next is made: a large file is held twice at most.
        QString text = DecodeTextFile(bytes);
        bytes.clear();
        records = ParseSemicolonText(text);
    } catch (const std::bad_alloc&) {
        // The table is untouched so far: it stays as it was.
        bytes.clear();
        if (errorMessage) {
            *errorMessage =
                ReadFailureMessage(path, u"Der Arbeitsspeicher reicht für diese Datei nicht aus."_s);
        }
        return false;
    }
    bytes.clear();
    if (report) {
        report->notice = ImportNotice(path, records);
    }

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
    for (RowCells& cells : records.rows) {
        const int row = table.AddRowCells(std::move(cells));
        for (int column : sumCells) {
            table.SetCellFlag(row, column, true);
        }
        if (!IsNormalisedName(table.CellView(row, name))) {
            table.SetCellText(row, name, NormaliseName(table.CellText(row, name)));
        }
        if (table.CellView(row, date).size() > 4) {
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

#include "table/TextExport.h"

#include "system/FileErrors.h"
#include "system/FileHelpers.h"
#include "system/TextEncoding.h"
#include "table/ColumnModel.h"
#include "table/ResultTable.h"
#include "table/XlsWorkbook.h"

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

} // namespace

QString AllColumnsList() {
    QStringList numbers;
    for (int c = 1; c <= kResultColumnCount; ++c) {
        numbers << QString::number(c);
    }
    return numbers.join(u',');
}

QList<int> ParseColumnList(const ResultTable& table, const QString& columnList) {
    QList<int> columns;
    for (QStringView piece : QStringView(columnList).tokenize(u',', Qt::SkipEmptyParts)) {
        bool ok = false;
        const int c = piece.trimmed().toInt(&ok);
        if (ok && c >= 1 && c <= table.ColumnCount()) {
            columns << c;
        }
    }
    return columns;
}

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

bool ExportFile(const ResultTable& table, const QString& path, const ExportRequest& request,
                QString* errorMessage) {
    if (request.format == 2) {
        if (table.RowCount() > kMaxXlsRows) {
            if (errorMessage) {
                *errorMessage = WriteFailureMessage(
                    path, u"Ein Excel-97-Tabellenblatt fasst höchstens %1 Datenzeilen."_s.arg(kMaxXlsRows));
            }
            return false;
        }
        return WriteFileAtomically(path, BuildXlsWorkbook(table, ParseColumnList(table, request.columnList)),
                                   errorMessage);
    }
    if (request.format != 1) {
        if (errorMessage) {
            *errorMessage = WriteFailureMessage(path, u"Dieses Dateiformat wird nicht unterstützt."_s);
        }
        return false;
    }
    const QString text = SemicolonText(table, ParseColumnList(table, request.columnList), request.separator);
    return WriteFileAtomically(path, EncodeTextFile(text), errorMessage);
}

} // namespace vastrel

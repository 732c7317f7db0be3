#include "formats/ExportFile.h"

#include "formats/SemicolonText.h"
#include "formats/XlsWorkbook.h"
#include "system/FileErrors.h"
#include "system/FileHelpers.h"
#include "system/TextEncoding.h"
#include "table/ColumnModel.h"
#include "table/ResultTable.h"

using namespace Qt::StringLiterals;

namespace vastrel {

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

bool ExportFile(const ResultTable& table, const QString& path, const ExportRequest& request,
                QString* errorMessage) {
    if (request.format == ExportFormat::Spreadsheet) {
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
    if (request.format != ExportFormat::Text) {
        if (errorMessage) {
            *errorMessage = WriteFailureMessage(path, u"Dieses Dateiformat wird nicht unterstützt."_s);
        }
        return false;
    }
    const QString text = SemicolonText(table, ParseColumnList(table, request.columnList), request.separator);
    return WriteFileAtomically(path, EncodeTextFile(text), errorMessage);
}

} // namespace vastrel

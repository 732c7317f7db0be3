#include "formats/ExportFile.h"

#include "formats/SemicolonText.h"
#include "formats/XlsWorkbook.h"
#include "formats/XlsxWorkbook.h"
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
        const QList<int> columns = ParseColumnList(table, request.columnList);
        for (int row = 1; row <= table.RowCount(); ++row) {
            for (int c : columns) {
                // Longer cells would wrap the workbook's length fields and leave a broken file.
                if (table.CellView(row, c).size() > kMaxXlsCellLength) {
                    if (errorMessage) {
                        *errorMessage = WriteFailureMessage(
                            path,
                            u"Die Zelle \"%1\" in Zeile %2 hat %3 Zeichen; eine Excel-97-Zelle fasst "
                            u"höchstens %4. Bitte kürzen Sie sie oder speichern Sie als csv- oder fil-Datei."_s
                                .arg(table.Key(c))
                                .arg(row)
                                .arg(table.CellView(row, c).size())
                                .arg(kMaxXlsCellLength));
                    }
                    return false;
                }
            }
        }
        return WriteFileAtomically(path, BuildXlsWorkbook(table, columns), errorMessage);
    }
    if (request.format == ExportFormat::Workbook) {
        return WriteXlsxWorkbook(table, ParseColumnList(table, request.columnList), path, errorMessage);
    }
    if (request.format != ExportFormat::Text) {
        if (errorMessage) {
            *errorMessage = WriteFailureMessage(path, u"Dieses Dateiformat wird nicht unterstützt."_s);
        }
        return false;
    }
    const QList<int> columns = ParseColumnList(table, request.columnList);
    return WriteFileAtomically(
        path, [&](QIODevice& file) { return WriteSemicolonText(table, columns, request.separator, file); },
        errorMessage);
}

} // namespace vastrel

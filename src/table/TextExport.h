#pragma once

#include <QString>

namespace vastrel {

class ResultTable;

// What ExportFile is asked for. The three numbers and the text after the column list are
// passed through as the callers give them; this table needs none of them.
struct ExportRequest {
    int format = 1;     // 1 semicolon text, 2 spreadsheet
    QString columnList; // column numbers joined by ",", e.g. "1,2,…,33"
    int reservedA = 2;
    int reservedB = 0;
    int reservedC = 0;
    QString reservedText;
    QString separator = QStringLiteral(";");
};

// "1,2,…,33": every column of the results table in its order, as the saves pass it.
QString AllColumnsList();

// "1,2,3" -> the column numbers, unknown ones left out.
QList<int> ParseColumnList(const ResultTable& table, const QString& columnList);

// The text file: a header line of column keys, then one line per row, fields separated by the
// separator, lines ending in CR LF. A field holding the separator, a double quote, a TAB, CR or
// LF is written in double quotes with inner quotes doubled, so no column can shift.
QString SemicolonText(const ResultTable& table, const QList<int>& columns, const QString& separator);

// Format 1 writes semicolon text, format 2 an Excel 97 workbook.
// Writes the table through a temporary file that replaces the target only when complete.
// On failure returns false and a German message naming the file and the reason.
bool ExportFile(const ResultTable& table, const QString& path, const ExportRequest& request,
                QString* errorMessage = nullptr);

} // namespace vastrel

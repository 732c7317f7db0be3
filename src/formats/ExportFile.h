#pragma once

#include <QList>
#include <QString>

namespace vastrel {

class ResultTable;

// The two formats ExportFile writes.
enum class ExportFormat { Text = 1, Spreadsheet = 2, Workbook = 3 };

// What ExportFile is asked for. The three numbers and the text after the column list are
// passed through as the callers give them; this table needs none of them.
struct ExportRequest {
    ExportFormat format = ExportFormat::Text;
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

// Semicolon text, an Excel 97 workbook or an Excel workbook (.xlsx), written through a temporary file that
// replaces the target only when complete. On failure returns false and a German message naming the file and
// the reason.
bool ExportFile(const ResultTable& table, const QString& path, const ExportRequest& request,
                QString* errorMessage = nullptr);

} // namespace vastrel

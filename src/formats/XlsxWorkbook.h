#pragma once

#include <QList>
#include <QString>

namespace vastrel {

class ResultTable;

// An Excel 2007 workbook holds 1,048,576 rows; the first holds the column keys.
inline constexpr int kMaxXlsxRows = 1048575;

// The table as an Excel workbook (.xlsx): one sheet, the header row of column keys bold and
// frozen, columns as wide as in the table. Cells of number columns that hold a plain number are
// numbers shown with their decimals; an age factor of four decimals is a number shown with four.
// Every other cell is text. Written whole or not at all; a failure comes back as a German message.
bool WriteXlsxWorkbook(const ResultTable& table, const QList<int>& columns, const QString& path,
                       QString* errorMessage);

} // namespace vastrel

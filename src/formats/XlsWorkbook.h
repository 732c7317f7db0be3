#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace vastrel {

class ResultTable;

// An Excel 97 sheet has 65,536 rows; the first holds the column keys.
inline constexpr int kMaxXlsRows = 65535;
// Excel's own limit of a cell's text.
inline constexpr int kMaxXlsCellLength = 32767;

// The table as an Excel 97 workbook (BIFF8 in an OLE2 compound file): one sheet, a header row of
// column keys, then the rows. Cells of number columns that hold a plain number are numbers,
// shown with the decimals the cell had; every other cell is text.
QByteArray BuildXlsWorkbook(const ResultTable& table, const QList<int>& columns);

struct PlainNumber {
    double value;
    int decimals;
};

// A number written the way a spreadsheet writes it: optional minus, no leading zeros or plus, no
// trailing zeros, at most 10 decimals; shown with as many decimals as the text has. Any other text
// ("007", " 12", "12x", "1.0000") is nothing: it is written as text, so every cell comes back from
// the spreadsheet as it was.
std::optional<PlainNumber> AsPlainNumber(QStringView text);

} // namespace vastrel

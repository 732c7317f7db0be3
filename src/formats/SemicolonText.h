#pragma once

#include "table/RowCells.h"

#include <QList>
#include <QString>
#include <QStringView>

class QIODevice;

#include <vector>

// Semicolon text, the format organisers exchange with spreadsheets and timing systems:
// a header line, then one row per line, fields separated by ";".
namespace vastrel {

class ResultTable;

// The text file: a header line of column keys, then one line per row, fields separated by the
// separator, lines ending in CR LF. A field holding the separator, a double quote, a TAB, CR or
// LF is written in double quotes with inner quotes doubled, so no column can shift.
QString SemicolonText(const ResultTable& table, const QList<int>& columns, const QString& separator);
// The same text encoded as a text file (see EncodeTextFile) and written to the device piece by
// piece; false when a write failed.
bool WriteSemicolonText(const ResultTable& table, const QList<int>& columns, const QString& separator,
                        QIODevice& device);

struct SemicolonRecords {
    bool hasHeaderLine = false;  // the file held at least one line
    std::vector<RowCells> rows;  // every line after the header, split into a row's fields
    int firstLongLine = 0;       // the first line with more fields than the table has columns
    int firstStrayQuoteLine = 0; // the first line whose quote never closed
};

// Splits the text after its header line into rows and fields. CR LF, a lone CR and a lone LF
// all end a line. ";" and TAB separate fields; a field that starts with a double quote runs to
// its closing quote, with "" standing for one quote, and may hold ";" and TABs. It may hold line
// ends too, as the program writes them: closed before a separator or a line end, with less than
// a row's worth of separators inside, in a row no longer than a row. A quote that never closes,
// or would join rows, is a stray one: its line is read as plain text, the quote kept. Line
// numbers count from the header line, 1.
SemicolonRecords ParseSemicolonText(QStringView text);

} // namespace vastrel

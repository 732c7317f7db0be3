#pragma once

#include <QList>
#include <QString>
#include <QStringView>

#include <vector>

// Semicolon text, the format organisers exchange with spreadsheets and timing systems:
// a header line, then one row per line, fields separated by ";".
namespace vastrel {

class ResultTable;

// The text file: a header line of column keys, then one line per row, fields separated by the
// separator, lines ending in CR LF. A field holding the separator, a double quote, a TAB, CR or
// LF is written in double quotes with inner quotes doubled, so no column can shift.
QString SemicolonText(const ResultTable& table, const QList<int>& columns, const QString& separator);

struct SemicolonRecords {
    bool hasHeaderLine = false;             // the file held at least one line
    std::vector<std::vector<QString>> rows; // every line after the header, split into fields
};

// Splits the text after its header line into rows and fields. CR LF, a lone CR and a lone LF
// all end a line. ";" and TAB separate fields; a field that starts with a double quote runs to
// its closing quote, with "" standing for one quote, and may hold ";", TABs and line breaks.
SemicolonRecords ParseSemicolonText(QStringView text);

} // namespace vastrel

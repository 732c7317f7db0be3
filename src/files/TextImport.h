#pragma once

#include "table/ColumnModel.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace vastrel {

class ResultTable;
class Ui;

struct SemicolonRecords {
    bool hasHeaderLine = false;             // the file held at least one line
    std::vector<std::vector<QString>> rows; // every line after the header, split into fields
};

// Splits the text after its header line into rows and fields. CR LF, a lone CR and a lone LF
// all end a line. ";" and TAB separate fields; a field that starts with a double quote runs to
// its closing quote, with "" standing for one quote, and may hold ";", TABs and line breaks.
SemicolonRecords ParseSemicolonText(QStringView text);

// The name as the organisers write it: single blanks, none before a comma, one after it.
// «Meyer ,  Anna und  Eva» becomes «Meyer, Anna und Eva».
QString NormaliseName(const QString& name);

// The year of a date longer than four characters: its last group of four digits
// («17.06.2007» and «2008-01-01»), or its last four characters where it has no such group.
QString YearOfDate(const QString& date);

// Replaces the whole table by the competitors of a semicolon text file. The file is read in
// full first: a file that cannot be read leaves the table as it was and is reported in a
// message box that names it and the reason; the answer is then false.
bool ImportCsvFile(ResultTable& table, const QString& path, const TextWidthFunction& textWidth, Ui& ui);

} // namespace vastrel

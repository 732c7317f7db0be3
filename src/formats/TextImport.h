#pragma once

#include "table/ColumnModel.h"

#include <QString>

namespace vastrel {

class ResultTable;

// The name as the organisers write it: single blanks, none before a comma, one after it.
// «Meyer ,  Anna und  Eva» becomes «Meyer, Anna und Eva».
QString NormaliseName(const QString& name);

// The year of a date longer than four characters: its last group of four digits
// («17.06.2007» and «2008-01-01»), or its last four characters where it has no such group.
QString YearOfDate(const QString& date);

// Replaces the whole table by the competitors of a semicolon text file: the columns rebuilt as
// at start, names and dates tidied, nothing scored. The file is read in full first: a file that
// cannot be read leaves the table as it was and answers false, with a German message naming
// the file and the reason.
bool ImportCsvFile(ResultTable& table, const QString& path, const TextWidthFunction& textWidth,
                   QString* errorMessage = nullptr);

} // namespace vastrel

#pragma once

#include "table/ColumnModel.h"

#include <QByteArray>
#include <QString>

namespace vastrel {

class ResultTable;

// The name as the organisers write it: single blanks, none before a comma, one after it.
// «Meyer ,  Anna und  Eva» becomes «Meyer, Anna und Eva».
QString NormaliseName(const QString& name);

// The year of a date longer than four characters: its last group of four digits
// («17.06.2007» and «2008-01-01»), or its last four characters where it has no such group.
QString YearOfDate(const QString& date);

// What an import has to tell: why a file could not be read, or what looked wrong in one that was
// (a line with surplus fields, a quote that never closed; the first line of each), in German.
struct ImportReport {
    QString error;
    QString notice;
};

// Replaces the whole table by the competitors of a semicolon text file: the columns rebuilt as
// at start, names and dates tidied, nothing scored. The file is read in full first: a file that
// cannot be read, or not held in memory, leaves the table as it was and answers false.
bool ImportCsvFile(ResultTable& table, const QString& path, const TextWidthFunction& textWidth,
                   ImportReport* report = nullptr);

// The same for the bytes of such a file; `path` names it in the messages.
bool ImportCsvBytes(ResultTable& table, QByteArray bytes, const QString& path,
                    const TextWidthFunction& textWidth, ImportReport* report = nullptr);

} // namespace vastrel

#pragma once

#include <QString>
#include <QStringView>

#include <vector>

namespace vastrel {

class ResultTable;

// A row's cells as the own format stores them: a JSON array of texts, readable in any SQLite
// tool (and by json_each).
QString CellsAsJson(const ResultTable& table, int row);

// The texts of such an array, unescaped: `columns` views into `buffer`, cells the array does not
// hold empty, texts past `columns` checked but dropped. False for anything that is not an array
// of texts alone (a number, a nested array, text after the end). A raw control character in a
// text is taken as it stands, and an unknown escape of an ASCII character as that character, as files changed
// in a SQLite tool always were.
bool CellsFromJson(QStringView json, int columns, QString& buffer, std::vector<QStringView>& fields);

} // namespace vastrel

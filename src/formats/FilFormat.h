#pragma once

#include <QString>

namespace vastrel {

class ResultTable;

// The program's own format: an SQLite database with the whole table, readable by any SQLite
// tool. Table "vastrel_meta" (format, version, title line, settings), "vastrel_columns" (every
// property of every column) and "vastrel_rows" (one row per table row: the flagged columns and
// one text column per table column).
inline constexpr int kFilFormatVersion = 1;

// Written to a temporary file in the same folder and renamed over the target only when complete.
bool SaveFil(const ResultTable& table, const QString& path, QString* errorMessage = nullptr);

// Reads a file SaveFil wrote. The table changes only when the whole file was read.
bool LoadFil(ResultTable& table, const QString& path, QString* errorMessage = nullptr);

} // namespace vastrel

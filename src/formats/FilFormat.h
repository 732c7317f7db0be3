#pragma once

#include <QString>

namespace vastrel {

class ResultTable;

// The program's own format: an SQLite database with the whole table, readable by any SQLite
// tool. Table "vastrel_meta" (format, version, title line, settings), "vastrel_columns" (every
// property of every column) and "vastrel_rows" (one row per table row: the flagged columns and
// one text column per table column).
// Version 2 adds a checksum over the stored content ("checksum" in "vastrel_meta").
inline constexpr int kFilFormatVersion = 2;

// Written to a temporary file in the same folder, synced to the disk and renamed over the target
// only when complete, keeping the permissions of the file it replaces; a write-protected file
// is not replaced. Temporary files of saves that never finished are removed.
bool SaveFil(const ResultTable& table, const QString& path, QString* errorMessage = nullptr);

// Reads a file SaveFil wrote. Anything else (other tables, views, other columns, a damaged file,
// content that does not match its checksum) is refused with a German message. The table changes
// only when the whole file was read.
bool LoadFil(ResultTable& table, const QString& path, QString* errorMessage = nullptr);

} // namespace vastrel

#pragma once

#include "ports/MainWindowState.h"

#include <QString>

#include <array>

namespace vastrel {

class ResultTable;

// The formats a table is written in, in the order "speichern unter" offers them: a format's
// number is its filter's. The own format and semicolon text are read back as well.
struct FileFormatEntry {
    SaveFormat format;
    const char16_t* extension;
    const char16_t* description;
};
const std::array<FileFormatEntry, 4>& FileFormats();

QString ExtensionOf(SaveFormat format); // "csv"; empty for None
// The format the path's extension names, case ignored; None for any other.
SaveFormat FormatOfPath(const QString& path);

// The save dialog's filter: every format, "fil-Datei (*.fil)|*.fil|csv-Datei (*.csv)|*.csv|…".
QString SaveFilter();
// The open dialog's filter: the formats read back, semicolon text first.
QString OpenFilter();

// Writes every column of the table in the format, through a temporary file that replaces the
// target only when complete. On failure returns false and a German message naming the file and
// the reason.
bool SaveTable(const ResultTable& table, const QString& path, SaveFormat format,
               QString* errorMessage = nullptr);

} // namespace vastrel

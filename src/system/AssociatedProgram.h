#pragma once

#include <QString>

namespace vastrel {

// The program registered to open the file: on Linux the XDG default application for the
// file's type, on Windows the one FindExecutable names. The empty text when none is registered,
// or when the file is itself that program.
QString FindAssociatedProgram(const QString& filePath);

} // namespace vastrel

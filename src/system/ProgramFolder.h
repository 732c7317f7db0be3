#pragma once

#include <QString>

namespace vastrel {

// The program's own folder, where the certificate template lives beside it.
QString ProgramFolder();

// Where the program writes its own files (the report folder, the web help page): the program's
// folder when it may be written, otherwise the per-user data folder. No trailing separator.
QString WritableProgramFolder();

} // namespace vastrel

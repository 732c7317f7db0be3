#pragma once

#include <QString>

namespace vastrel {

// A drive path such as "C:\" or "d:\" where that drive exists (on Windows); elsewhere the folder
// that plays its part: the user's home folder for "C:\", the documents folder for the others.
// The answer ends in the folder separator.
QString DriveOrStandardFolder(const QString& drivePath);

} // namespace vastrel

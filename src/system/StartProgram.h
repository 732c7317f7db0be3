#pragma once

#include <QString>
#include <QStringList>

namespace vastrel {

// Starts a program on its own, without waiting for it; false when it could not be started.
bool StartProgram(const QString& program, const QStringList& arguments);

} // namespace vastrel

#include "system/StartProgram.h"

#include <QProcess>

namespace vastrel {

bool StartProgram(const QString& program, const QStringList& arguments) {
    return QProcess::startDetached(program, arguments);
}

} // namespace vastrel

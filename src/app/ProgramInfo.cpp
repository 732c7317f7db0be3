#include "app/ProgramInfo.h"

using namespace Qt::StringLiterals;

namespace vastrel {

QString ProgramVersion() {
    return u"%1.%2.%3"_s.arg(VASTREL_VERSION_MAJOR).arg(VASTREL_VERSION_MINOR).arg(VASTREL_VERSION_PATCH);
}

QString ProgramVersionText() {
    return u"V%1.%2(%3)"_s.arg(VASTREL_VERSION_MAJOR).arg(VASTREL_VERSION_MINOR).arg(VASTREL_VERSION_PATCH);
}

QString MainWindowTitle() {
    return u"Internationaler Vastrel "_s + ProgramVersionText() + u", Freeware nach dem Punktesystem von "_s +
           QString::fromUtf16(kHomePageHost);
}

} // namespace vastrel

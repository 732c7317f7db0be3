#include "scoring/Progress.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace vastrel {

QString ProgressText(int row, int rowCount) {
    const double percent = rowCount > 0 ? static_cast<double>(row) * 100.0 / rowCount : 0.0;
    return QString::number(static_cast<long long>(std::nearbyint(percent))) + u"% in Bearbeitung...  "_s;
}

} // namespace vastrel

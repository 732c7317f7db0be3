#include "scoring/Progress.h"

#include "ports/Ui.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace vastrel {

int ProgressPercent(int row, int rowCount) {
    const double percent = rowCount > 0 ? static_cast<double>(row) * 100.0 / rowCount : 0.0;
    return static_cast<int>(std::nearbyint(percent));
}

QString ProgressText(int row, int rowCount) {
    return QString::number(ProgressPercent(row, rowCount)) + u"% in Bearbeitung...  "_s;
}

void ProgressDisplay::Show(int row, int rowCount) {
    const int percent = ProgressPercent(row, rowCount);
    if (percent != shown_) {
        shown_ = percent;
        ui_.SetStatusText(StatusPanel::Progress, ProgressText(row, rowCount));
    }
}

} // namespace vastrel

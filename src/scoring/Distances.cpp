#include "scoring/Distances.h"

namespace vastrel {

std::optional<DistanceGroup> DistanceGroupOf(QStringView columnKey) {
    for (const Distance& d : kDistances) {
        if (columnKey == QStringView(d.timeKey)) {
            return d.group;
        }
    }
    return std::nullopt;
}

} // namespace vastrel

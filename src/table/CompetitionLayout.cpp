#include "table/CompetitionLayout.h"

namespace vastrel {

QStringList PointsColumnKeys() {
    QStringList keys;
    for (const Distance& d : kDistances) {
        if (QStringView(d.pointsKey) != QStringView(kDaySumKeys[static_cast<std::size_t>(d.day - 1)])) {
            keys << QString::fromUtf16(d.pointsKey);
        }
    }
    return keys;
}

bool IsComputedColumn(QStringView key) {
    if (key == QStringView(kTotalKey)) {
        return true;
    }
    for (const Distance& d : kDistances) {
        if (key == QStringView(d.pointsKey) ||
            key == QStringView(kDaySumKeys[static_cast<std::size_t>(d.day - 1)])) {
            return true;
        }
    }
    return false;
}

QStringList DayColumnKeys(int day) {
    QStringList keys;
    for (const Distance& d : kDistances) {
        if (d.day == day) {
            keys << QString::fromUtf16(d.timeKey);
            keys << QString::fromUtf16(d.pointsKey);
        }
    }
    if (day >= 1 && day <= kDayCount) {
        keys << QString::fromUtf16(kDaySumKeys[static_cast<std::size_t>(day - 1)]);
        keys.removeDuplicates(); // the 10 km points are the day 4 sum
    }
    return keys;
}

QStringList CompetitionColumnKeys() {
    QStringList keys;
    for (int day = 1; day <= kDayCount; ++day) {
        keys << DayColumnKeys(day);
    }
    keys << QString::fromUtf16(kTotalKey);
    return keys;
}

// Asked for every placeholder of every certificate: it builds no lists.
std::optional<int> DayOf(QStringView columnKey) {
    for (const Distance& d : kDistances) { // in the order of the days
        if (columnKey == QStringView(d.timeKey) || columnKey == QStringView(d.pointsKey)) {
            return d.day;
        }
    }
    for (int day = 1; day <= kDayCount; ++day) {
        if (columnKey == QStringView(kDaySumKeys[static_cast<std::size_t>(day - 1)])) {
            return day;
        }
    }
    return std::nullopt;
}

std::optional<DistanceGroup> DistanceGroupOf(QStringView columnKey) {
    for (const Distance& d : kDistances) {
        if (columnKey == QStringView(d.timeKey)) {
            return d.group;
        }
    }
    return std::nullopt;
}

} // namespace vastrel

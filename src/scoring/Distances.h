#pragma once

#include <QStringView>

#include <array>
#include <optional>

namespace vastrel {

// The entry form of a distance's times.
enum class DistanceGroup {
    Sprint, // [00.0]       seconds with tenths
    Middle, // [0:00.0]     minutes and seconds
    TenKm,  // [0:00:00.0]  hours, minutes and seconds
};

struct Distance {
    const char16_t* timeKey;
    const char16_t* pointsKey; // the 10 km points stand in the day 4 sum
    DistanceGroup group;
};

inline constexpr int kDistanceCount = 10;

// In column order, which is the order points are computed and sums tidied in.
inline constexpr std::array<Distance, kDistanceCount> kDistances = {{
    {u"60m", u"Punkte1", DistanceGroup::Sprint},
    {u"1500m", u"Punkte2", DistanceGroup::Middle},
    {u"400m", u"Punkte3", DistanceGroup::Middle},
    {u"100m", u"Punkte4", DistanceGroup::Sprint},
    {u"3000m", u"Punkte5", DistanceGroup::Middle},
    {u"800m", u"Punkte6", DistanceGroup::Middle},
    {u"200m", u"Punkte7", DistanceGroup::Sprint},
    {u"5000m", u"Punkte8", DistanceGroup::Middle},
    {u"1000m", u"Punkte9", DistanceGroup::Middle},
    {u"10km", u"Summe4", DistanceGroup::TenKm},
}};

// The group of a time column, nothing for every other column.
std::optional<DistanceGroup> DistanceGroupOf(QStringView columnKey);

} // namespace vastrel

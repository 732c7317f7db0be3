#pragma once

#include <QStringList>
#include <QStringView>

#include <array>
#include <optional>

// Which columns make up the competition: days, their distances with time, points and sum
// columns, the person columns, what is hidden and what the short report leaves out. Views,
// scoring, import, certificates, report and row editing all read it from here.
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
    int day;
};

inline constexpr int kDistanceCount = 10;
inline constexpr int kDayCount = 4;

// In column order, which is the order points are computed and sums tidied in.
inline constexpr std::array<Distance, kDistanceCount> kDistances = {{
    {u"60m", u"Punkte1", DistanceGroup::Sprint, 1},
    {u"1500m", u"Punkte2", DistanceGroup::Middle, 1},
    {u"400m", u"Punkte3", DistanceGroup::Middle, 1},
    {u"100m", u"Punkte4", DistanceGroup::Sprint, 2},
    {u"3000m", u"Punkte5", DistanceGroup::Middle, 2},
    {u"800m", u"Punkte6", DistanceGroup::Middle, 2},
    {u"200m", u"Punkte7", DistanceGroup::Sprint, 3},
    {u"5000m", u"Punkte8", DistanceGroup::Middle, 3},
    {u"1000m", u"Punkte9", DistanceGroup::Middle, 3},
    {u"10km", u"Summe4", DistanceGroup::TenKm, 4},
}};

// The sum of each day, day 1 first.
inline constexpr std::array<const char16_t*, kDayCount> kDaySumKeys = {u"Summe1", u"Summe2", u"Summe3",
                                                                       u"Summe4"};
inline constexpr const char16_t* kTotalKey = u"Gesamt";

// The computed cells every new row flags, in this order.
inline constexpr std::array<const char16_t*, 5> kSumCellKeys = {u"Summe1", u"Summe2", u"Summe3", u"Summe4",
                                                                u"Gesamt"};

// The person columns, the first of the table; the run data follow them to the last column.
inline constexpr std::array<const char16_t*, 8> kPersonKeys = {u"Lauf", u"Datum",        u"lNr",  u"mw",
                                                               u"Nr",   u"Name Vorname", u"geb.", u"AF"};
// The age factor the scoring applies to the row's times.
inline constexpr const char16_t* kAgeFactorKey = u"AF";

// The first run data column: clearing run data empties it and every column after it.
inline constexpr const char16_t* kFirstRunDataKey = u"Bemerkung";

// Hidden at start, by the import and by the full view, in this order.
inline constexpr std::array<const char16_t*, 3> kHiddenAtStartKeys = {u"Nr", u"lNr", u"Bemerkung"};

// What the short report ("Kurzdruck") leaves out, in this order.
inline constexpr std::array<const char16_t*, 6> kShortReportLeftOutKeys = {u"Datum", u"lNr", u"Nr",
                                                                           u"geb.",  u"AF",  u"Bemerkung"};

// The points columns of the distances (the 10 km has none of its own), in column order.
QStringList PointsColumnKeys();

// Whether the scoring writes the column: points, day sums and the total. A text typed there would
// be replaced by the next scoring.
bool IsComputedColumn(QStringView key);

// The columns a day view shows before the total: the day's times and points and its sum, in
// column order. Days 1 to 4.
QStringList DayColumnKeys(int day);

// Every column of the four days and the total: what the day views hide before they show one.
QStringList CompetitionColumnKeys();

// The day a time, points or sum column belongs to; nothing for the total and every other column.
std::optional<int> DayOf(QStringView columnKey);

// The group of a time column, nothing for every other column.
std::optional<DistanceGroup> DistanceGroupOf(QStringView columnKey);

} // namespace vastrel

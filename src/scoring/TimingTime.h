#pragma once

#include "table/CompetitionLayout.h"

#include <QString>
#include <QStringView>

#include <optional>

namespace vastrel {

// A time as a timing system writes it ("12.345", "1:02.34", "0:38:12.345", "65.23"; a comma
// taken for the point) in the entry form of the distance's group: "65.3", "1:05.3",
// "0:38:12.4". What lies beyond the tenths is rounded up, never down: a timed time is never
// made faster. None for a text that is no time.
std::optional<QString> TimeInEntryForm(DistanceGroup group, QStringView timed);

} // namespace vastrel

#pragma once

#include <QStringView>

#include <vector>

namespace vastrel {

class ResultTable;

// The place of every row: its rank among the rows of the same run ("Lauf") and sex ("mw") by the
// points in the given column, most points first. Equal points share a place and the next place
// skips (1, 2, 2, 4); a row without points there (empty, not a number) has none: 0.
// Index 0 is row 1. Computed afresh, never stored in the table.
std::vector<int> PlacesByPoints(const ResultTable& table, QStringView pointsKey);

} // namespace vastrel

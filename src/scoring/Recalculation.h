#pragma once

namespace vastrel {

class ResultTable;
class Scorer;

// Recomputes the points and sums of one row after any of its cells was edited.
// A row whose cells are all empty is passed over: there is nothing to score.
void RecalculateRow(ResultTable& table, Scorer& scorer, int row);

// True when every cell of the row is empty.
bool IsRowEmpty(const ResultTable& table, int row);

} // namespace vastrel

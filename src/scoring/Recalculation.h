#pragma once

namespace vastrel {

class ResultTable;
class Scorer;
class TableView;
class Ui;

// Recomputes the points and sums of one row after any of its cells was edited.
// A row whose cells are all empty is passed over: there is nothing to score.
void RecalculateRow(ResultTable& table, Scorer& scorer, int row);

// Recomputes every row in table order with the progress in status panel "3", stops at the first
// time that cannot be read, and sorts by run and total, descending. Empty rows are passed over.
// From `rowsForTwoThreads` rows on a second thread scores chunks of rows ahead (the outcome is
// the same, messages included); below 4096 it costs more than it saves.
void RecalculateAll(TableView& view, Scorer& scorer, Ui& ui, int rowsForTwoThreads = 4096);

} // namespace vastrel

#pragma once

#include <QString>

namespace vastrel {

class ResultTable;
class Ui;

// Checks and tidies a time typed into a distance column before the table stores it:
// comma to point, "0:" before a 10 km time of minutes and seconds, ".0" where no decimal was
// typed; a text of the wrong form is reported (title "Vastrel") and, where it cannot be a
// time at all, emptied. Columns that hold no time are left alone.
void ValidateTimeEntry(const ResultTable& table, int column, QString& text, Ui& ui);

} // namespace vastrel

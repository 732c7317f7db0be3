#pragma once

#include <QString>

#include <optional>

namespace vastrel {

class TableView;
class Ui;

// The factor text of an age class by sex ("w" women, anything else men), or nothing for ages
// outside the classes (below 2, above 94).
std::optional<QStringView> AgeFactorFor(int age, bool women);

// A typed age factor as the scoring reads it: blanks around it removed, a comma as the point
// ("0,7887" becomes "0.7887").
void TidyAgeFactorEntry(QString& text);

// Fills "AF" of every row from year of birth, year of the run and sex: with age classes each
// row gets its class's factor, without them every row gets "1.0000". A missing year of birth is
// first taken from the same competitor's row just above. Sorts by name first and by run and
// total descending at the end; shows the progress in status panel "3".
void AssignAgeFactors(TableView& view, Ui& ui, bool withAgeClasses);

} // namespace vastrel

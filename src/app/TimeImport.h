#pragma once

#include "formats/TimingFile.h"
#include "table/Change.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace vastrel {

class ResultTable;
class Scorer;
class Ui;

// The distance a heat's event name names ("100m Männer", "1500 m", "10 km", "10000m"); none
// where it names none of the ten, or more than one.
std::optional<QString> DistanceOfEventName(QStringView eventName);

// What reading a timing file into a distance would do, worked out before anything is written.
struct TimeImportPlan {
    struct Time {
        int row = 0; // in the table, from 1, when planned
        RowId id = 0;
        QString number, name, before, after;
        QStringList warnings; // of the entry check; the time is entered all the same
    };
    struct Refused {
        int line = 0;
        QString number, text, why;
    };
    QString distance;                               // the column's key
    std::vector<Time> enter;                        // into empty cells
    std::vector<Time> replace;                      // over a different time
    int unchanged = 0;                              // the cell holds that time already
    std::vector<Refused> notFound, noTime, refused; // refused: unread, twice, ambiguous, no time form

    bool Changes() const { return !enter.empty() || !replace.empty(); }
};

// Matches each entry to its row by "Nr" (and "Lauf" where given), turns the time into the
// distance's entry form (rounded up) and checks it as a typed time.
// A start number twice in the file, or found in two rows, enters nothing.
TimeImportPlan PlanTimeImport(const ResultTable& table, const TimingFile& file, const QString& distance,
                              const QString& lauf);

// The plan in German, for the summary before "Übernehmen" and for the tool; a list longer than
// `linesPerList` (where one is given) shows that many lines and how many more there are.
QString TimeImportSummary(const TimeImportPlan& plan, int linesPerList = -1);

// Enters the plan's times (those replacing another only when asked) and scores their rows;
// the number of cells written. A row found by its id wherever it stands now; a cell that holds
// another text than planned (changed meanwhile, at another station) is left alone. The caller
// makes it one step of undo.
int ApplyTimeImport(ResultTable& table, Scorer& scorer, const TimeImportPlan& plan, bool replace);

} // namespace vastrel

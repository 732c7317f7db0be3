// Reads any bytes as a timing system's result file and plans them into a small competition:
// every line is either an entry or unread, a planned time is in its distance's entry form (taking
// it again changes nothing) and never faster than the file's, and nothing goes into a row whose
// start number the line does not name.
#include "FuzzSupport.h"
#include "app/TimeImport.h"
#include "formats/TimingFile.h"
#include "scoring/TimingTime.h"
#include "table/ColumnModel.h"
#include "table/CompetitionLayout.h"
#include "table/ResultTable.h"

#include <cstddef>
#include <cstdint>

using namespace Qt::StringLiterals;
using namespace vastrel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const TimingFile file = ReadTimingFile(bytes);
    for (const TimingEntry& entry : file.entries) {
        if (entry.line < 1 || entry.number.isEmpty() || (!entry.time.isEmpty() && !entry.status.isEmpty())) {
            fuzz::Broken("an entry has its line, its number and a time or a status", entry.number);
        }
        for (DistanceGroup group : {DistanceGroup::Sprint, DistanceGroup::Middle, DistanceGroup::TenKm}) {
            if (const auto form = TimeInEntryForm(group, entry.time);
                form && TimeInEntryForm(group, *form) != form) {
                fuzz::Broken("a time in its entry form stays as it is", entry.time);
            }
        }
    }
    ResultTable table;
    DefineColumns(table, fuzz::Width);
    for (int n = 1; n <= 9; ++n) {
        table.AddRow(u"1\t2026\t%1\tm\t%1\tLäufer %1\t1960"_s.arg(n));
    }
    for (const Distance& distance : kDistances) {
        const TimeImportPlan plan = PlanTimeImport(table, file, QString::fromUtf16(distance.timeKey), {});
        for (const auto& time : plan.enter) {
            if (table.CellText(time.row, u"Nr"_s) != time.number ||
                TimeInEntryForm(distance.group, time.after) != time.after) {
                fuzz::Broken("a time goes to its own row in its entry form", time.number);
            }
        }
    }
    return 0;
}

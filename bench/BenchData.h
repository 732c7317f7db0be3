#pragma once

// Shared material of the benchmarks: a generated competition.
#include "ports/SilentUi.h"
#include "scoring/Recalculation.h"
#include "scoring/Scorer.h"
#include "table/ColumnModel.h"
#include "table/ResultTable.h"
#include "table/TableView.h"

#include <QStringList>

namespace vastrel::bench {

using namespace Qt::StringLiterals;

constexpr int kRows = 32767;

// Distinct for every row up to a million: a multiple modulo a prime larger than that.
inline QString NameNumber(int i) {
    return u"Läufer%1, Vorname"_s.arg(static_cast<long long>(i) * 104729 % 1000003);
}

// A competitor with all ten times, varied from row to row. The names follow no order of the
// rows (as in a file kept by start number), so sorting by name moves them.
inline QString CompetitorRow(int i) {
    const int s = i % 50;
    QStringList f;
    f << QString::number(1 + i % 3) << u"2024"_s << QString::number(i) << (i % 2 ? u"w"_s : u"m"_s)
      << QString::number(i) << NameNumber(i) << QString::number(1940 + i % 60)
      << (i % 5 ? u"1.0000"_s : u"0.7887"_s) << QString()                      // Bemerkung
      << u"%1.%2"_s.arg(7 + s % 3).arg(s % 10) << QString()                    // 60m
      << u"4:%1.%2"_s.arg(10 + s, 2, 10, QChar(u'0')).arg(s % 10) << QString() // 1500m
      << u"1:%1.0"_s.arg(s, 2, 10, QChar(u'0')) << QString() << QString()      // 400m, Summe1
      << u"%1.%2"_s.arg(11 + s % 4).arg(s % 10) << QString()                   // 100m
      << u"9:%1.5"_s.arg(s, 2, 10, QChar(u'0')) << QString()                   // 3000m
      << u"2:%1.1"_s.arg(10 + s % 40) << QString() << QString()                // 800m, Summe2
      << u"%1.%2"_s.arg(23 + s % 5).arg(s % 10) << QString()                   // 200m
      << u"17:%1.0"_s.arg(s, 2, 10, QChar(u'0')) << QString()                  // 5000m
      << u"3:%1.4"_s.arg(10 + s % 40) << QString() << QString()                // 1000m, Summe3
      << u"0:%1:12.0"_s.arg(35 + s % 20) << QString() << QString();            // 10km, Summe4, Gesamt
    return f.join(u'\t');
}

inline void FillTable(ResultTable& table) {
    DefineColumns(table, [](const QString& t) { return t.size() * 100.0; });
    table.LockUpdate(true);
    for (int i = 1; i <= kRows; ++i) {
        table.AddRow(CompetitorRow(i));
    }
}

// The generated competition with a scorer on it, the table unlocked as after an open.
struct Competition {
    Competition() {
        FillTable(table);
        table.LockUpdate(false);
    }
    void Recalculate() { RecalculateAll(view, scorer, ui); }
    ResultTable table;
    TableView view{table};
    SilentUi ui;
    Scorer scorer{table, ui, &view};
};

} // namespace vastrel::bench

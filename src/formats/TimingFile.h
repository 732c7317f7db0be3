#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

namespace vastrel {

// One competitor's line of a timing system's result file, as written there.
struct TimingEntry {
    int line = 0; // in the file, from 1
    QString number;
    QString time;   // empty where the competitor has none
    QString status; // "DNS", "DNF", "DQ", … where the file says so instead of a place or a time
    QString name;
    bool operator==(const TimingEntry&) const = default;
};

struct UnreadTimingLine {
    int line = 0;
    QString text;
    bool operator==(const UnreadTimingLine&) const = default;
};

// A heat's result file: the photo-finish format (.lif: a line describing the heat, its event name
// fourth, then place, start number, lane, last name, first name, affiliation, time, … a
// competitor), or text with a head line naming the start number's and the time's columns ("Nr",
// "Startnummer" or "Bib"; "Zeit" or "Time"; any case), fields parted by ";" or ",". UTF-8 with
// or without a byte-order mark, or Windows-1252.
struct TimingFile {
    QString eventName; // the heat's, where the file names one
    std::vector<TimingEntry> entries;
    std::vector<UnreadTimingLine> unread; // lines that are no competitor's
};

// Never fails: a line it cannot read is named among the unread.
TimingFile ReadTimingFile(const QByteArray& bytes);

} // namespace vastrel

#include "formats/TimingFile.h"

#include "system/TextEncoding.h"

#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <optional>

using namespace Qt::StringLiterals;

namespace vastrel {

namespace {

// Fields parted by `separator`; a field in double quotes may hold it, "" stands for one quote.
QStringList Fields(QStringView line, QChar separator) {
    QStringList fields;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (quoted) {
            if (c == u'"' && i + 1 < line.size() && line[i + 1] == u'"') {
                field += c;
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == u'"' && field.trimmed().isEmpty()) {
            field.clear();
            quoted = true;
        } else if (c == separator) {
            fields << field.trimmed();
            field.clear();
        } else {
            field += c;
        }
    }
    fields << field.trimmed();
    return fields;
}

bool IsPlace(const QString& place) {
    static const QRegularExpression number(u"^\\d+\\.?$"_s);
    return number.match(place).hasMatch();
}

// A time field that says why there is no time ("DNS", "DNF", "DQ", "DSQ", "NM", "aufg.", …).
bool IsStatus(const QString& time) {
    return !time.isEmpty() && std::none_of(time.begin(), time.end(), [](QChar c) { return c.isDigit(); });
}

struct Head {
    QChar separator;
    qsizetype number = -1, time = -1, name = -1;
};

// The head line of a text file: the columns of the start number and the time.
std::optional<Head> ReadHead(QStringView line) {
    for (QChar separator : {u';', u',', u'\t'}) {
        Head head{separator};
        const QStringList names = Fields(line, separator);
        for (qsizetype i = 0; i < names.size(); ++i) {
            const QString name = names[i].toLower();
            if (head.number < 0 && (name == u"nr" || name == u"startnummer" || name == u"bib")) {
                head.number = i;
            } else if (head.time < 0 && (name == u"zeit" || name == u"time")) {
                head.time = i;
            } else if (head.name < 0 && name.startsWith(u"name")) {
                head.name = i;
            }
        }
        if (head.number >= 0 && head.time >= 0) {
            return head;
        }
    }
    return std::nullopt;
}

void ReadTextLines(const QStringList& lines, qsizetype first, const Head& head, TimingFile& file) {
    for (qsizetype i = first + 1; i < lines.size(); ++i) {
        if (lines[i].trimmed().isEmpty()) {
            continue;
        }
        const QStringList fields = Fields(lines[i], head.separator);
        const int line = static_cast<int>(i) + 1;
        if (fields.size() <= std::max(head.number, head.time) || fields[head.number].isEmpty()) {
            file.unread.push_back({line, lines[i]});
            continue;
        }
        TimingEntry entry{line,
                          fields[head.number],
                          fields[head.time],
                          {},
                          head.name >= 0 ? fields.value(head.name) : QString()};
        if (IsStatus(entry.time)) {
            entry.status = std::exchange(entry.time, {});
        }
        file.entries.push_back(entry);
    }
}

// A .lif file: the heat's line first (event number, round, heat, event name, wind, …).
void ReadPhotoFinishLines(const QStringList& lines, qsizetype first, TimingFile& file) {
    file.eventName = Fields(lines[first], u',').value(3);
    for (qsizetype i = first + 1; i < lines.size(); ++i) {
        if (lines[i].trimmed().isEmpty()) {
            continue;
        }
        const QStringList fields = Fields(lines[i], u',');
        const int line = static_cast<int>(i) + 1;
        if (fields.size() < 7 || fields[1].isEmpty()) {
            file.unread.push_back({line, lines[i]});
            continue;
        }
        const QString name = fields[4].isEmpty() ? fields[3] : fields[3] + u", "_s + fields[4];
        TimingEntry entry{line, fields[1], fields[6], {}, name};
        if (!IsPlace(fields[0])) { // DNS, DNF, DQ, …: whatever stands as time is none
            entry.status = fields[0].isEmpty() ? u"ohne Platz"_s : fields[0];
            entry.time.clear();
        }
        file.entries.push_back(entry);
    }
}

} // namespace

TimingFile ReadTimingFile(const QByteArray& bytes) {
    static const QRegularExpression lineEnd(u"\r\n|\r|\n"_s);
    const QStringList lines = DecodeTextFile(bytes).split(lineEnd);
    qsizetype first = 0;
    while (first < lines.size() && lines[first].trimmed().isEmpty()) {
        ++first;
    }
    TimingFile file;
    if (first == lines.size()) {
        return file;
    }
    if (const auto head = ReadHead(lines[first])) {
        ReadTextLines(lines, first, *head, file);
    } else {
        ReadPhotoFinishLines(lines, first, file);
    }
    return file;
}

} // namespace vastrel

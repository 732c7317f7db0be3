#include "app/TimeImport.h"

#include "ports/SilentUi.h"
#include "scoring/Recalculation.h"
#include "scoring/TimeEntry.h"
#include "scoring/TimingTime.h"
#include "table/CompetitionLayout.h"
#include "table/ResultTable.h"

#include <QHash>

#include <QRegularExpression>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace vastrel {

namespace {

// The entry check's messages, kept for the summary instead of shown one by one.
class CollectingUi : public SilentUi {
public:
    MessageAnswer MessageBox(const QString& text, const QString&, MessageButtons, MessageIcon) override {
        messages << text;
        return MessageAnswer::Ok;
    }
    QStringList messages;
};

const Distance* DistanceOf(const QString& key) {
    for (const Distance& distance : kDistances) {
        if (key == distance.timeKey) {
            return &distance;
        }
    }
    return nullptr;
}

QString Line(const TimeImportPlan::Time& time) {
    return u"  Nr %1 %2: %3 → %4"_s.arg(time.number, time.name,
                                        time.before.isEmpty() ? u"(leer)"_s : time.before, time.after);
}

} // namespace

std::optional<QString> DistanceOfEventName(QStringView eventName) {
    static const QRegularExpression length(u"(\\d+)\\s*(km|m\\b|meter|metre)"_s,
                                           QRegularExpression::CaseInsensitiveOption);
    std::optional<QString> named;
    for (auto match = length.globalMatch(eventName); match.hasNext();) {
        const auto found = match.next();
        const bool km = found.captured(2).compare(u"km"_s, Qt::CaseInsensitive) == 0;
        const QString key =
            km || found.captured(1) == u"10000" ? found.captured(1) + u"km"_s : found.captured(1) + u"m"_s;
        const QString normal = key == u"10000km" ? u"10km"_s : key;
        if (!DistanceOf(normal) || (named && *named != normal)) {
            return std::nullopt;
        }
        named = normal;
    }
    return named;
}

TimeImportPlan PlanTimeImport(const ResultTable& table, const TimingFile& file, const QString& distance,
                              const QString& lauf) {
    TimeImportPlan plan;
    plan.distance = distance;
    const Distance* chosen = DistanceOf(distance);
    const int column = table.ColumnNumber(distance);
    if (!chosen || column < 1) {
        return plan;
    }
    QHash<QString, QList<int>> rowsOf; // by start number, of the run asked for
    for (int row = 1; row <= table.RowCount(); ++row) {
        if (lauf.isEmpty() || table.CellView(row, table.ColumnNumber(u"Lauf"_s)).trimmed() == lauf) {
            rowsOf[table.CellView(row, table.ColumnNumber(u"Nr"_s)).trimmed().toString()] << row;
        }
    }
    QHash<QString, int> inFile;
    for (const TimingEntry& entry : file.entries) {
        ++inFile[entry.number];
    }
    for (const UnreadTimingLine& line : file.unread) {
        plan.refused.push_back({line.line, {}, line.text, u"nicht zu lesen"_s});
    }
    for (const TimingEntry& entry : file.entries) {
        const QList<int> rows = rowsOf.value(entry.number);
        if (inFile.value(entry.number) > 1) {
            plan.refused.push_back(
                {entry.line, entry.number, entry.time, u"Startnummer mehrfach in der Datei"_s});
        } else if (rows.isEmpty()) {
            plan.notFound.push_back({entry.line, entry.number, entry.name, {}});
        } else if (rows.size() > 1) {
            plan.refused.push_back({entry.line, entry.number, entry.time,
                                    u"Startnummer in %1 Zeilen; bitte den Lauf angeben"_s.arg(rows.size())});
        } else if (entry.time.isEmpty()) {
            plan.noTime.push_back({entry.line, entry.number, entry.name,
                                   entry.status.isEmpty() ? u"keine Zeit"_s : entry.status});
        } else if (const auto form = TimeInEntryForm(chosen->group, entry.time); !form) {
            plan.refused.push_back({entry.line, entry.number, entry.time, u"keine lesbare Zeit"_s});
        } else {
            QString checked = *form;
            CollectingUi ui;
            ValidateTimeEntry(table, column, checked, ui);
            if (checked.isEmpty()) {
                plan.refused.push_back({entry.line, entry.number, entry.time, ui.messages.join(u' ')});
                continue;
            }
            const int row = rows.front();
            TimeImportPlan::Time time{row,
                                      table.IdOf(row),
                                      entry.number,
                                      table.CellText(row, u"Name Vorname"_s),
                                      table.CellText(row, column),
                                      checked,
                                      ui.messages};
            if (time.before == time.after) {
                ++plan.unchanged;
            } else {
                (time.before.isEmpty() ? plan.enter : plan.replace).push_back(std::move(time));
            }
        }
    }
    for (auto* refused : {&plan.notFound, &plan.noTime, &plan.refused}) {
        std::stable_sort(refused->begin(), refused->end(),
                         [](const auto& a, const auto& b) { return a.line < b.line; });
    }
    return plan;
}

QString TimeImportSummary(const TimeImportPlan& plan, int linesPerList) {
    QStringList lines;
    // Past the limit a list ends in how many more there are.
    const auto shown = [&](qsizetype listed, qsizetype size) {
        if (linesPerList >= 0 && listed == linesPerList) {
            lines << u"  … und %1 weitere"_s.arg(size - listed);
            return false;
        }
        return true;
    };
    lines << u"%1: %2 Zeit(en) einzutragen, %3 ersetzen eine andere, %4 unverändert."_s.arg(plan.distance)
                 .arg(plan.enter.size())
                 .arg(plan.replace.size())
                 .arg(plan.unchanged);
    if (!plan.replace.empty()) {
        lines << u"Ersetzt werden:"_s;
        for (qsizetype i = 0; i < std::ssize(plan.replace) && shown(i, std::ssize(plan.replace)); ++i) {
            lines << Line(plan.replace[i]);
        }
    }
    const auto warned = std::count_if(plan.enter.begin(), plan.enter.end(),
                                      [](const auto& time) { return !time.warnings.isEmpty(); });
    qsizetype listed = 0;
    for (const auto& time : plan.enter) {
        if (!time.warnings.isEmpty()) {
            if (!shown(listed++, warned)) {
                break;
            }
            lines << Line(time) + u" (%1)"_s.arg(time.warnings.join(u' '));
        }
    }
    const auto list = [&](const QString& title, const std::vector<TimeImportPlan::Refused>& refused) {
        if (refused.empty()) {
            return;
        }
        lines << title.arg(refused.size());
        for (qsizetype i = 0; i < std::ssize(refused) && shown(i, std::ssize(refused)); ++i) {
            const auto& line = refused[i];
            QStringList what;
            for (const QString& part :
                 {line.number.isEmpty() ? QString() : u"Nr "_s + line.number, line.text}) {
                if (!part.isEmpty()) {
                    what << part;
                }
            }
            lines << u"  Zeile %1: %2%3"_s.arg(line.line).arg(
                what.join(u' '), line.why.isEmpty() ? QString() : u" – "_s + line.why);
        }
    };
    list(u"Startnummern nicht gefunden: %1"_s, plan.notFound);
    list(u"Ohne Zeit (DNS, DNF, DQ …): %1"_s, plan.noTime);
    list(u"Nicht übernommen: %1"_s, plan.refused);
    return lines.join(u"\r\n"_s);
}

int ApplyTimeImport(ResultTable& table, Scorer& scorer, const TimeImportPlan& plan, bool replace) {
    const int column = table.ColumnNumber(plan.distance);
    QList<int> rows;
    const auto enter = [&](const std::vector<TimeImportPlan::Time>& times) {
        for (const auto& time : times) {
            const int row = table.RowNumberOf(time.id, time.row);
            if (row > 0 && table.CellText(row, column) == time.before) {
                table.SetCellText(row, column, time.after);
                rows << row;
            }
        }
    };
    enter(plan.enter);
    if (replace) {
        enter(plan.replace);
    }
    for (int row : rows) {
        RecalculateRow(table, scorer, row);
    }
    return static_cast<int>(rows.size());
}

} // namespace vastrel

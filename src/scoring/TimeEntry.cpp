#include "scoring/TimeEntry.h"

#include "ports/Ui.h"
#include "system/NumberText.h"
#include "table/CompetitionLayout.h"
#include "table/ResultTable.h"

using namespace Qt::StringLiterals;

namespace vastrel {

namespace {

void ShowFormatMessage(Ui& ui, const QString& text) {
    ui.MessageBox(text, u"Vastrel"_s, MessageButtons::Ok, MessageIcon::Exclamation);
}

// A part that is not there counts as exceeding the limit.
bool PartAbove(const QStringList& parts, int index, double limit) {
    return index >= parts.size() || ReadLenient(parts.at(index)) > limit;
}

void ApplyPointRule(QString& text) {
    if (!text.isEmpty() && !text.contains(u'.')) {
        text += u".0"_s;
    }
}

void ValidateSprint(QString& text, Ui& ui) {
    text.replace(u',', u'.');
    if (!ConvertStrict(text)) {
        ShowFormatMessage(ui, u"Formatfehler [00.0]!"_s);
        text.clear();
    }
    ApplyPointRule(text);
}

void ValidateMiddle(QString& text, const QStringList& parts, Ui& ui) {
    text.replace(u',', u'.');
    if (parts.size() < 2 || PartAbove(parts, 0, 59) || PartAbove(parts, 1, 59)) {
        ShowFormatMessage(ui, u"Formatfehler [0:00.0]?"_s);
    }
    if (parts.size() != 2) {
        ShowFormatMessage(ui, u"Formatfehler [0:00.0]!"_s);
        text.clear();
    }
    ApplyPointRule(text);
}

void ValidateTenKm(QString& text, const QStringList& parts, Ui& ui) {
    for (const QString& part : parts) {
        if (ReadLenient(part) > 59.9) {
            ShowFormatMessage(ui, u"Formatfehler [0:00:00.0]?"_s);
        }
    }
    text.replace(u',', u'.');
    if (parts.size() == 1 || parts.size() > 3) {
        ShowFormatMessage(ui, u"Formatfehler [0:00:00.0]!"_s);
        text.clear();
    } else if (parts.size() == 2) {
        text.prepend(u"0:"_s);
    }
    ApplyPointRule(text);
}

} // namespace

void ValidateTimeEntry(const ResultTable& table, int column, QString& text, Ui& ui) {
    const auto group = DistanceGroupOf(table.Key(column));
    if (!group) {
        return;
    }
    // Blanks typed around a time are no part of it (" 8 " would become " 8 .0").
    text = text.trimmed();
    // The range checks read the parts as typed, before any comma becomes a point.
    const QStringList parts = text.isEmpty() ? QStringList() : text.split(u':');
    switch (*group) {
    case DistanceGroup::Sprint:
        ValidateSprint(text, ui);
        break;
    case DistanceGroup::Middle:
        ValidateMiddle(text, parts, ui);
        break;
    case DistanceGroup::TenKm:
        ValidateTenKm(text, parts, ui);
        break;
    }
}

} // namespace vastrel

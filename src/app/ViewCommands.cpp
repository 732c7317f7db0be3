#include "app/ViewCommands.h"

#include "app/CommandKeys.h"
#include "ports/MainWindowState.h"
#include "ports/Toolbar.h"
#include "ports/Ui.h"
#include "table/ColumnModel.h"
#include "table/CompetitionLayout.h"
#include "table/ResultTable.h"
#include "table/TableView.h"

#include <array>
#include <optional>

using namespace Qt::StringLiterals;

namespace vastrel {

namespace {

constexpr std::array<const char16_t*, kDayCount> kDayViewKeys = {keys::kViewDay1, keys::kViewDay2,
                                                                 keys::kViewDay3, keys::kViewDay4};

struct SortOrderDefinition {
    const char16_t* itemKey;
    const char16_t* leadColumn;
    const char16_t* keys;
};

constexpr std::array<SortOrderDefinition, 6> kSortOrders = {{
    {keys::kSortTotal, u"Gesamt", u"Gesamt"},
    {keys::kSortSexTotal, u"mw", u"mw,Gesamt"},
    {keys::kSortNameTotal, u"Name Vorname", u"Name Vorname,Gesamt"},
    {keys::kSortRunTotal, u"Lauf", u"Lauf,Gesamt"},
    {keys::kSortRunName, u"Lauf", u"Lauf,Name Vorname"},
    {keys::kSortRunSexTotal, u"Lauf", u"Lauf,mw,Gesamt"},
}};

// The day of a view item, 0 for "alles"; nothing for another key.
std::optional<int> DayOfView(const QString& itemKey) {
    if (itemKey == keys::kViewAll) {
        return 0;
    }
    for (std::size_t i = 0; i < kDayViewKeys.size(); ++i) {
        if (itemKey == QStringView(kDayViewKeys[i])) {
            return static_cast<int>(i) + 1;
        }
    }
    return std::nullopt;
}

} // namespace

QString CaptionOfView(const MainWindowState& state) {
    return state.dayView > 0 ? state.baseCaption + u" - %1.Tag"_s.arg(state.dayView) : state.baseCaption;
}

void ShowDayView(ResultTable& table, MainWindowState& state, Ui& ui, const QString& itemKey) {
    const std::optional<int> day = DayOfView(itemKey);
    if (!day) {
        return;
    }
    state.dayView = *day;
    table.LockUpdate(true);
    for (const QString& key : CompetitionColumnKeys()) {
        table.SetVisible(key, false);
    }
    if (*day > 0) {
        table.SetCaption(CaptionOfView(state));
        for (const QString& key : DayColumnKeys(*day)) {
            table.SetVisible(key, true);
        }
        table.SetLayoutValue(38);
    } else {
        table.SetCaption(CaptionOfView(state));
        for (int c = 1; c <= table.ColumnCount(); ++c) {
            table.SetVisible(c, true);
        }
        for (const char16_t* key : kHiddenAtStartKeys) {
            table.SetVisible(key, false);
        }
        table.SetLayoutValue(56);
    }
    table.SetVisible(kTotalKey, true);
    SetColumnWidths(table, [&ui](const QString& text) { return ui.TextWidthTwips(text); });
    table.LockUpdate(false);
    table.Refresh();
}

void SortTable(TableView& view, Ui& ui, const QString& itemKey) {
    ResultTable& table = view.Table();
    for (const SortOrderDefinition& order : kSortOrders) {
        if (itemKey != QStringView(order.itemKey)) {
            continue;
        }
        table.LockUpdate(true);
        ui.SetStatusText(StatusPanel::Progress, QString());
        const SortDirection direction = table.SortDirection(order.leadColumn) == SortDirection::Ascending
                                            ? SortDirection::Descending
                                            : SortDirection::Ascending;
        table.SortBy(QString::fromUtf16(order.keys), direction);
        table.LockUpdate(false);
        table.Refresh();
        view.SetCurrentRow(1);
        ui.ProcessPendingEvents();
        return;
    }
}

void ToggleShortPrint(Toolbar& toolbar, MainWindowState& state) {
    const QString item = QString::fromUtf16(keys::kShortPrint);
    const bool checked = toolbar.ItemChecked(item);
    toolbar.SetItemChecked(item, !checked);
    state.shortPrint = !checked;
}

} // namespace vastrel

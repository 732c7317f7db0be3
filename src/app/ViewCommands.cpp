#include "app/ViewCommands.h"

#include "app/MainWindowState.h"
#include "app/Toolbar.h"
#include "app/Ui.h"
#include "table/ColumnModel.h"
#include "table/ResultTable.h"

#include <array>

using namespace Qt::StringLiterals;

namespace vastrel {

namespace {

struct DayView {
    const char16_t* itemKey;
    const char16_t* suffix;
    int firstColumn;
    int lastColumn;
};

constexpr std::array<DayView, 4> kDayViews = {{
    {u"btnAnz1Tag", u" - 1.Tag", 10, 16},
    {u"btnAnz2Tag", u" - 2.Tag", 17, 23},
    {u"btnAnz3Tag", u" - 3.Tag", 24, 30},
    {u"btnAnz4Tag", u" - 4.Tag", 31, 32},
}};

struct SortOrderDefinition {
    const char16_t* itemKey;
    const char16_t* leadColumn;
    const char16_t* keys;
};

constexpr std::array<SortOrderDefinition, 6> kSortOrders = {{
    {u"btnSort1", u"Gesamt", u"Gesamt"},
    {u"btnSort2", u"mw", u"mw,Gesamt"},
    {u"btnSort3", u"Name Vorname", u"Name Vorname,Gesamt"},
    {u"btnSort4", u"Lauf", u"Lauf,Gesamt"},
    {u"btnSort5", u"Lauf", u"Lauf,Name Vorname"},
    {u"btnSort6", u"Lauf", u"Lauf,mw,Gesamt"},
}};

} // namespace

void ShowDayView(ResultTable& table, const MainWindowState& state, Ui& ui, const QString& itemKey) {
    const DayView* day = nullptr;
    for (const DayView& d : kDayViews) {
        if (itemKey == QStringView(d.itemKey)) {
            day = &d;
        }
    }
    if (!day && itemKey != u"btnAnzAlles") {
        return;
    }
    table.LockUpdate(true);
    for (int c = 10; c <= 33; ++c) {
        table.SetVisible(c, false);
    }
    if (day) {
        table.SetCaption(state.baseCaption + QString::fromUtf16(day->suffix));
        for (int c = day->firstColumn; c <= day->lastColumn; ++c) {
            table.SetVisible(c, true);
        }
        table.SetLayoutValue(38);
    } else {
        table.SetCaption(state.baseCaption);
        for (int c = 1; c <= 33; ++c) {
            table.SetVisible(c, true);
        }
        for (int c : {3, 5, 9}) {
            table.SetVisible(c, false);
        }
        table.SetLayoutValue(56);
    }
    table.SetVisible(u"Gesamt", true);
    SetColumnWidths(table, [&ui](const QString& text) { return ui.TextWidthTwips(text); });
    table.LockUpdate(false);
    table.Refresh();
}

void SortTable(ResultTable& table, Ui& ui, const QString& itemKey) {
    for (const SortOrderDefinition& order : kSortOrders) {
        if (itemKey != QStringView(order.itemKey)) {
            continue;
        }
        table.LockUpdate(true);
        ui.SetStatusText(u"3"_s, QString());
        const int direction = table.SortDirection(order.leadColumn) == 1 ? 2 : 1;
        table.SortBy(QString::fromUtf16(order.keys), direction);
        table.LockUpdate(false);
        table.Refresh();
        table.SetCurrentRow(1);
        ui.ProcessPendingEvents();
        return;
    }
}

void ToggleShortPrint(Toolbar& toolbar, MainWindowState& state) {
    const bool checked = toolbar.ItemChecked(u"btnKurzdruck"_s);
    toolbar.SetItemChecked(u"btnKurzdruck"_s, !checked);
    state.shortPrint = !checked;
}

} // namespace vastrel

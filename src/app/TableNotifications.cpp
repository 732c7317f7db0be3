#include "app/TableNotifications.h"

#include "app/RowEditing.h"
#include "ports/MainWindowPort.h"
#include "scoring/AgeFactors.h"
#include "scoring/Recalculation.h"
#include "scoring/TimeEntry.h"
#include "table/CompetitionLayout.h"
#include "table/ResultTable.h"

namespace vastrel {

void ConnectTableNotifications(ResultTable& table, Scorer& scorer, Ui& ui, MainWindowState& state,
                               MainWindowPort& window) {
    ResultTableEvents& events = table.Events();
    events.validateCellEdit = [&table, &ui](int column, QString& text) {
        if (table.Key(column) == QStringView(kAgeFactorKey)) {
            TidyAgeFactorEntry(text);
        } else {
            ValidateTimeEntry(table, column, text, ui);
        }
    };
    events.afterCellEdit = [&table, &scorer](int row, int, const QString&) {
        RecalculateRow(table, scorer, row);
    };
    events.beforeRowsDelete = [&table, &ui](int row, bool& cancel) {
        ConfirmRowsDelete(table, ui, row, cancel);
    };
    events.captionClick = [&table, &state, &ui] {
        EnterEventName(table, state, ui);
    };
    events.headerClick = [&table](int column) {
        SortByHeader(table, column);
    };
    events.searchRequest = [&table](int& number) {
        SearchRow(table, number);
    };
    events.beforeRowAction = [&table](int row, bool& cancel) {
        GuardRowAction(table, row, cancel);
    };
    events.cellMouseUp = [&table, &window](int button, int row, int) {
        ShowRowMenu(table, window, button, row);
    };
}

void ShowRowMenu(ResultTable& table, MainWindowPort& window, int button, int row) {
    if (button != 2) {
        return;
    }
    bool cancel = false;
    if (table.Events().beforeRowAction) {
        table.Events().beforeRowAction(row, cancel);
    }
    if (!cancel) {
        window.PopUpRowMenu();
    }
}

} // namespace vastrel

#include "app/TableNotifications.h"

#include "app/RowEditing.h"
#include "app/UndoStack.h"
#include "ports/MainWindowPort.h"
#include "scoring/AgeFactors.h"
#include "scoring/Recalculation.h"
#include "scoring/TimeEntry.h"
#include "table/CompetitionLayout.h"
#include "table/ResultTable.h"

#include <memory>
#include <optional>

using namespace Qt::StringLiterals;

namespace vastrel {

void ConnectTableNotifications(ResultTable& table, Scorer& scorer, Ui& ui, MainWindowState& state,
                               MainWindowPort& window, UndoStack* undo) {
    ResultTableEvents& events = table.Events();
    // A typed cell is recorded from its check to the end of the scoring it starts.
    auto typing = std::make_shared<std::optional<UndoStep>>();
    events.validateCellEdit = [&table, &ui, undo, typing](int column, QString& text) {
        typing->emplace(undo, table.Key(column));
        if (table.Key(column) == QStringView(kAgeFactorKey)) {
            TidyAgeFactorEntry(text);
        } else {
            ValidateTimeEntry(table, column, text, ui);
        }
    };
    events.afterCellEdit = [&table, &scorer, typing](int row, int column, const QString&) {
        RecalculateRow(table, scorer, row);
        if (typing->has_value()) {
            (*typing)->Rename(u"%1 in Zeile %2"_s.arg(table.Key(column)).arg(row));
        }
        typing->reset();
    };
    events.beforeRowsDelete = [&table, &ui](int row, bool& cancel) {
        ConfirmRowsDelete(table, ui, row, cancel);
    };
    events.captionClick = [&table, &state, &ui, undo] {
        UndoStep step(undo, u"Veranstaltungsname"_s);
        EnterEventName(table, state, ui);
    };
    events.headerClick = [&table, undo](int column) {
        UndoStep step(undo, u"Sortierung nach %1"_s.arg(table.Key(column)));
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

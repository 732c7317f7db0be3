#include "app/GridCommands.h"

#include "app/ClipboardCommands.h"
#include "app/RowEditing.h"
#include "app/UndoStack.h"
#include "formats/TextImport.h"
#include "ports/MainWindowPort.h"
#include "ports/MainWindowState.h"
#include "ports/Ui.h"
#include "scoring/AgeFactors.h"
#include "scoring/Recalculation.h"
#include "scoring/TimeEntry.h"
#include "table/CompetitionLayout.h"
#include "table/ResultTable.h"
#include "table/TableView.h"

using namespace Qt::StringLiterals;

namespace vastrel {

void ValidateCellEdit(const ResultTable& table, int column, QString& text, Ui& ui) {
    if (table.Key(column) == QStringView(kAgeFactorKey)) {
        TidyAgeFactorEntry(text);
    } else if (table.Key(column) == u"Datum") {
        text = YearOfDate(text); // the age factors read the year; a full date would read as its day
    } else {
        ValidateTimeEntry(table, column, text, ui);
    }
}

bool TakesTypedText(const ResultTable& table, int row, int column) {
    return table.IsCellEditable(row, column) && !IsComputedColumn(table.Key(column));
}

void AfterCellEdit(ResultTable& table, Scorer& scorer, int row) {
    RecalculateRow(table, scorer, row);
}

GridCommands::GridCommands(TableView& view, Scorer& scorer, Ui& ui, MainWindowState& state,
                           MainWindowPort& window, UndoStack* undo)
    : view_(view), table_(view.Table()), scorer_(scorer), ui_(ui), state_(state), window_(window),
      undo_(undo) {}

void GridCommands::EditCell(int row, int column, QString text) {
    if (table_.IsReadOnly() || row < 1 || row > table_.RowCount() || column < 1 ||
        column > table_.ColumnCount() || HoldsNul(text)) {
        return;
    }
    UndoStep step(undo_, u"%1 in Zeile %2"_s.arg(table_.Key(column)).arg(row));
    ValidateCellEdit(table_, column, text, ui_);
    table_.SetCellText(row, column, text);
    AfterCellEdit(table_, scorer_, row);
}

void GridCommands::ClearCells(int row, const QList<int>& columns) {
    if (row < 1 || row > table_.RowCount() || Refused()) {
        return;
    }
    UndoStep step(undo_, u"Zellen leeren in Zeile %1"_s.arg(row));
    int cleared = 0;
    for (int column : columns) {
        if (!TakesTypedText(table_, row, column) || table_.CellText(row, column).isEmpty()) {
            continue;
        }
        table_.SetCellText(row, column, QString()); // emptied, not typed: no entry form to check
        ++cleared;
    }
    if (cleared > 0) {
        AfterCellEdit(table_, scorer_, row);
    }
    ui_.SetStatusText(StatusPanel::Status,
                      cleared == 1 ? u"1 Zelle geleert.  "_s : u"%1 Zellen geleert.  "_s.arg(cleared));
}

void GridCommands::Paste(int row, int column, const QString& text) {
    if (Refused() || HoldsNul(text)) {
        return;
    }
    UndoStep step(undo_, u"Einfügen"_s);
    PasteCells(view_, scorer_, ui_, row, column, text);
}

bool GridCommands::HoldsNul(const QString& text) {
    if (!text.contains(QChar(0))) {
        return false;
    }
    // No name or time holds one, a server's texts cannot; a binary clipboard is its usual source.
    ui_.MessageBox(u"Der Text enthält ein Nullzeichen (NUL) und wird nicht übernommen."_s, u"Vastrel"_s,
                   MessageButtons::Ok, MessageIcon::Exclamation);
    return true;
}

bool GridCommands::Refused() {
    if (state_.readOnly.isEmpty()) {
        return false;
    }
    ui_.SetStatusText(StatusPanel::Status, state_.readOnly + u"  "_s);
    return true;
}

void GridCommands::CaptionClick() {
    if (Refused()) {
        return;
    }
    UndoStep step(undo_, u"Veranstaltungsname"_s);
    EnterEventName(table_, state_, ui_);
}

void GridCommands::LockedCellTyped(int column) {
    if (!Refused()) {
        ui_.SetStatusText(
            StatusPanel::Status,
            u"\"%1\" wird berechnet und lässt sich nicht eingeben.  "_s.arg(table_.Key(column)));
    }
}

void GridCommands::HeaderClick(int column) {
    UndoStep step(undo_, u"Sortierung nach %1"_s.arg(table_.Key(column)));
    SortByHeader(view_, column);
}

void GridCommands::SearchRequest(const QString& text, int& number) {
    view_.SetSearchText(text);
    SearchRow(view_, number);
}

void GridCommands::CellMouseUp(int button, int row) {
    if (button != 2) {
        return;
    }
    bool cancel = false;
    GuardRowAction(view_, row, cancel);
    if (!cancel) {
        window_.PopUpRowMenu(state_.readOnly);
    }
}

} // namespace vastrel

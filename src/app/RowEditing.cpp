#include "app/RowEditing.h"

#include "ports/MainWindowState.h"
#include "ports/Ui.h"
#include "table/CompetitionLayout.h"
#include "table/ResultTable.h"

using namespace Qt::StringLiterals;

namespace vastrel {

namespace {

const QString kDeleteTitle = u"Löschen"_s;

bool AskDelete(Ui& ui, const QString& question) {
    return ui.MessageBox(question, kDeleteTitle, MessageButtons::YesNoDefaultNo, MessageIcon::Question) ==
           MessageAnswer::Yes;
}

QString SelectedRowsQuestion(const ResultTable& table, const QString& lastLine) {
    return u"Achtung!\r\nEs sind "_s + QString::number(table.SelectedRowCount()) +
           u" Datensätze selektiert.\r\n\r\n"_s + lastLine;
}

} // namespace

void ConfirmRowsDelete(ResultTable& table, Ui& ui, int row, bool& cancel) {
    const QString question = row != 0
                                 ? u"Zeile "_s + QString::number(row) + u" löschen?"_s
                                 : SelectedRowsQuestion(table, u"Alle selektierten Datenzeilen löschen?"_s);
    if (!AskDelete(ui, question)) {
        cancel = true;
    }
}

void ClearRunData(ResultTable& table, Ui& ui) {
    if (!AskDelete(ui, SelectedRowsQuestion(table, u"Alle selektierten Laufdaten löschen?"_s))) {
        return;
    }
    ui.SetStatusText(StatusPanel::Progress, u"Lösche Daten! Bitte warten!  "_s);
    ui.SetBusy(true);
    ui.ProcessPendingEvents();
    table.LockUpdate(true);
    const int firstRunDataColumn = table.ColumnNumber(kFirstRunDataKey);
    for (int row = 1; row <= table.RowCount(); ++row) {
        if (!table.RowSelected(row)) {
            continue;
        }
        for (int column = firstRunDataColumn; column <= table.ColumnCount(); ++column) {
            table.SetCellText(row, column, QString());
        }
    }
    table.LockUpdate(false);
    table.Refresh();
    ui.SetStatusText(StatusPanel::Progress, u"Löschung abgeschlossen!  "_s);
    ui.SetBusy(false);
    ui.ProcessPendingEvents();
}

void AddRowFromContextMenu(ResultTable& table) {
    table.AddRow(QString());
    table.SetCurrentRow(table.RowCount());
}

void EnterEventName(ResultTable& table, MainWindowState& state, Ui& ui) {
    const auto name = ui.InputBox(u"Bitte geben Sie hier Ihren Veranstaltungsnamen ein!"_s,
                                  u"Veranstaltung"_s, table.Caption());
    if (!name) {
        return; // cancelled: the event keeps its name
    }
    table.SetCaption(*name);
    state.baseCaption = *name;
}

void SortByHeader(ResultTable& table, int column) {
    const SortDirection direction =
        table.SortOrder().contains(u"DESC"_s) ? SortDirection::Ascending : SortDirection::Descending;
    table.SortBy(table.Key(column), direction);
    table.SetCurrentRow(1);
}

void SearchRow(ResultTable& table, int& number) {
    if (table.SearchText().isEmpty()) {
        return;
    }
    const int row = table.FindRow(table.SearchText() + u'*', number);
    if (row > 0) {
        table.SetCurrentRow(row);
        // The hit stands out: it is the one selected row.
        table.ClearSelection();
        table.SetRowSelected(row, true);
    }
}

void GuardRowAction(const ResultTable& table, int row, bool& cancel) {
    if (table.SelectedRowCount() != 0 && !table.RowSelected(row)) {
        cancel = true;
    }
}

} // namespace vastrel

#include "app/RowEditing.h"

#include "ports/MainWindowState.h"
#include "ports/Ui.h"
#include "table/CompetitionLayout.h"
#include "table/ResultTable.h"
#include "table/TableView.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace vastrel {

namespace {

const QString kDeleteTitle = u"Löschen"_s;

bool AskDelete(Ui& ui, const QString& question) {
    return ui.MessageBox(question, kDeleteTitle, MessageButtons::YesNoDefaultNo, MessageIcon::Question) ==
           MessageAnswer::Yes;
}

QString SelectedRowsQuestion(const TableView& view, const QString& lastLine) {
    return u"Achtung!\r\nEs sind "_s + QString::number(view.SelectedRowCount()) +
           u" Datensätze selektiert.\r\n\r\n"_s + lastLine;
}

} // namespace

void ConfirmRowsDelete(const TableView& view, Ui& ui, int row, bool& cancel) {
    const QString question = row != 0
                                 ? u"Zeile "_s + QString::number(row) + u" löschen?"_s
                                 : SelectedRowsQuestion(view, u"Alle selektierten Datenzeilen löschen?"_s);
    if (!AskDelete(ui, question)) {
        cancel = true;
    }
}

bool DeleteSelectedRows(TableView& view, Ui& ui) {
    std::vector<int> doomed = view.SelectedRows();
    // Without a selection the row under the cursor is the one meant.
    if (doomed.empty() && view.CurrentRow() > 0) {
        doomed.push_back(view.CurrentRow());
    }
    if (doomed.empty()) {
        return false;
    }
    bool cancel = false;
    ConfirmRowsDelete(view, ui, doomed.size() == 1 ? doomed.front() : 0, cancel);
    if (cancel) {
        return false;
    }
    ResultTable& table = view.Table();
    table.RemoveRows(doomed);
    view.ClearSelection();
    view.SetCurrentRow(std::min(doomed.front(), table.RowCount()));
    return true;
}

void ClearRunData(TableView& view, Ui& ui) {
    if (!AskDelete(ui, SelectedRowsQuestion(view, u"Alle selektierten Laufdaten löschen?"_s))) {
        return;
    }
    ui.SetStatusText(StatusPanel::Progress, u"Lösche Daten! Bitte warten!  "_s);
    ui.SetBusy(true);
    ui.ProcessPendingEvents();
    ResultTable& table = view.Table();
    table.LockUpdate(true);
    const int personColumns = table.ColumnNumber(kFirstRunDataKey) - 1;
    for (int row : view.SelectedRows()) {
        const RowCells person = table.Cells(row).Left(static_cast<std::size_t>(personColumns));
        if (!(person == table.Cells(row))) {
            table.StoreCells(row, person);
        }
    }
    table.LockUpdate(false);
    ui.SetStatusText(StatusPanel::Progress, u"Löschung abgeschlossen!  "_s);
    ui.SetBusy(false);
    ui.ProcessPendingEvents();
}

void AddRowFromContextMenu(TableView& view) {
    view.SetCurrentRow(view.Table().AddRow(QString()));
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

void SortByHeader(TableView& view, int column) {
    ResultTable& table = view.Table();
    const SortDirection direction =
        table.SortOrder().contains(u"DESC"_s) ? SortDirection::Ascending : SortDirection::Descending;
    table.SortBy(table.Key(column), direction);
    view.SetCurrentRow(1);
}

void SearchRow(TableView& view, int& number) {
    if (view.SearchText().isEmpty()) {
        return;
    }
    const int row = view.FindRow(view.SearchText() + u'*', number);
    if (row > 0) {
        view.SetCurrentRow(row);
        // The hit stands out: it is the one selected row.
        view.ClearSelection();
        view.SetRowSelected(row, true);
    }
}

void GuardRowAction(const TableView& view, int row, bool& cancel) {
    if (view.SelectedRowCount() != 0 && !view.RowSelected(row)) {
        cancel = true;
    }
}

} // namespace vastrel

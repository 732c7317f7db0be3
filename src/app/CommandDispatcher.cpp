#include "app/CommandDispatcher.h"

#include "app/CertificateCommand.h"
#include "app/CommandKeys.h"
#include "app/PrintReport.h"
#include "app/RowEditing.h"
#include "app/Shutdown.h"
#include "app/ToolbarDefinition.h"
#include "app/UndoStack.h"
#include "app/ViewCommands.h"
#include "app/WebHelp.h"
#include "ports/MainWindowPort.h"
#include "ports/MainWindowState.h"
#include "ports/Toolbar.h"
#include "ports/Ui.h"
#include "scoring/AgeFactors.h"
#include "scoring/Recalculation.h"
#include "system/AssociatedProgram.h"
#include "system/StartProgram.h"
#include "table/ColumnModel.h"
#include "table/ResultTable.h"

#include <QFileInfo>

#include <optional>

using namespace Qt::StringLiterals;

namespace vastrel {

CommandDispatcher::CommandDispatcher(ResultTable& table, Scorer& scorer, Ui& ui, Toolbar& toolbar,
                                     MainWindowState& state, const Places& places, MainWindowPort* window,
                                     Settings* remembered, PdfOutput* pdf, UndoStack* undo)
    : table_(table), scorer_(scorer), ui_(ui), toolbar_(toolbar), state_(state), places_(places),
      database_(table, ui, toolbar, state, places.fileDialogFolder, remembered), window_(window), pdf_(pdf),
      undo_(undo) {
    if (undo_) {
        undo_->OnChange([this] { ShowUndoItems(); });
    }
    ShowUndoItems();
}

void CommandDispatcher::ShowUndoItems() {
    const bool canUndo = undo_ && undo_->CanUndo();
    const bool canRedo = undo_ && undo_->CanRedo();
    toolbar_.SetItemCaption(QString::fromUtf16(keys::kUndo),
                            canUndo ? u"Rückgängig: "_s + undo_->UndoText() : u"Rückgängig"_s);
    toolbar_.SetItemCaption(QString::fromUtf16(keys::kRedo),
                            canRedo ? u"Wiederholen: "_s + undo_->RedoText() : u"Wiederholen"_s);
    toolbar_.SetItemEnabled(QString::fromUtf16(keys::kUndo), canUndo);
    toolbar_.SetItemEnabled(QString::fromUtf16(keys::kRedo), canRedo);
}

void CommandDispatcher::MarkCleanWhenSaved(int writesBefore) {
    if (undo_ && state_.fileWrites != writesBefore) {
        undo_->SetClean();
    }
}

void CommandDispatcher::OpenFile(const QString& path) {
    const int saved = state_.fileWrites;
    {
        UndoStep step(undo_, ItemCaption(QString::fromUtf16(keys::kOpen)));
        database_.OpenFile(path, QFileInfo(path).suffix().compare(u"fil"_s, Qt::CaseInsensitive) == 0);
    }
    MarkCleanWhenSaved(saved);
    table_.Refresh();
}

void CommandDispatcher::ShowColumn(int column, bool shown) {
    table_.SetVisible(column, shown);
}

QString CommandDispatcher::RecalculationQuestion(bool withAgeClasses) {
    return u"Achtung!\r\nEs wurden die Altersfaktoren AF verändert!   \r\n\r\n"_s +
           (withAgeClasses ? u"Komplette Neuberechnung der Punkte?   "_s
                           : u"Komplette Neuberechnung der Punkte?"_s);
}

bool CommandDispatcher::EndAfterQuestion() {
    if (EndProgram(ui_, database_, places_.reportFolder) != EndDecision::End) {
        return false;
    }
    if (window_) {
        window_->QuitProgram();
    }
    return true;
}

void CommandDispatcher::ButtonClick(const QString& buttonKey) {
    toolbar_.SetEnabled(false);
    if (buttonKey == keys::kInfo) {
        if (window_) {
            window_->ShowAbout();
        }
    } else if (buttonKey == keys::kWeb) {
        ShowWebHelp(
            ui_, places_.workFolder, [](const QString& page) { return FindWebBrowser(page); }, StartProgram);
    } else if (buttonKey == keys::kEnd && EndAfterQuestion()) {
        return; // the program has ended: the toolbar stays as it is
    }
    toolbar_.SetEnabled(true);
}

bool CommandDispatcher::CloseRequested() {
    return CloseWindow(ui_, database_, places_.reportFolder) == EndDecision::End;
}

void CommandDispatcher::RowMenuItemClick(int index) {
    UndoStep step(undo_, index == 0 ? u"Zeile löschen"_s : u"Neue Datenzeile hinzufügen"_s);
    if (index == 0) {
        table_.DeleteSelectedRows(); // the table asks first, through ConfirmRowsDelete
    } else if (index == 2) {
        AddRowFromContextMenu(table_);
    }
}

void CommandDispatcher::MenuItemClick(int buttonIndex, const QString& itemKey) {
    toolbar_.SetEnabled(false);
    const QString buttonKey = toolbar_.ButtonKey(buttonIndex);
    if (buttonKey == keys::kEdit && (itemKey == keys::kUndo || itemKey == keys::kRedo)) {
        if (undo_) {
            itemKey == keys::kUndo ? undo_->Undo() : undo_->Redo();
        }
        table_.Refresh();
        toolbar_.SetEnabled(true);
        return;
    }
    // Every command that changes the data is one step to take back; saving and views are not.
    const bool changesData = buttonKey == keys::kEdit || buttonKey == keys::kSort ||
                             (buttonKey == keys::kDatabase && itemKey == keys::kOpen);
    std::optional<UndoStep> step;
    if (changesData) {
        step.emplace(undo_, ItemCaption(itemKey));
    }
    const int saved = state_.fileWrites;
    if (buttonKey == keys::kDatabase) {
        if (itemKey == keys::kDatabaseEnd) {
            if (EndAfterQuestion()) {
                return;
            }
        } else {
            DatabaseItem(itemKey);
            step.reset(); // the open's step ends before the table counts as saved
            MarkCleanWhenSaved(saved);
        }
    } else if (buttonKey == keys::kView) {
        ShowDayView(table_, state_, ui_, itemKey);
    } else if (buttonKey == keys::kSort) {
        SortTable(table_, ui_, itemKey);
    } else if (buttonKey == keys::kPrint) {
        PrintItem(itemKey);
    } else if (buttonKey == keys::kEdit) {
        EditItem(itemKey);
    } else if (buttonKey == keys::kCertificates) {
        if (itemKey == keys::kCertificatePdf) {
            // An option, as "Kurzdruck" is: the next run writes one PDF instead of RTF files.
            state_.certificatesPdf = !state_.certificatesPdf;
            toolbar_.SetItemChecked(itemKey, state_.certificatesPdf);
        } else {
            state_.certificateVariant = itemKey;
            WriteCertificates(table_, ui_, state_,
                              CertificateTemplatePath(places_, state_.certificateTemplate),
                              places_.certificateFolder, pdf_);
        }
    }
    table_.Refresh();
    toolbar_.SetEnabled(true);
}

void CommandDispatcher::DatabaseItem(const QString& itemKey) {
    if (itemKey == keys::kOpen) {
        database_.OpenDatabase();
    } else if (itemKey == keys::kSave) {
        database_.SaveDatabase();
    } else if (itemKey == keys::kSaveAs) {
        database_.SaveDatabaseAs();
    }
}

void CommandDispatcher::EditItem(const QString& itemKey) {
    if (itemKey == keys::kAgeFactorsWith) {
        AssignAgeFactorsAndAsk(true);
    } else if (itemKey == keys::kAgeFactorsWithout) {
        AssignAgeFactorsAndAsk(false);
    } else if (itemKey == keys::kRecalculate) {
        RecalculateAll(table_, scorer_, ui_);
    } else if (itemKey == keys::kAppendRow) {
        AppendEmptyRow(table_);
    } else if (itemKey == keys::kDeleteRows) {
        table_.DeleteSelectedRows(); // the table asks first, through ConfirmRowsDelete
    } else if (itemKey == keys::kClearRunData) {
        ClearRunData(table_, ui_);
    }
}

void CommandDispatcher::PrintItem(const QString& itemKey) {
    if (itemKey == keys::kShortPrint) {
        ToggleShortPrint(toolbar_, state_);
        return;
    }
    if (itemKey == keys::kPrintAll) {
        table_.LockUpdate(true);
        for (int row = 1; row <= table_.RowCount(); ++row) {
            table_.SetRowSelected(row, true);
        }
        table_.LockUpdate(false);
    } else if (itemKey != keys::kPrintSelection) {
        return;
    }
    PrintReport(table_, ui_, state_, places_.reportFolder);
}

void CommandDispatcher::ToolbarNotice() {
    ui_.SetStatusText(StatusPanel::Progress, QString());
    ui_.ProcessPendingEvents();
}

void CommandDispatcher::AssignAgeFactorsAndAsk(bool withAgeClasses) {
    AssignAgeFactors(table_, ui_, withAgeClasses);
    const MessageAnswer answer = ui_.MessageBox(RecalculationQuestion(withAgeClasses), u"Vastrel"_s,
                                                MessageButtons::YesNo, MessageIcon::Question);
    if (answer == MessageAnswer::Yes) {
        RecalculateAll(table_, scorer_, ui_);
    }
}

} // namespace vastrel

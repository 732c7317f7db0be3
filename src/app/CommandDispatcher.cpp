#include "app/CommandDispatcher.h"

#include "app/MainWindowPort.h"
#include "app/MainWindowState.h"
#include "app/RowEditing.h"
#include "app/Shutdown.h"
#include "app/Toolbar.h"
#include "app/Ui.h"
#include "app/ViewCommands.h"
#include "app/WebHelp.h"
#include "output/Certificates.h"
#include "output/PrintReport.h"
#include "scoring/AgeFactors.h"
#include "scoring/Recalculation.h"
#include "system/AssociatedProgram.h"
#include "system/Folders.h"
#include "system/ProgramFolder.h"
#include "system/StartProgram.h"
#include "table/ColumnModel.h"
#include "table/ResultTable.h"

using namespace Qt::StringLiterals;

namespace vastrel {

CommandDispatcher::CommandDispatcher(ResultTable& table, Scorer& scorer, Ui& ui, Toolbar& toolbar,
                                     MainWindowState& state, MainWindowPort* window)
    : table_(table), scorer_(scorer), ui_(ui), toolbar_(toolbar), state_(state),
      database_(table, ui, toolbar, state), window_(window) {}

QString CommandDispatcher::RecalculationQuestion(bool withAgeClasses) {
    return u"Achtung!\r\nEs wurden die Altersfaktoren AF verändert!   \r\n\r\n"_s +
           (withAgeClasses ? u"Komplette Neuberechnung der Punkte?   "_s
                           : u"Komplette Neuberechnung der Punkte?"_s);
}

void CommandDispatcher::ButtonClick(const QString& buttonKey) {
    toolbar_.SetEnabled(false);
    if (buttonKey == u"btnInfo") {
        if (window_) {
            window_->ShowAbout();
        }
    } else if (buttonKey == u"btnHilfe") {
        ShowWebHelp(ui_, WritableProgramFolder(), FindAssociatedProgram, StartProgram);
    } else if (buttonKey == u"btnEnde") {
        if (EndProgram(ui_, database_, ReportFolder()) == EndDecision::End) {
            if (window_) {
                window_->QuitProgram();
            }
            return; // the program has ended: the toolbar stays as it is
        }
    }
    toolbar_.SetEnabled(true);
}

bool CommandDispatcher::CloseRequested() {
    return CloseWindow(ui_, database_, ReportFolder()) == EndDecision::End;
}

void CommandDispatcher::MenuItemClick(int buttonIndex, const QString& itemKey) {
    toolbar_.SetEnabled(false);
    const QString buttonKey = toolbar_.ButtonKey(buttonIndex);
    if (buttonKey == u"btnDatenbank") {
        if (itemKey == u"btnDbÖffnen") {
            database_.OpenDatabase();
        } else if (itemKey == u"btnDbSpeichern") {
            database_.SaveDatabase();
        } else if (itemKey == u"btnDbSpeichernUnter") {
            database_.SaveDatabaseAs();
        } else if (itemKey == u"btnDbEnde") {
            if (EndProgram(ui_, database_, ReportFolder()) == EndDecision::End) {
                if (window_) {
                    window_->QuitProgram();
                }
                return;
            }
        }
    } else if (buttonKey == u"btnAnzeige") {
        ShowDayView(table_, state_, ui_, itemKey);
    } else if (buttonKey == u"btnSortierung") {
        SortTable(table_, ui_, itemKey);
    } else if (buttonKey == u"btnDrucken") {
        if (itemKey == u"btnKurzdruck") {
            ToggleShortPrint(toolbar_, state_);
        } else if (itemKey == u"btnDruckenAlles") {
            table_.LockUpdate(true);
            for (int row = 1; row <= table_.RowCount(); ++row) {
                table_.SetRowSelected(row, true);
            }
            table_.LockUpdate(false);
            PrintReport(table_, ui_, state_, ReportFolder());
        } else if (itemKey == u"btnDruckenAuswahl") {
            PrintReport(table_, ui_, state_, ReportFolder());
        }
    } else if (buttonKey == u"btnBearbeitung") {
        if (itemKey == u"btnBeAfMit") {
            AssignAgeFactorsAndAsk(true);
        } else if (itemKey == u"btnBeAfOhne") {
            AssignAgeFactorsAndAsk(false);
        } else if (itemKey == u"btnBePunkte") {
            RecalculateAll(table_, scorer_, ui_);
        } else if (itemKey == u"btnBeAnf") {
            AppendEmptyRow(table_);
        } else if (itemKey == u"btnBeLö") {
            table_.DeleteSelectedRows(); // the table asks first, through ConfirmRowsDelete
        } else if (itemKey == u"btnLöscheLaufdaten") {
            ClearRunData(table_, ui_);
        }
    } else if (buttonKey == u"btnUrkundeDrucken") {
        state_.certificateVariant = itemKey;
        WriteCertificates(table_, ui_, state_, FindCertificateTemplate(state_.certificateTemplate),
                          DriveOrStandardFolder(u"d:\\"_s));
    }
    table_.Refresh();
    toolbar_.SetEnabled(true);
}

void CommandDispatcher::ToolbarNotice() {
    ui_.SetStatusText(u"3"_s, QString());
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

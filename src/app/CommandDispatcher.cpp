#include "app/CommandDispatcher.h"

#include "app/CertificateCommand.h"
#include "app/CommandKeys.h"
#include "app/HistoryCommand.h"
#include "app/PrintReport.h"
#include "app/RowEditing.h"
#include "app/Shutdown.h"
#include "app/TimesCommand.h"
#include "app/ToolbarDefinition.h"
#include "app/UndoStack.h"
#include "app/ViewCommands.h"
#include "app/WebHelp.h"
#include "formats/FileFormats.h"
#include "ports/MainWindowPort.h"
#include "ports/MainWindowState.h"
#include "ports/Settings.h"
#include "ports/Toolbar.h"
#include "ports/Ui.h"
#include "scoring/AgeFactors.h"
#include "scoring/Recalculation.h"
#include "system/AssociatedProgram.h"
#include "system/StartProgram.h"
#include "table/ColumnModel.h"
#include "table/ResultTable.h"
#include "table/TableView.h"

#include <QDir>
#include <QFileInfo>

#include <optional>

using namespace Qt::StringLiterals;

namespace vastrel {

namespace {
// Which of the last files a menu item opens; -1 for another item.
int RecentFileIndex(const QString& itemKey) {
    for (int i = 0; i < RecentFiles::kCount; ++i) {
        if (itemKey == keys::kRecentFiles[i]) {
            return i;
        }
    }
    return -1;
}
} // namespace

CommandDispatcher::CommandDispatcher(TableView& view, Scorer& scorer, Ui& ui, Toolbar& toolbar,
                                     MainWindowState& state, const Places& places, MainWindowPort* window,
                                     Settings* remembered, PdfOutput* pdf, UndoStack* undo)
    : view_(view), table_(view.Table()), scorer_(scorer), ui_(ui), toolbar_(toolbar), state_(state),
      places_(places), database_(view, ui, toolbar, state, places.fileDialogFolder, remembered),
      station_(view, ui, state, remembered, undo), window_(window), remembered_(remembered), pdf_(pdf),
      undo_(undo), live_(table_, ui, toolbar) {
    station_.Sync().KeepQueueIn(places.recoveryFolder);
    timesWatch_.OnFileReady(
        [this](const QString& path, const QByteArray& bytes) { TimesArrived(path, bytes); });
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

void CommandDispatcher::ShowChangingItems() {
    static constexpr const char16_t* kChanging[] = {
        keys::kServerCreate, keys::kAgeFactorsWithout, keys::kAgeFactorsWith,
        keys::kRecalculate,  keys::kDeleteRows,        keys::kAppendRow,
        keys::kClearRunData, keys::kReadTimes,         keys::kWatchTimes};
    for (const char16_t* key : kChanging) {
        toolbar_.SetItemEnabled(QString::fromUtf16(key), state_.readOnly.isEmpty());
        toolbar_.SetItemToolTip(QString::fromUtf16(key), state_.readOnly);
    }
}

void CommandDispatcher::MarkClean(bool saved) {
    if (undo_ && saved) {
        undo_->SetClean();
    }
}

void CommandDispatcher::OpenFile(const QString& path) {
    bool opened = false;
    {
        UndoStep step(undo_, ItemCaption(QString::fromUtf16(keys::kOpen)));
        opened = database_.OpenFile(path, FormatOfPath(path) == SaveFormat::Fil);
    }
    if (opened) {
        station_.Leave();
    }
    MarkClean(opened);
    ShowChangingItems();
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
    if (index == 4) {
        ShowRowHistory(view_, ui_, station_, undo_, places_.reportFolder);
        return;
    }
    if (!state_.readOnly.isEmpty()) { // the menu offers neither; "Entf" comes here too
        ui_.SetStatusText(StatusPanel::Status, state_.readOnly + u"  "_s);
        return;
    }
    UndoStep step(undo_, index == 0 ? u"Zeile löschen"_s : u"Neue Datenzeile hinzufügen"_s);
    if (index == 0) {
        DeleteSelectedRows(view_, ui_);
    } else if (index == 2) {
        AddRowFromContextMenu(view_);
    }
}

void CommandDispatcher::MenuItemClick(int buttonIndex, const QString& itemKey) {
    toolbar_.SetEnabled(false);
    const QString buttonKey = toolbar_.ButtonKey(buttonIndex);
    if (buttonKey == keys::kEdit && (itemKey == keys::kUndo || itemKey == keys::kRedo)) {
        if (undo_) {
            itemKey == keys::kUndo ? undo_->Undo() : undo_->Redo();
        }
        ShowChangingItems(); // undoing the open of a competition leaves it
        table_.Refresh();
        toolbar_.SetEnabled(true);
        return;
    }
    // Every command that changes the data is one step to take back; saving and views are not.
    const bool opens =
        buttonKey == keys::kDatabase &&
        (itemKey == keys::kOpen || itemKey == keys::kServerConnect || RecentFileIndex(itemKey) >= 0);
    std::optional<UndoStep> step;
    if (buttonKey == keys::kEdit || buttonKey == keys::kSort || opens) {
        step.emplace(undo_, opens ? ItemCaption(QString::fromUtf16(keys::kOpen)) : ItemCaption(itemKey));
    }
    if (buttonKey == keys::kDatabase) {
        if (itemKey == keys::kDatabaseEnd) {
            if (EndAfterQuestion()) {
                return;
            }
        } else {
            const bool saved = DatabaseItem(itemKey);
            step.reset(); // the open's step ends before the table counts as saved
            MarkClean(saved);
        }
    } else if (buttonKey == keys::kView) {
        ShowDayView(table_, state_, ui_, itemKey);
    } else if (buttonKey == keys::kSort) {
        SortTable(view_, ui_, itemKey);
    } else if (buttonKey == keys::kPrint) {
        PrintItem(itemKey);
    } else if (buttonKey == keys::kEdit) {
        EditItem(itemKey);
    } else if (buttonKey == keys::kCertificates) {
        CertificateItem(itemKey);
    }
    ShowChangingItems();
    table_.Refresh();
    toolbar_.SetEnabled(true);
}

void CommandDispatcher::CertificateItem(const QString& itemKey) {
    if (itemKey == keys::kCertificatePdf) {
        // An option, as "Kurzdruck" is: the next run writes one PDF instead of RTF files.
        state_.certificatesPdf = !state_.certificatesPdf;
        toolbar_.SetItemChecked(itemKey, state_.certificatesPdf);
        if (remembered_) {
            remembered_->SetValue(kCertificatesPdfSetting, state_.certificatesPdf ? u"1"_s : u"0"_s);
        }
        return;
    }
    state_.certificateVariant = itemKey;
    const QString last = remembered_ ? remembered_->Value(kCertificateFolderSetting) : QString();
    const QStringList written =
        WriteCertificates(view_, ui_, state_, CertificateTemplatePath(places_, state_.certificateTemplate),
                          last.isEmpty() ? places_.certificateFolder : last, pdf_);
    if (remembered_ && !written.isEmpty()) {
        remembered_->SetValue(kCertificateFolderSetting,
                              QDir::toNativeSeparators(QFileInfo(written.first()).absolutePath() + u'/'));
    }
}

bool CommandDispatcher::DatabaseItem(const QString& itemKey) {
    if (itemKey == keys::kServerConnect) {
        bool offline = false; // the server out of reach, the station's copy opened
        return station_.Connect(&offline) ? station_.OpenFromServer().value_or(false) : offline;
    }
    if (itemKey == keys::kServerCreate) {
        return station_.CreateOnServer(); // the table is on the server: saved
    }
    if (itemKey == keys::kOpen) {
        if (station_.IsConnected()) {
            if (const auto opened = station_.OpenFromServer()) {
                return *opened;
            }
        }
        const bool opened = database_.OpenDatabase();
        if (opened) {
            station_.Leave();
        }
        return opened;
    }
    if (const int recent = RecentFileIndex(itemKey); recent >= 0) {
        const bool opened = database_.OpenRecentFile(recent);
        if (opened) {
            station_.Leave();
        }
        return opened;
    }
    if (itemKey == keys::kSave) {
        return database_.SaveDatabase();
    }
    return itemKey == keys::kSaveAs && database_.SaveDatabaseAs();
}

void CommandDispatcher::EditItem(const QString& itemKey) {
    if (!state_.readOnly.isEmpty()) {
        return; // the items are disabled; their shortcuts with them
    }
    if (itemKey == keys::kAgeFactorsWith) {
        AssignAgeFactorsAndAsk(true);
    } else if (itemKey == keys::kAgeFactorsWithout) {
        AssignAgeFactorsAndAsk(false);
    } else if (itemKey == keys::kRecalculate) {
        RecalculateAll(view_, scorer_, ui_);
    } else if (itemKey == keys::kAppendRow) {
        AppendEmptyRow(table_, view_);
    } else if (itemKey == keys::kDeleteRows) {
        DeleteSelectedRows(view_, ui_);
    } else if (itemKey == keys::kClearRunData) {
        ClearRunData(view_, ui_);
    } else if (itemKey == keys::kReadTimes) {
        ReadTimesFromFile(view_, scorer_, ui_, timesFolder_);
    } else if (itemKey == keys::kWatchTimes) {
        WatchTimesFolder();
    }
}

void CommandDispatcher::WatchTimesFolder() {
    const QString item = QString::fromUtf16(keys::kWatchTimes);
    if (timesWatch_.Watching()) {
        ui_.SetStatusText(StatusPanel::Status, u"Der Ordner \"%1\" wird nicht mehr beobachtet.  "_s.arg(
                                                   QDir::toNativeSeparators(timesWatch_.Folder())));
        timesWatch_.Stop();
        toolbar_.SetItemChecked(item, false);
        return;
    }
    const auto folder = ui_.FolderBox(u"Der Ordner, in den die Zeitmessung ihre Ergebnisdateien schreibt:"_s,
                                      u"Zeitenordner beobachten"_s, timesFolder_);
    if (!folder || folder->isEmpty() || !QFileInfo(*folder).isDir()) {
        return;
    }
    timesFolder_ = *folder;
    timesWithoutQuestion_ =
        ui_.MessageBox(
            u"Neue Zeiten ohne Rückfrage eintragen, wenn die Datei ihre Strecke nennt, keine andere Zeit "
            u"ersetzt und jede Startnummer gefunden wird?"_s,
            u"Zeitenordner beobachten"_s, MessageButtons::YesNoDefaultNo,
            MessageIcon::Question) == MessageAnswer::Yes;
    timesWatch_.Watch(*folder);
    toolbar_.SetItemChecked(item, true);
    ui_.SetStatusText(StatusPanel::Status,
                      u"Der Ordner \"%1\" wird beobachtet.  "_s.arg(QDir::toNativeSeparators(*folder)));
}

void CommandDispatcher::TimesArrived(const QString& path, const QByteArray& bytes) {
    if (!state_.readOnly.isEmpty()) {
        return;
    }
    arrivedTimes_.emplace_back(path, bytes);
    if (std::exchange(enteringTimes_, true)) {
        return; // a file arriving while another one's question is open comes next, in turn
    }
    while (!arrivedTimes_.empty()) {
        const auto [file, content] = arrivedTimes_.front();
        arrivedTimes_.pop_front();
        UndoStep step(undo_, ItemCaption(QString::fromUtf16(keys::kReadTimes)));
        EnterTimes(view_, scorer_, ui_, file, content, timesWithoutQuestion_);
    }
    enteringTimes_ = false;
    table_.Refresh();
}

void CommandDispatcher::PrintItem(const QString& itemKey) {
    if (itemKey == keys::kLiveResults) {
        live_.ServeItem();
        return;
    }
    if (itemKey == keys::kLiveFiles) {
        live_.FilesItem();
        return;
    }
    if (itemKey == keys::kShortPrint) {
        ToggleShortPrint(toolbar_, state_);
        return;
    }
    if (itemKey == keys::kPrintAll) {
        table_.LockUpdate(true);
        view_.SelectRows(1, table_.RowCount());
        table_.LockUpdate(false);
    } else if (itemKey != keys::kPrintSelection) {
        return;
    }
    PrintReport(view_, ui_, state_, places_.reportFolder);
}

void CommandDispatcher::ToolbarNotice() {
    ui_.SetStatusText(StatusPanel::Progress, QString());
    ui_.ProcessPendingEvents();
}

void CommandDispatcher::AssignAgeFactorsAndAsk(bool withAgeClasses) {
    AssignAgeFactors(view_, ui_, withAgeClasses);
    const MessageAnswer answer = ui_.MessageBox(RecalculationQuestion(withAgeClasses), u"Vastrel"_s,
                                                MessageButtons::YesNo, MessageIcon::Question);
    if (answer == MessageAnswer::Yes) {
        RecalculateAll(view_, scorer_, ui_);
    }
}

} // namespace vastrel

#include "app/DatabaseCommands.h"

#include "app/CommandKeys.h"
#include "formats/FilFormat.h"
#include "formats/FileFormats.h"
#include "formats/TextImport.h"
#include "ports/MainWindowState.h"
#include "ports/Settings.h"
#include "ports/Toolbar.h"
#include "ports/Ui.h"
#include "system/FileHelpers.h"
#include "table/ResultTable.h"
#include "table/TableView.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace vastrel {

DatabaseCommands::DatabaseCommands(TableView& view, Ui& ui, Toolbar& toolbar, MainWindowState& state,
                                   const QString& dialogFolder, Settings* remembered)
    : view_(view), table_(view.Table()), ui_(ui), toolbar_(toolbar), state_(state),
      dialogFolder_(dialogFolder), remembered_(remembered), recent_(remembered) {
    ShowRecentFiles();
}

void DatabaseCommands::ShowRecentFiles() {
    const QStringList paths = recent_.Paths();
    for (int i = 0; i < RecentFiles::kCount; ++i) {
        const QString key = QString::fromUtf16(keys::kRecentFiles[i]);
        toolbar_.SetItemVisible(key, i < paths.size());
        if (i < paths.size()) {
            toolbar_.SetItemCaption(key, u"&%1 %2"_s.arg(i + 1).arg(QDir::toNativeSeparators(paths.at(i))));
        }
    }
}

bool DatabaseCommands::OpenRecentFile(int index) {
    const QStringList paths = recent_.Paths();
    if (index < 0 || index >= paths.size()) {
        ShowRecentFiles();
        return false;
    }
    const QString path = paths.at(index);
    return OpenFile(path, FormatOfPath(path) == SaveFormat::Fil);
}

namespace {
const QString kLastFolderKey = u"files/lastFolder"_s;
} // namespace

QString DatabaseCommands::DialogFolder() const {
    const QString last = remembered_ ? remembered_->Value(kLastFolderKey) : QString();
    return !last.isEmpty() && QFileInfo(last).isDir() ? last : dialogFolder_;
}

void DatabaseCommands::RememberFolder(const QString& path) {
    dialogFolder_ = QFileInfo(path).absolutePath();
    if (remembered_) {
        remembered_->SetValue(kLastFolderKey, dialogFolder_);
    }
}

void DatabaseCommands::ShowSaveCaption() {
    toolbar_.SetItemCaption(QString::fromUtf16(keys::kSave),
                            u"speichern [%1]"_s.arg(ExtensionOf(state_.saveFormat)));
}

bool DatabaseCommands::OpenDatabase() {
    const FileDialogResult chosen =
        ui_.OpenFileDialog({u"Datenbank öffnen"_s, OpenFilter(), 1, DialogFolder(), QString()});
    if (chosen.path.isEmpty()) {
        return false;
    }
    RememberFolder(chosen.path);
    return OpenFile(chosen.path, chosen.filterIndex == 2 || FormatOfPath(chosen.path) == SaveFormat::Fil);
}

bool MayReplaceTable(const ResultTable& table, Ui& ui) {
    return table.RowCount() < 2 ||
           ui.MessageBox(u"Soll die vorhandene Datenbank überschrieben werden?"_s, u"Zeverovavadiro"_s,
                         MessageButtons::YesNoDefaultNo, MessageIcon::Question) == MessageAnswer::Yes;
}

bool DatabaseCommands::OpenFile(const QString& path, bool ownFormat) {
    if (!MayReplaceTable(table_, ui_)) {
        return false;
    }
    ui_.SetStatusText(StatusPanel::File, path.trimmed() + u" geladen  "_s);
    ui_.ProcessPendingEvents();
    ImportReport report;
    const bool loaded =
        ownFormat ? LoadFil(table_, path, &report.error)
                  : ImportCsvFile(
                        table_, path, [this](const QString& t) { return ui_.TextWidthTwips(t); }, &report);
    if (!report.notice.isEmpty()) {
        ui_.MessageBox(report.notice, u"Vastrel"_s, MessageButtons::Ok, MessageIcon::Exclamation);
    }
    if (!loaded) {
        ui_.MessageBox(report.error, u"Vastrel"_s, MessageButtons::Ok, MessageIcon::Exclamation);
        ui_.SetStatusText(StatusPanel::File, QString()); // nothing was loaded after all
        return false;
    }
    // "speichern" writes back to the file that was opened, never to an earlier one.
    state_.saveFileName = path;
    state_.saveFormat = ownFormat ? SaveFormat::Fil : SaveFormat::Csv;
    state_.openedFile = path;
    view_.SetCurrentRow(1); // the cursor on the first competitor, where the window shows it
    ShowSaveCaption();
    recent_.Add(path);
    ShowRecentFiles();
    return true;
}

bool DatabaseCommands::SaveDatabase() {
    if (state_.saveFileName.isEmpty()) {
        return SaveDatabaseAs();
    }
    ShowSaveCaption();
    return WriteTable();
}

bool DatabaseCommands::SaveDatabaseAs() {
    const int preselected = state_.saveFormat == SaveFormat::None ? 1 : static_cast<int>(state_.saveFormat);
    const FileDialogResult chosen =
        ui_.SaveFileDialog({u"Datenbank speichern"_s, SaveFilter(), preselected, DialogFolder(), QString()});
    if (chosen.filterIndex >= 1 && chosen.filterIndex <= 4) {
        state_.saveFormat = static_cast<SaveFormat>(chosen.filterIndex);
        ShowSaveCaption();
    }
    state_.saveFileName =
        chosen.path.isEmpty() ? QString() : ReplaceExtension(chosen.path, ExtensionOf(state_.saveFormat));
    if (state_.saveFileName.isEmpty()) {
        return false;
    }
    RememberFolder(state_.saveFileName);
    // The dialog asked about the name it showed; a name the extension changed is asked about here.
    if (QDir::cleanPath(state_.saveFileName) != QDir::cleanPath(chosen.path) &&
        QFileInfo::exists(state_.saveFileName) &&
        ui_.MessageBox(u"Die Datei \"%1\" ist bereits vorhanden.\r\nSoll sie ersetzt werden?"_s.arg(
                           QDir::toNativeSeparators(state_.saveFileName)),
                       u"Datenbank speichern"_s, MessageButtons::YesNoDefaultNo,
                       MessageIcon::Question) != MessageAnswer::Yes) {
        state_.saveFileName.clear();
        return false;
    }
    return WriteTable();
}

bool DatabaseCommands::WriteTable() {
    QString error;
    const bool written = SaveTable(table_, state_.saveFileName, state_.saveFormat, &error);
    if (!written) {
        ui_.MessageBox(error, u"Datenbank speichern"_s, MessageButtons::Ok, MessageIcon::Exclamation);
        return false;
    }
    ui_.SetStatusText(StatusPanel::File, state_.saveFileName + u" gespeichert  "_s);
    state_.openedFile = state_.saveFileName;
    recent_.Add(state_.saveFileName);
    ShowRecentFiles();
    return true;
}

} // namespace vastrel

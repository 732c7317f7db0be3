#include "app/DatabaseCommands.h"

#include "app/CommandKeys.h"
#include "formats/ExportFile.h"
#include "formats/FilFormat.h"
#include "formats/TextImport.h"
#include "ports/MainWindowState.h"
#include "ports/Settings.h"
#include "ports/Toolbar.h"
#include "ports/Ui.h"
#include "system/FileHelpers.h"
#include "table/ResultTable.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace vastrel {

namespace {

QString ExtensionOf(SaveFormat format) {
    switch (format) {
    case SaveFormat::Fil:
        return u"fil"_s;
    case SaveFormat::Csv:
        return u"csv"_s;
    case SaveFormat::Xls:
        return u"xls"_s;
    case SaveFormat::Xlsx:
        return u"xlsx"_s;
    case SaveFormat::None:
        break;
    }
    return {};
}

} // namespace

DatabaseCommands::DatabaseCommands(ResultTable& table, Ui& ui, Toolbar& toolbar, MainWindowState& state,
                                   const QString& dialogFolder, Settings* remembered)
    : table_(table), ui_(ui), toolbar_(toolbar), state_(state), dialogFolder_(dialogFolder),
      remembered_(remembered) {}

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

QString DatabaseCommands::SaveFilter() {
    // The workbook of today's spreadsheets after the three formats organisers have always had.
    return u"fil-Datei (*.fil)|*.fil|csv-Datei (*.csv)|*.csv|Excel-Datei (*.xls)|*.xls|xlsx-Datei (*.xlsx)|*.xlsx|"_s;
}

// The own format can be opened too, after the semicolon text the organisers know.
QString DatabaseCommands::OpenFilter() {
    return u"csv-Datei (*.csv)|*.csv|fil-Datei (*.fil)|*.fil|"_s;
}

void DatabaseCommands::ShowSaveCaption() {
    toolbar_.SetItemCaption(QString::fromUtf16(keys::kSave),
                            u"speichern [%1]"_s.arg(ExtensionOf(state_.saveFormat)));
}

void DatabaseCommands::OpenDatabase() {
    const FileDialogResult chosen =
        ui_.OpenFileDialog({u"Datenbank öffnen"_s, OpenFilter(), 1, DialogFolder(), QString()});
    if (chosen.path.isEmpty()) {
        return;
    }
    RememberFolder(chosen.path);
    OpenFile(chosen.path, chosen.filterIndex == 2 ||
                              QFileInfo(chosen.path).suffix().compare(u"fil"_s, Qt::CaseInsensitive) == 0);
}

void DatabaseCommands::OpenFile(const QString& path, bool ownFormat) {
    if (table_.RowCount() >= 2 &&
        ui_.MessageBox(u"Soll die vorhandene Datenbank überschrieben werden?"_s, u"Zeverovavadiro"_s,
                       MessageButtons::YesNoDefaultNo, MessageIcon::Question) != MessageAnswer::Yes) {
        return;
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
        return;
    }
    // "speichern" writes back to the file that was opened, never to an earlier one.
    state_.saveFileName = path;
    state_.saveFormat = ownFormat ? SaveFormat::Fil : SaveFormat::Csv;
    state_.openedFile = path;
    table_.SetCurrentRow(1); // the cursor on the first competitor, where the window shows it
    ++state_.fileWrites;
    ShowSaveCaption();
}

void DatabaseCommands::SaveDatabase() {
    if (state_.saveFileName.isEmpty()) {
        SaveDatabaseAs();
        return;
    }
    ShowSaveCaption();
    WriteTable();
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
    bool written = false;
    switch (state_.saveFormat) {
    case SaveFormat::Fil:
        written = SaveFil(table_, state_.saveFileName, &error);
        break;
    case SaveFormat::Csv:
    case SaveFormat::Xls:
    case SaveFormat::Xlsx: {
        ExportRequest request;
        request.format = state_.saveFormat == SaveFormat::Csv   ? ExportFormat::Text
                         : state_.saveFormat == SaveFormat::Xls ? ExportFormat::Spreadsheet
                                                                : ExportFormat::Workbook;
        request.columnList = AllColumnsList();
        written = ExportFile(table_, state_.saveFileName, request, &error);
        break;
    }
    case SaveFormat::None:
        return false;
    }
    if (!written) {
        ui_.MessageBox(error, u"Datenbank speichern"_s, MessageButtons::Ok, MessageIcon::Exclamation);
        return false;
    }
    ui_.SetStatusText(StatusPanel::File, state_.saveFileName + u" gespeichert  "_s);
    state_.openedFile = state_.saveFileName;
    ++state_.fileWrites;
    return true;
}

} // namespace vastrel

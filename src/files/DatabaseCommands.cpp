#include "files/DatabaseCommands.h"

#include "app/MainWindowState.h"
#include "app/Toolbar.h"
#include "app/Ui.h"
#include "files/TextImport.h"
#include "system/FileHelpers.h"
#include "system/Folders.h"
#include "table/FilFormat.h"
#include "table/ResultTable.h"
#include "table/TextExport.h"

#include <QDir>
#include <QFileInfo>

#include <array>

using namespace Qt::StringLiterals;

namespace vastrel {

namespace {

const std::array<QString, 3> kExtensions = {u"fil"_s, u"csv"_s, u"xls"_s};

QString ExtensionOf(int saveFormat) {
    return saveFormat >= 1 && saveFormat <= 3 ? kExtensions[static_cast<std::size_t>(saveFormat - 1)]
                                              : QString();
}

} // namespace

DatabaseCommands::DatabaseCommands(ResultTable& table, Ui& ui, Toolbar& toolbar, MainWindowState& state)
    : table_(table), ui_(ui), toolbar_(toolbar), state_(state) {}

QString DatabaseCommands::SaveFilter() {
    return u"fil-Datei (*.fil)|*.fil|csv-Datei (*.csv)|*.csv|Excel-Datei (*.xls)|*.xls|"_s;
}

// The own format can be opened too, after the semicolon text the organisers know.
QString DatabaseCommands::OpenFilter() {
    return u"csv-Datei (*.csv)|*.csv|fil-Datei (*.fil)|*.fil|"_s;
}

void DatabaseCommands::ShowSaveCaption() {
    toolbar_.SetItemCaption(u"btnDbSpeichern"_s, u"speichern [%1]"_s.arg(ExtensionOf(state_.saveFormat)));
}

void DatabaseCommands::OpenDatabase() {
    const FileDialogResult chosen = ui_.OpenFileDialog(
        {u"Datenbank öffnen"_s, OpenFilter(), 1, DriveOrStandardFolder(u"C:\\"_s), QString()});
    if (chosen.path.isEmpty()) {
        return;
    }
    if (table_.RowCount() >= 2 &&
        ui_.MessageBox(u"Soll die vorhandene Datenbank überschrieben werden?"_s, u"Zeverovavadiro"_s,
                       MessageButtons::YesNo, MessageIcon::Question) != MessageAnswer::Yes) {
        return;
    }
    ui_.SetStatusText(u"2"_s, chosen.path.trimmed() + u" geladen  "_s);
    ui_.ProcessPendingEvents();
    const bool ownFormat = chosen.filterIndex == 2 ||
                           QFileInfo(chosen.path).suffix().compare(u"fil"_s, Qt::CaseInsensitive) == 0;
    bool loaded;
    if (ownFormat) {
        QString error;
        loaded = LoadFil(table_, chosen.path, &error);
        if (!loaded) {
            ui_.MessageBox(error, u"Vastrel"_s, MessageButtons::Ok, MessageIcon::Exclamation);
        }
    } else {
        loaded = ImportCsvFile(
            table_, chosen.path, [this](const QString& t) { return ui_.TextWidthTwips(t); }, ui_);
    }
    if (!loaded) {
        ui_.SetStatusText(u"2"_s, QString()); // nothing was loaded after all
    }
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
    const FileDialogResult chosen = ui_.SaveFileDialog({u"Datenbank speichern"_s, SaveFilter(),
                                                        state_.saveFormat >= 1 ? state_.saveFormat : 1,
                                                        DriveOrStandardFolder(u"C:\\"_s), QString()});
    if (chosen.filterIndex >= 1 && chosen.filterIndex <= 3) {
        state_.saveFormat = chosen.filterIndex;
        ShowSaveCaption();
    }
    state_.saveFileName =
        chosen.path.isEmpty() ? QString() : ReplaceExtension(chosen.path, ExtensionOf(state_.saveFormat));
    if (state_.saveFileName.isEmpty()) {
        return false;
    }
    // The dialog asked about the name it showed; a name the extension changed is asked about here.
    if (QDir::cleanPath(state_.saveFileName) != QDir::cleanPath(chosen.path) &&
        QFileInfo::exists(state_.saveFileName) &&
        ui_.MessageBox(u"Die Datei \"%1\" ist bereits vorhanden.\r\nSoll sie ersetzt werden?"_s.arg(
                           QDir::toNativeSeparators(state_.saveFileName)),
                       u"Datenbank speichern"_s, MessageButtons::YesNo,
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
    case 1:
        written = SaveFil(table_, state_.saveFileName, &error);
        break;
    case 2:
    case 3: {
        ExportRequest request;
        request.format = state_.saveFormat == 2 ? 1 : 2;
        request.columnList = AllColumnsList();
        written = ExportFile(table_, state_.saveFileName, request, &error);
        break;
    }
    default:
        return false;
    }
    if (!written) {
        ui_.MessageBox(error, u"Datenbank speichern"_s, MessageButtons::Ok, MessageIcon::Exclamation);
        return false;
    }
    ui_.SetStatusText(u"2"_s, state_.saveFileName + u" gespeichert  "_s);
    return true;
}

} // namespace vastrel

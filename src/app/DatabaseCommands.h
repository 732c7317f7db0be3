#pragma once

#include "app/RecentFiles.h"

#include <QString>

namespace vastrel {

class ResultTable;
class Settings;
class TableView;
class Toolbar;
class Ui;
struct MainWindowState;

// Before an open replaces a table of two rows or more: whether the user lets it.
bool MayReplaceTable(const ResultTable& table, Ui& ui);

// "öffnen", "speichern" and "speichern unter" of the "Datenbank" menu. Each answers whether the
// table was opened or written.
class DatabaseCommands {
public:
    // The file dialogs start in the folder last used, the first time in dialogFolder; `remembered`
    // keeps that folder for the next run.
    DatabaseCommands(TableView& view, Ui& ui, Toolbar& toolbar, MainWindowState& state,
                     const QString& dialogFolder, Settings* remembered = nullptr);

    bool OpenDatabase();
    // Opens the file as "öffnen" does after its dialog: the question before the table is
    // replaced, the file named in the status bar; the file becomes the target of "speichern".
    bool OpenFile(const QString& path, bool ownFormat);
    bool SaveDatabase();
    bool SaveDatabaseAs();
    // One of the last files opened or saved, as listed in the menu (from 0).
    bool OpenRecentFile(int index);
    // The menu's list of the last files, newest first.
    void ShowRecentFiles();

private:
    bool WriteTable();
    void ShowSaveCaption();
    QString DialogFolder() const;
    void RememberFolder(const QString& path);

    TableView& view_;
    ResultTable& table_;
    Ui& ui_;
    Toolbar& toolbar_;
    MainWindowState& state_;
    QString dialogFolder_;
    Settings* remembered_;
    RecentFiles recent_;
};

} // namespace vastrel

#pragma once

#include <QString>

namespace vastrel {

class ResultTable;
class Settings;
class Toolbar;
class Ui;
struct MainWindowState;

// "öffnen", "speichern" and "speichern unter" of the "Datenbank" menu.
class DatabaseCommands {
public:
    // The file dialogs start in the folder last used, the first time in dialogFolder; `remembered`
    // keeps that folder for the next run.
    DatabaseCommands(ResultTable& table, Ui& ui, Toolbar& toolbar, MainWindowState& state,
                     const QString& dialogFolder, Settings* remembered = nullptr);

    void OpenDatabase();
    // Opens the file as "öffnen" does after its dialog: the question before the table is
    // replaced, the file named in the status bar; the file becomes the target of "speichern".
    void OpenFile(const QString& path, bool ownFormat);
    void SaveDatabase();
    // Answers whether the table was written.
    bool SaveDatabaseAs();

    static QString SaveFilter();
    static QString OpenFilter();

private:
    bool WriteTable();
    void ShowSaveCaption();
    QString DialogFolder() const;
    void RememberFolder(const QString& path);

    ResultTable& table_;
    Ui& ui_;
    Toolbar& toolbar_;
    MainWindowState& state_;
    QString dialogFolder_;
    Settings* remembered_;
};

} // namespace vastrel

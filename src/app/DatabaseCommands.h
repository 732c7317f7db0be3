#pragma once

#include <QString>

namespace vastrel {

class ResultTable;
class Toolbar;
class Ui;
struct MainWindowState;

// "öffnen", "speichern" and "speichern unter" of the "Datenbank" menu.
class DatabaseCommands {
public:
    // The file dialogs start in dialogFolder.
    DatabaseCommands(ResultTable& table, Ui& ui, Toolbar& toolbar, MainWindowState& state,
                     const QString& dialogFolder);

    void OpenDatabase();
    void SaveDatabase();
    // Answers whether the table was written.
    bool SaveDatabaseAs();

    static QString SaveFilter();
    static QString OpenFilter();

private:
    bool WriteTable();
    void ShowSaveCaption();

    ResultTable& table_;
    Ui& ui_;
    Toolbar& toolbar_;
    MainWindowState& state_;
    QString dialogFolder_;
};

} // namespace vastrel

#pragma once

#include "app/DatabaseCommands.h"
#include "app/LiveCommands.h"
#include "app/Places.h"
#include "app/StationCommands.h"
#include "app/TimingFolderWatch.h"

#include <QByteArray>
#include <QString>

#include <deque>
#include <utility>

namespace vastrel {

class MainWindowPort;
class PdfOutput;
class UndoStack;
class Settings;
class ResultTable;
class Scorer;
class TableView;
class Toolbar;
class Ui;
struct MainWindowState;

// Runs the command behind a toolbar click. The toolbar is disabled while a command runs, so a
// second click cannot start another before the first has returned.
class CommandDispatcher {
public:
    CommandDispatcher(TableView& view, Scorer& scorer, Ui& ui, Toolbar& toolbar, MainWindowState& state,
                      const Places& places, MainWindowPort* window = nullptr, Settings* remembered = nullptr,
                      PdfOutput* pdf = nullptr, UndoStack* undo = nullptr);

    // A plain button: "Info", "Web", "Ende".
    void ButtonClick(const QString& buttonKey);
    // An item of the drop-down button at the position (from 1, separators counted).
    void MenuItemClick(int buttonIndex, const QString& itemKey);
    // A drop-down menu opens: the last result text goes.
    void ToolbarNotice();
    // The window's close button; answers whether the window may close.
    bool CloseRequested();
    // An item of the table's context menu: 0 "Zeile löschen", 2 "Neue Datenzeile hinzufügen".
    // The Delete key on the grid is item 0.
    void RowMenuItemClick(int index);
    // A file named when the program starts ("vastrel Lauf.csv"): opened as "öffnen" would.
    void OpenFile(const QString& path);
    // The header's menu: shows or hides one column, whatever the view.
    void ShowColumn(int column, bool shown);
    // "Rückgängig: …" and "Wiederholen: …" name the next step, and are off without one.
    void ShowUndoItems();
    // The items that change the competition: disabled, with the reason as their tool tip, where
    // nothing may be changed (a read-only login to the server).
    void ShowChangingItems();

    // The question after new age factors; the two items differ in the last line's blanks.
    static QString RecalculationQuestion(bool withAgeClasses);

    DatabaseCommands& Database() { return database_; }
    StationCommands& Station() { return station_; }

private:
    void AssignAgeFactorsAndAsk(bool withAgeClasses);
    bool DatabaseItem(const QString& itemKey); // whether the table was opened or saved
    void EditItem(const QString& itemKey);
    void WatchTimesFolder();
    void TimesArrived(const QString& path, const QByteArray& bytes);
    void PrintItem(const QString& itemKey);
    void CertificateItem(const QString& itemKey);
    // Ends the program when the end question says so; answers whether it ended.
    bool EndAfterQuestion();
    // A save or an open that succeeded makes the table's state the clean one.
    void MarkClean(bool saved);

    TableView& view_;
    ResultTable& table_;
    Scorer& scorer_;
    Ui& ui_;
    Toolbar& toolbar_;
    MainWindowState& state_;
    Places places_;
    DatabaseCommands database_;
    StationCommands station_;
    MainWindowPort* window_;
    Settings* remembered_;
    PdfOutput* pdf_;
    UndoStack* undo_;
    QString timesFolder_; // where "Zeiten einlesen …" read its last file
    TimingFolderWatch timesWatch_;
    LiveCommands live_;
    bool timesWithoutQuestion_ = false;
    bool enteringTimes_ = false;
    std::deque<std::pair<QString, QByteArray>> arrivedTimes_; // files from the folder, in turn
};

} // namespace vastrel

#pragma once

#include "app/CommandDispatcher.h"
#include "app/GridCommands.h"
#include "app/Places.h"
#include "app/Recovery.h"
#include "app/UndoStack.h"
#include "ports/MainWindowPort.h"
#include "ports/MainWindowState.h"
#include "print/PdfDocuments.h"
#include "scoring/Scorer.h"
#include "table/ResultTable.h"
#include "table/TableView.h"

#include <QMainWindow>
#include <QTimer>

#include <memory>
#include <optional>

namespace vastrel {

class QtToolbar;
class QtUi;
class RegionalSettings;
class ResultGrid;
class Settings;

// What the window takes from outside. Tests hand in their own: a temporary folder, a scripted
// Ui for the dialogs, another platform's number settings, settings that are forgotten.
struct WindowServices {
    Places places;
    Ui* dialogs = nullptr;                // real dialogs when none
    RegionalSettings* regional = nullptr; // this machine's when none
    Settings* remembered = nullptr;       // the user's settings file when none
    int autosaveMilliseconds = 3000;      // the quiet time after a change before it is kept
};

// The main window: toolbar, results table, status bar. It creates the widgets and hands every
// notification to the commands; it decides nothing itself.
class frmVastrel : public QMainWindow, public MainWindowPort {
    Q_OBJECT
public:
    explicit frmVastrel(const WindowServices& services, QWidget* parent = nullptr);
    ~frmVastrel() override;

    ResultTable& Table() { return table_; }
    TableView& View() { return view_; }
    UndoStack& Undo() { return undo_; }
    const MainWindowState& State() const { return state_; }
    QtToolbar& Toolbar() const { return *toolbar_; }
    ResultGrid& Grid() const { return *grid_; }
    QtUi& WindowUi() { return *ui_; }

    void ShowAbout() override;
    void QuitProgram() override;
    void PopUpRowMenu(const QString& changesRefused) override;

    // A file named on the command line, opened once the window stands.
    void OpenAtStart(const QString& path);
    // Offers the unsaved changes a crash left: "Ja" loads them (marked as not saved), "Nein"
    // keeps them aside.
    void OfferRecovery();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void LoadWindow(RegionalSettings* regional);
    void ResizeWindow();
    // The file's name and a mark for changes not yet saved, before the program's title.
    void ShowFileInTitle();
    void ScheduleAutosave();
    void Autosave();
    void EndRecovery(); // a normal end: the recovery file goes

    ResultTable table_;
    TableView view_{table_};
    MainWindowState state_;
    UndoStack undo_{view_, state_};
    QtToolbar* toolbar_ = nullptr;
    ResultGrid* grid_ = nullptr;
    std::unique_ptr<QtUi> ui_;
    std::unique_ptr<Settings> ownSettings_;
    QtPdfOutput pdf_;
    Recovery recovery_;
    QTimer autosave_;
    class QThread* writing_ = nullptr; // the autosave on its way to the disk
    bool autosaveFailed_ = false;      // the last autosave, said in the status bar
    Settings* remembered_ = nullptr;
    std::unique_ptr<Scorer> scorer_;
    std::unique_ptr<CommandDispatcher> commands_;
    std::unique_ptr<GridCommands> gridCommands_;
    class RowMenu* rowMenu_ = nullptr;
    std::optional<QPoint> rowMenuAnchor_; // where the menu key asked for it; else the pointer
    bool ending_ = false;                 // the end command decided: close without asking again
};

} // namespace vastrel

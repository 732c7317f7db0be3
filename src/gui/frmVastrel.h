#pragma once

#include "app/CommandDispatcher.h"
#include "app/Places.h"
#include "ports/MainWindowPort.h"
#include "ports/MainWindowState.h"
#include "scoring/Scorer.h"
#include "table/ResultTable.h"

#include <QMainWindow>

#include <memory>
#include <optional>

namespace vastrel {

class QtToolbar;
class QtUi;
class RegionalSettings;
class ResultGrid;

// The main window: toolbar, results table, status bar. It creates the widgets and hands every
// notification to the commands; it decides nothing itself.
class frmVastrel : public QMainWindow, public MainWindowPort {
    Q_OBJECT
public:
    // The commands read and write in `places`. Tests answer the dialogs through `dialogs` and
    // pose as another platform through `settings`.
    explicit frmVastrel(const Places& places, Ui* dialogs = nullptr, RegionalSettings* settings = nullptr,
                        QWidget* parent = nullptr);
    ~frmVastrel() override;

    ResultTable& Table() { return table_; }
    const MainWindowState& State() const { return state_; }
    QtToolbar& Toolbar() const { return *toolbar_; }
    ResultGrid& Grid() const { return *grid_; }
    QtUi& WindowUi() { return *ui_; }

    void ShowAbout() override;
    void QuitProgram() override;
    void PopUpRowMenu() override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void LoadWindow(RegionalSettings* settings);
    void ResizeWindow();
    int TwipsToPixels(int twips) const;
    int PixelsToTwips(int pixels) const;

    ResultTable table_;
    MainWindowState state_;
    QtToolbar* toolbar_ = nullptr;
    ResultGrid* grid_ = nullptr;
    std::unique_ptr<QtUi> ui_;
    std::unique_ptr<Scorer> scorer_;
    std::unique_ptr<CommandDispatcher> commands_;
    class RowMenu* rowMenu_ = nullptr;
    std::optional<QPoint> rowMenuAnchor_; // where the menu key asked for it; else the pointer
    bool ending_ = false;                 // the end command decided: close without asking again
};

} // namespace vastrel

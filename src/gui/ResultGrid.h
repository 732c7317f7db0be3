#pragma once

#include "gui/GridView.h"

#include <QWidget>

#include <utility>

class QKeyEvent;
class QLabel;
class QLineEdit;
class QTableView;

namespace vastrel {

class FrozenNameColumn;
class ResultTable;
class ResultTableModel;
class TableView;

// The results table on screen: the title line, the search row with its fixed cell, and the
// grid with running row numbers. Raises what the user does as signals for the commands, and
// keeps the view's cursor and selection in step with the grid's.
class ResultGrid : public QWidget {
    Q_OBJECT
public:
    ResultGrid(ResultTable& table, TableView& tableView, QWidget* parent = nullptr);

    QTableView* View() const { return view_; }
    // Paints the visible cells again: what they show beside their texts changed.
    void RepaintCells();
    ResultTableModel* Model() const { return model_; }

    // Brings the cursor's row into view together with the name column, also where the column
    // last worked in is hidden: after a sort, a search, a view, an open.
    void RevealCurrentRow();
    QLabel* TitleLine() const { return titleLine_; }
    QLineEdit* SearchField() const { return searchField_; }

Q_SIGNALS:
    void CaptionClicked();                                        // the title line
    void HeaderClicked(int column);                               // from 1
    void SearchRequested(const QString& text);                    // Return in the search row
    void CellMouseUp(int button, int row);                        // 1 left, 2 right, 4 other; row from 1
    void DeleteKeyPressed();                                      // Delete on the grid, outside an editor
    void CellsClearRequested(int row, const QList<int>& columns); // Delete on cells of one row
    void MenuKeyPressed(const QPoint& globalPos);                 // the context menu key
    void ColumnShownChosen(int column, bool shown);               // from the header's menu, column from 1
    void AppendRowRequested();                                    // the arrow down on the last row
    void LockedCellTyped(int column); // a key typed into points, a sum, the total, or a read-only table
    void PasteRequested(int row, int column);               // Ctrl+V at the cursor's cell, from 1
    void CopyRequested(int row, const QList<int>& columns); // Ctrl+C; no columns: the selected rows

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ApplyColumnLayout();
    void ShowColumnMenu(const QPoint& position);
    int NameColumnWidth();
    void ShowTableState();
    void CopySelectionToTable();
    // Return and Tab as in a spreadsheet: down a row, or across to the next cell a user types
    // into (points, sums and the total skipped), on to the next row at the end of one.
    void MoveCursor(int rowStep, int columnStep);
    bool KeyOnGrid(const QKeyEvent& key); // whether it was taken
    // The row and columns (from 1) of the cells chosen inside a row, left to right.
    std::pair<int, QList<int>> ChosenCells() const;

    ResultTable& table_;
    TableView& tableView_;
    ResultTableModel* model_;
    QLabel* titleLine_;
    QLabel* searchCaption_;
    QLineEdit* searchField_;
    GridView* view_;
    FrozenNameColumn* frozenName_;
    bool syncing_ = false;
    // The widest name, measured once per table shape rather than at every edit.
    int nameWidth_ = 0;
    int measuredRows_ = -1;
    int measuredLayout_ = -1;
};

} // namespace vastrel

#pragma once

#include "table/ResultTableObserver.h"

#include <QString>

#include <vector>

namespace vastrel {

class ResultTable;

// What the window shows of the table and where the user is in it: the selected rows (by id, so
// they stay selected through a sort), the cursor's row and the search text. None of it belongs to
// the competition: no change, no undo step and no file holds it. Rows count from 1; the cursor is
// a row number, never past the last row.
class TableView : private ResultTableObserver {
public:
    explicit TableView(ResultTable& table);
    ~TableView() override;
    TableView(const TableView&) = delete;
    TableView& operator=(const TableView&) = delete;

    ResultTable& Table() const { return table_; }

    int SelectedRowCount() const { return selectedCount_; }
    bool RowSelected(int row) const;
    void SetRowSelected(int row, bool selected);
    void SelectRows(int first, int last); // first to last, told once
    void ClearSelection();
    std::vector<int> SelectedRows() const; // ascending

    int CurrentRow() const;
    void SetCurrentRow(int row); // kept inside the table; 0 for a table without rows

    QString SearchText() const { return searchText_; }
    void SetSearchText(const QString& text);
    // The next row after the cursor's, wrapping round, whose cell matches the pattern ("*" any
    // text, "?" one character, case ignored). `column` names the column searched, 0 for every
    // visible one; on a hit it is set to the matching column. 0 when no row matches.
    int FindRow(const QString& pattern, int& column) const;

    // Told ViewChanged, unless the table is locked.
    void AddObserver(ResultTableObserver* observer);
    void RemoveObserver(ResultTableObserver* observer);

private:
    // Rows gone: so is their selection.
    void ChangeMade(const Change& change) override;
    std::vector<bool>::reference Selected(int row);
    void Tell();

    ResultTable& table_;
    std::vector<bool> selected_; // by row id
    int selectedCount_ = 0;
    int currentRow_ = 0;
    QString searchText_;
    std::vector<ResultTableObserver*> observers_;
};

} // namespace vastrel

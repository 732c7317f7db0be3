#pragma once

#include <QString>

#include <functional>

namespace vastrel {

// Notifications of the results table, answered by the commands. The table raises the first
// three itself; the view raises the others through the table's Events().
struct ResultTableEvents {
    // Before a typed text is stored; the handler may rewrite the text.
    std::function<void(int column, QString& text)> validateCellEdit;
    // After a typed text has been stored.
    std::function<void(int row, int column, const QString& text)> afterCellEdit;
    // Before rows are deleted: the row, or 0 when several go; set cancel to keep them.
    std::function<void(int row, bool& cancel)> beforeRowsDelete;

    std::function<void()> captionClick;
    std::function<void(int button, int row, int column)> cellMouseUp;
    std::function<void(int column)> headerClick;
    std::function<void(int& number)> searchRequest;
    std::function<void(int row, bool& cancel)> beforeRowAction;
};

} // namespace vastrel

#pragma once

namespace vastrel {

// What the view adapter is told. While LockUpdate(true) is in force nothing is sent;
// unlocking or Refresh sends one TableReset.
class ResultTableObserver {
public:
    virtual ~ResultTableObserver() = default;
    virtual void TableReset() = 0;                     // anything may have changed
    virtual void CellChanged(int row, int column) = 0; // one cell's text or flag
    virtual void ColumnChanged(int column) = 0;        // caption, visibility, width
    virtual void StateChanged() = 0;                   // title line, cursor, selection, search
};

} // namespace vastrel

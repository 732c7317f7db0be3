#pragma once

namespace vastrel {

class Change;

// What the table and the window's view of it tell those who follow them, in the order they were
// added. The data's changes are told whatever the lock; a view that paints follows LockUpdate
// itself: nothing is painted between LockUpdate(true) and Refreshed.
class ResultTableObserver {
public:
    virtual ~ResultTableObserver() = default;
    virtual void ChangeMade(const Change& change) = 0; // one change, complete
    virtual void ColumnChanged(int /*column*/) {}      // caption, visibility, width
    virtual void Refreshed() {}                        // unlocked or refreshed: show everything anew
    virtual void ViewChanged() {}                      // the cursor, the selection, the search text
};

} // namespace vastrel

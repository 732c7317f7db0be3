#pragma once

#include "app/RowHistory.h"
#include "table/Change.h"

#include <QDateTime>
#include <QString>

#include <deque>
#include <functional>
#include <vector>

namespace vastrel {

class ResultTable;
class TableView;
struct MainWindowState;

// Undo and redo of every change to the competition, one step per command or typed cell: the
// command's change and where the window stood before and after it (the event's name, the
// cursor). The last 100 steps are kept, fewer where they would hold more than the memory limit
// together (a step at a million rows holds hundreds of megabytes), but always the newest. The
// clean mark is where the table was last saved or opened.
class UndoStack {
public:
    static constexpr std::size_t kMaxSteps = 100;
    static constexpr std::size_t kMemoryLimit = std::size_t{512} << 20;
    UndoStack(TableView& view, MainWindowState& state, std::size_t memoryLimit = kMemoryLimit);
    UndoStack(const UndoStack&) = delete;
    UndoStack& operator=(const UndoStack&) = delete;

    bool CanUndo() const { return index_ > 0; }
    bool CanRedo() const { return index_ < steps_.size(); }
    QString UndoText() const { return CanUndo() ? steps_[index_ - 1].name : QString(); }
    QString RedoText() const { return CanRedo() ? steps_[index_].name : QString(); }
    void Undo();
    void Redo();
    std::size_t Count() const { return steps_.size(); }
    // True while an undone or redone step is applied: its change puts back texts, nobody typed it.
    bool Applying() const { return applying_; }

    bool IsClean() const { return clean_ == static_cast<long long>(index_); }
    void SetClean();

    // Told after every step kept, undone or done again, and when the table becomes clean: the
    // menu's captions, the window's mark, the autosave.
    void OnChange(std::function<void()> listener) { listeners_.push_back(std::move(listener)); }

    // The changes of one row the steps done hold, the newest first, back to the last open; each
    // under the name of its command, at the time it was done. "Verlauf …" of a file's row.
    std::vector<HistoryLine> HistoryOf(RowId id) const;

    // A step: what the table changes from the outermost Begin to its End, under one name.
    void Begin(const QString& name);
    void End();

private:
    struct Step {
        QString name;
        Change change;
        QString baseCaptionBefore, baseCaptionAfter;
        int currentBefore = 0, currentAfter = 0;
        std::size_t bytes = 0; // the change's, when kept
        QDateTime done;
    };
    void Push(Step step);
    void Changed() const;

    ResultTable& table_;
    TableView& view_;
    MainWindowState& state_;
    const std::size_t memoryLimit_;
    std::deque<Step> steps_;
    std::size_t bytes_ = 0; // of all steps
    std::size_t index_ = 0; // steps before it are done
    long long clean_ = 0;   // -1 when the clean state has been dropped
    int depth_ = 0;         // steps begun inside the one being made
    bool applying_ = false;
    Step open_;
    std::vector<std::function<void()>> listeners_;
};

// One step of the stack, from here to the end of the scope; nothing without a stack.
class UndoStep {
public:
    UndoStep(UndoStack* stack, const QString& name) : stack_(stack) {
        if (stack_) {
            stack_->Begin(name);
        }
    }
    ~UndoStep() {
        if (stack_) {
            stack_->End();
        }
    }
    UndoStep(const UndoStep&) = delete;
    UndoStep& operator=(const UndoStep&) = delete;

private:
    UndoStack* stack_;
};

} // namespace vastrel

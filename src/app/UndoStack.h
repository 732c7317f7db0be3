#pragma once

#include "table/TableJournal.h"

#include <QString>

#include <deque>
#include <functional>
#include <thread>
#include <vector>

namespace vastrel {

class ResultTable;
struct MainWindowState;

// Undo and redo of every change to the table's data, one step per command or typed cell. A step
// keeps only what it changed; the stack keeps the last 100, fewer where they would hold more
// than the memory limit together (a step at a million rows holds hundreds of megabytes), but
// always the newest. The clean mark is where the table was last saved or opened.
class UndoStack {
public:
    static constexpr std::size_t kMaxSteps = 100;
    static constexpr std::size_t kMemoryLimit = std::size_t{512} << 20;
    // Steps dropped that hold at least this much are freed on a thread of their own: freeing a
    // million rows took a tenth of a second, which the command that dropped them waited for.
    static constexpr std::size_t kFreedAsideFrom = std::size_t{4} << 20;

    UndoStack(ResultTable& table, MainWindowState& state, std::size_t memoryLimit = kMemoryLimit,
              std::size_t freedAsideFrom = kFreedAsideFrom)
        : table_(table), state_(state), memoryLimit_(memoryLimit), freedAsideFrom_(freedAsideFrom) {}
    ~UndoStack();
    UndoStack(const UndoStack&) = delete;
    UndoStack& operator=(const UndoStack&) = delete;

    bool CanUndo() const { return index_ > 0; }
    bool CanRedo() const { return index_ < steps_.size(); }
    QString UndoText() const { return CanUndo() ? steps_[index_ - 1].name : QString(); }
    QString RedoText() const { return CanRedo() ? steps_[index_].name : QString(); }
    void Undo();
    void Redo();

    bool IsClean() const { return clean_ == static_cast<long long>(index_); }
    void SetClean() { clean_ = static_cast<long long>(index_); }
    std::size_t Count() const { return steps_.size(); }

    // Told after every push, undo and redo: the menu's captions, the window's mark, the autosave.
    void OnChange(std::function<void()> listener) { listeners_.push_back(std::move(listener)); }

private:
    friend class UndoStep;
    struct Step {
        QString name;
        TableJournal journal;
        QString baseCaptionBefore, baseCaptionAfter;
        QString captionBefore, captionAfter;
        int currentBefore = 0, currentAfter = 0;
        std::size_t bytes = 0; // the journal's, when pushed
    };
    void Push(Step step);
    void Free(std::vector<Step> dropped);
    void Changed() const {
        for (const auto& listener : listeners_) {
            listener();
        }
    }

    ResultTable& table_;
    MainWindowState& state_;
    const std::size_t memoryLimit_;
    const std::size_t freedAsideFrom_;
    std::thread freeing_; // frees dropped steps; joined before the next one and at the end
    std::deque<Step> steps_;
    std::size_t bytes_ = 0; // of all steps
    std::size_t index_ = 0; // steps before it are done
    long long clean_ = 0;   // -1 when the clean state has been dropped
    std::vector<std::function<void()>> listeners_;
};

// Records what happens to the table while it lives and pushes it as one step named `name`
// ("Zeile(n) löschen", "1500m in Zeile 3"). A step that changed nothing is not kept; one inside
// another belongs to the outer.
class UndoStep {
public:
    UndoStep(UndoStack* stack, QString name);
    ~UndoStep();
    // The name once it is known (a typed cell's row is known only after the edit).
    void Rename(QString name) { step_.name = std::move(name); }
    UndoStep(const UndoStep&) = delete;
    UndoStep& operator=(const UndoStep&) = delete;

private:
    UndoStack* stack_;
    UndoStack::Step step_;
    bool outermost_ = false;
};

} // namespace vastrel

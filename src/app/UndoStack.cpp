#include "app/UndoStack.h"

#include "ports/MainWindowState.h"
#include "table/ResultTable.h"

namespace vastrel {

namespace {
UndoStep* g_recording = nullptr; // the outermost step being recorded
} // namespace

UndoStack::~UndoStack() {
    if (freeing_.joinable()) {
        freeing_.join();
    }
}

void UndoStack::Push(Step step) {
    std::vector<Step> dropped;
    while (steps_.size() > index_) {
        bytes_ -= steps_.back().bytes;
        dropped.push_back(std::move(steps_.back()));
        steps_.pop_back();
    }
    if (clean_ > static_cast<long long>(index_)) {
        clean_ = -1; // the saved state was undone and is now out of reach
    }
    step.bytes = step.journal.Bytes();
    bytes_ += step.bytes;
    steps_.push_back(std::move(step));
    ++index_;
    while (steps_.size() > kMaxSteps || (bytes_ > memoryLimit_ && steps_.size() > 1)) {
        bytes_ -= steps_.front().bytes;
        dropped.push_back(std::move(steps_.front()));
        steps_.pop_front();
        --index_;
        clean_ = clean_ > 0 ? clean_ - 1 : -1;
    }
    Changed();
    Free(std::move(dropped));
}

void UndoStack::Free(std::vector<Step> dropped) {
    std::size_t bytes = 0;
    for (const Step& step : dropped) {
        bytes += step.bytes;
    }
    if (dropped.empty() || bytes < freedAsideFrom_) {
        return; // freed here
    }
    // The steps are nobody else's: their rows and texts left the table when they were kept.
    if (freeing_.joinable()) {
        freeing_.join();
    }
    freeing_ = std::thread([steps = std::move(dropped)]() mutable { steps.clear(); });
}

void UndoStack::Undo() {
    if (!CanUndo()) {
        return;
    }
    Step& step = steps_[--index_];
    step.journal.Undo(table_);
    state_.baseCaption = step.baseCaptionBefore;
    table_.SetCaption(step.captionBefore);
    table_.SetCurrentRow(step.currentBefore);
    Changed();
}

void UndoStack::Redo() {
    if (!CanRedo()) {
        return;
    }
    Step& step = steps_[index_++];
    step.journal.Redo(table_);
    state_.baseCaption = step.baseCaptionAfter;
    table_.SetCaption(step.captionAfter);
    table_.SetCurrentRow(step.currentAfter);
    Changed();
}

UndoStep::UndoStep(UndoStack* stack, QString name) : stack_(stack) {
    if (!stack_ || g_recording) {
        return; // no undo here, or part of a step already being recorded
    }
    outermost_ = true;
    g_recording = this;
    step_.name = std::move(name);
    step_.baseCaptionBefore = stack_->state_.baseCaption;
    step_.captionBefore = stack_->table_.Caption();
    step_.currentBefore = stack_->table_.CurrentRow();
    stack_->table_.RecordInto(&step_.journal);
}

UndoStep::~UndoStep() {
    if (!outermost_) {
        return;
    }
    g_recording = nullptr;
    ResultTable& table = stack_->table_;
    table.RecordInto(nullptr);
    step_.baseCaptionAfter = stack_->state_.baseCaption;
    step_.captionAfter = table.Caption();
    step_.currentAfter = table.CurrentRow();
    if (!step_.journal.IsEmpty() || step_.baseCaptionAfter != step_.baseCaptionBefore) {
        stack_->Push(std::move(step_));
    }
}

} // namespace vastrel

#include "app/UndoStack.h"

#include "ports/MainWindowState.h"
#include "table/ResultTable.h"
#include "table/TableView.h"

namespace vastrel {

UndoStack::UndoStack(TableView& view, MainWindowState& state, std::size_t memoryLimit)
    : table_(view.Table()), view_(view), state_(state), memoryLimit_(memoryLimit) {}

void UndoStack::Begin(const QString& name) {
    if (depth_++ > 0) {
        return; // part of the step being made
    }
    table_.BeginChange();
    open_ = Step{name, {}, state_.baseCaption, {}, view_.CurrentRow(), 0, 0, {}};
}

void UndoStack::End() {
    if (depth_ == 0 || --depth_ > 0) {
        return;
    }
    Step step = std::exchange(open_, Step());
    step.change = table_.EndChange();
    step.baseCaptionAfter = state_.baseCaption;
    step.currentAfter = view_.CurrentRow();
    if (!step.change.IsEmpty() || step.baseCaptionAfter != step.baseCaptionBefore) {
        Push(std::move(step));
    }
}

void UndoStack::Push(Step step) {
    while (steps_.size() > index_) {
        bytes_ -= steps_.back().bytes;
        steps_.pop_back();
    }
    if (clean_ > static_cast<long long>(index_)) {
        clean_ = -1; // the saved state was undone and is now out of reach
    }
    step.change.LeaveToTable(table_);
    step.bytes = step.change.Bytes();
    step.done = QDateTime::currentDateTime();
    bytes_ += step.bytes;
    steps_.push_back(std::move(step));
    ++index_;
    while (steps_.size() > kMaxSteps || (bytes_ > memoryLimit_ && steps_.size() > 1)) {
        bytes_ -= steps_.front().bytes;
        steps_.pop_front();
        --index_;
        clean_ = clean_ > 0 ? clean_ - 1 : -1;
    }
    Changed();
}

void UndoStack::Undo() {
    if (!CanUndo()) {
        return;
    }
    Step& step = steps_[--index_];
    step.change.TakeFromTable(table_);
    step.change.Invert();
    applying_ = true;
    table_.Apply(step.change);
    applying_ = false;
    step.change.LeaveToTable(table_);
    if (step.baseCaptionBefore != step.baseCaptionAfter) {
        state_.baseCaption = step.baseCaptionBefore; // another station may have named it since
    }
    view_.SetCurrentRow(step.currentBefore);
    Changed();
}

void UndoStack::Redo() {
    if (!CanRedo()) {
        return;
    }
    Step& step = steps_[index_++];
    step.change.TakeFromTable(table_);
    step.change.Invert();
    applying_ = true;
    table_.Apply(step.change);
    applying_ = false;
    step.change.LeaveToTable(table_);
    if (step.baseCaptionBefore != step.baseCaptionAfter) {
        state_.baseCaption = step.baseCaptionAfter;
    }
    view_.SetCurrentRow(step.currentAfter);
    Changed();
}

void UndoStack::SetClean() {
    clean_ = static_cast<long long>(index_);
    Changed();
}

void UndoStack::Changed() const {
    for (const auto& listener : listeners_) {
        listener();
    }
}

} // namespace vastrel

#include "scoring/ScoresAhead.h"

#include "ports/SilentUi.h"
#include "scoring/RowDraft.h"
#include "scoring/Scorer.h"
#include "table/ResultTable.h"

namespace vastrel {

namespace {

// How far scoring may run ahead of the caller, in blocks: bounds the memory of scored copies.
constexpr int kBlocksAhead = 32;

// Answers like the silent Ui and remembers that a message was asked for.
class NoticingUi : public SilentUi {
public:
    MessageAnswer MessageBox(const QString& text, const QString& title, MessageButtons buttons,
                             MessageIcon icon) override {
        asked = true;
        return SilentUi::MessageBox(text, title, buttons, icon);
    }
    bool asked = false;
};

} // namespace

// One thread's own Scorer, on a table of the same columns, scoring rows as drafts.
class ScoresAhead::Worker {
public:
    Worker(const ResultTable& table, const PointsCoefficients& coefficients)
        : table_(table), columnCount_(static_cast<std::size_t>(table.ColumnCount())) {
        for (int c = 1; c <= table.ColumnCount(); ++c) {
            columns_.AddColumn(table.ColumnAt(c));
        }
        scorer_.Coefficients() = coefficients;
    }

    // Scores the row into the block: its outcome and, when it changed, the image of its new cells.
    void Score(int row, Block& block) {
        const RowCells& original = table_.Cells(row);
        Outcome outcome = Outcome::ScoreOnTable;
        if (!original.IsEmpty()) { // an empty row the caller passes over
            draft_.Begin(original, columnCount_);
            ui_.asked = false;
            if (scorer_.ScoreDraft(draft_) && !ui_.asked) {
                outcome = draft_.Changed() ? Outcome::Changed : Outcome::Unchanged;
            }
        }
        block.outcomes.push_back(outcome);
        if (outcome == Outcome::Changed) {
            block.imageStarts.push_back(static_cast<std::uint32_t>(block.images.size()));
            draft_.AppendImage(block.images);
        }
    }

private:
    const ResultTable& table_;
    const std::size_t columnCount_;
    ResultTable columns_;
    NoticingUi ui_;
    Scorer scorer_{columns_, ui_};
    RowDraft draft_;
};

ScoresAhead::ScoresAhead(const ResultTable& table, const PointsCoefficients& coefficients)
    : table_(table), coefficients_(coefficients) {
    const int blockCount = (table.RowCount() + kBlockRows - 1) / kBlockRows;
    blocks_.reserve(static_cast<std::size_t>(blockCount));
    for (int b = 0; b < blockCount; ++b) {
        blocks_.push_back(std::make_unique<Block>());
    }
    callerWorker_ = std::make_unique<Worker>(table_, coefficients_);
    helper_ = std::thread([this] { HelperLoop(); });
}

ScoresAhead::~ScoresAhead() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    changed_.notify_all();
    helper_.join();
}

void ScoresAhead::HelperLoop() {
    Worker worker(table_, coefficients_);
    while (!stop_) {
        if (!ScoreNextBlock(worker)) {
            std::unique_lock lock(mutex_);
            if (nextBlock_ >= static_cast<int>(blocks_.size())) {
                return; // every block is taken
            }
            changed_.wait(lock, [this] { return stop_ || nextBlock_ <= handedBlock_ + kBlocksAhead; });
        }
    }
}

bool ScoresAhead::ScoreNextBlock(Worker& worker) {
    int b = nextBlock_.load();
    do {
        if (b >= static_cast<int>(blocks_.size()) || b > handedBlock_ + kBlocksAhead) {
            return false;
        }
    } while (!nextBlock_.compare_exchange_weak(b, b + 1));
    Block& block = *blocks_[static_cast<std::size_t>(b)];
    block.state = 1;
    const int first = b * kBlockRows + 1;
    const int last = std::min(first + kBlockRows - 1, table_.RowCount());
    block.outcomes.reserve(static_cast<std::size_t>(last - first + 1));
    for (int row = first; row <= last && !stop_; ++row) {
        worker.Score(row, block);
    }
    {
        std::lock_guard lock(mutex_);
        block.state = 2;
    }
    changed_.notify_all();
    return true;
}

ScoresAhead::Outcome ScoresAhead::Scored(int row, RowCells& cells) {
    const int b = (row - 1) / kBlockRows;
    if (b != handedBlock_) {
        // Blocks handed over are no longer needed; one of empty rows only, which nobody waited
        // for, may still be scored and stays until the end.
        for (int done = handedBlock_; done < b; ++done) {
            Block& handed = *blocks_[static_cast<std::size_t>(done)];
            if (handed.state == 2) {
                handed.FreeRows();
            }
        }
        {
            std::lock_guard lock(mutex_);
            handedBlock_ = b;
        }
        changed_.notify_all();
    }
    Block& block = *blocks_[static_cast<std::size_t>(b)];
    // Rather than wait, the caller scores blocks itself, its own first.
    while (block.state != 2 && ScoreNextBlock(*callerWorker_)) {
    }
    if (block.state != 2) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&block] { return block.state == 2; });
    }
    const auto index = static_cast<std::size_t>((row - 1) % kBlockRows);
    const Outcome outcome = block.outcomes[index];
    if (outcome == Outcome::Changed) {
        // Changed rows come in order: the block's next one is this row's.
        cells = RowCells::FromImage(block.images.data() + block.imageStarts[block.handedChanged++]);
    }
    return outcome;
}

} // namespace vastrel

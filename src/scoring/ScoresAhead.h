#pragma once

#include "scoring/PointsCoefficients.h"
#include "table/RowCells.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace vastrel {

class ResultTable;

// Scores the rows of a full recalculation ahead of it, on a second thread and on the caller's
// whenever it would otherwise wait: each row is scored alone, as a draft, by the same Scorer. A
// row whose scoring would show a message is left to the caller, who scores it on the table as
// always, so messages, the stop at an unreadable time and the undo step stay as they were.
//
// The table must not change shape while this lives; the caller writes only rows it has been
// handed (a row is read here only before it is handed over).
class ScoresAhead {
public:
    ScoresAhead(const ResultTable& table, const PointsCoefficients& coefficients);
    ~ScoresAhead();
    ScoresAhead(const ScoresAhead&) = delete;
    ScoresAhead& operator=(const ScoresAhead&) = delete;

    // What scoring makes of a row: nothing to do, new cells, or a row the caller must score on
    // the table (it would show a message).
    enum class Outcome : unsigned char { Unchanged, Changed, ScoreOnTable };
    // Rows are asked for in order, from 1. A changed row's new cells are made into `cells` here,
    // on the caller's thread: they then take the room the rows they replace leave behind.
    Outcome Scored(int row, RowCells& cells);

    static constexpr int kBlockRows = 512;

private:
    struct Block {
        std::atomic<int> state{0}; // 0 waiting, 1 being scored, 2 done
        std::vector<Outcome> outcomes;
        std::vector<std::uint32_t> imageStarts; // of each changed row, in `images`
        std::vector<char> images;               // the changed rows' blocks
        std::size_t handedChanged = 0;          // changed rows the caller has had
        void FreeRows() { // their memory too, which clearing (or assigning {}) would keep
            outcomes = std::vector<Outcome>();
            imageStarts = std::vector<std::uint32_t>();
            images = std::vector<char>();
        }
    };
    class Worker;

    void HelperLoop();
    bool ScoreNextBlock(Worker& worker); // false when none is left to take within reach

    const ResultTable& table_;
    const PointsCoefficients coefficients_;
    std::vector<std::unique_ptr<Block>> blocks_;
    std::atomic<int> nextBlock_{0};   // the next block nobody has taken
    std::atomic<int> handedBlock_{0}; // the block the caller is at; scoring keeps near it
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::condition_variable changed_;
    std::unique_ptr<Worker> callerWorker_;
    std::thread helper_;
};

} // namespace vastrel

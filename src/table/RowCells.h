#pragma once

#include <QStringView>

#include <atomic>

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace vastrel {

// The texts of one row's cells in one block: where each cell's text ends, then the texts one
// after the other in UTF-16. Copies of a row share the block (the change records of undo, the
// autosave's copy, a second thread); a shared block is never changed: writing a cell then makes
// a new one. Cells after the last one stored read as empty; an empty row holds no block.
class RowCells {
public:
    RowCells() = default;
    // The fields in order; empty ones at the end are not stored.
    explicit RowCells(std::span<const QStringView> fields);
    explicit RowCells(const std::vector<QStringView>& fields) : RowCells(std::span(fields)) {}
    ~RowCells() { Release(); }
    RowCells(const RowCells& other) noexcept;
    RowCells& operator=(const RowCells& other) noexcept;
    RowCells(RowCells&& other) noexcept : block_(other.block_) { other.block_ = nullptr; }
    RowCells& operator=(RowCells&& other) noexcept;

    std::size_t Count() const { return block_ ? block_->count : 0; } // cells stored
    bool IsEmpty() const { return !block_ || block_->length == 0; }  // every cell empty
    // Inline: scoring, sorting and writing files read every cell of every row.
    QStringView At(std::size_t column) const {
        if (!block_ || column >= block_->count) {
            return {};
        }
        const std::uint32_t start = column == 0 ? 0 : block_->End(column - 1);
        return {block_->Text() + start, static_cast<qsizetype>(block_->End(column) - start)};
    }
    // Every cell's text one after the other, as stored.
    QStringView AllText() const {
        return block_ ? QStringView(block_->Text(), static_cast<qsizetype>(block_->length)) : QStringView();
    }
    // These cells with one of them replaced.
    RowCells With(std::size_t column, QStringView text) const;
    // Writes one cell: in place where the block is nobody else's and the text keeps its length
    // (an age factor replacing another), else as With does.
    void Set(std::size_t column, QStringView text);
    // The first `count` cells; those after them empty.
    RowCells Left(std::size_t count) const;
    // The two read the same, cell by cell.
    bool operator==(const RowCells& other) const;
    bool SameBlock(const RowCells& other) const { return block_ && block_ == other.block_; }
    // Stands for cells the table holds: a change kept by undo leaves them there (HeldByTable) and
    // takes them back when it is applied again.
    static RowCells HeldByTable();
    bool IsHeldByTable() const { return block_ == &heldByTable_; }
    // Heap bytes of the block, for memory figures.
    std::size_t Bytes() const;

private:
    // The block's head; where each cell ends and the text follow it in the same allocation. The
    // ends take 16 bits, 32 in a row of more than 65,535 characters (bench_window: recalculation
    // as opened at a million rows 2.39 s with 32-bit ends always, 2.17 s so; 474 and 408 bytes a
    // row at 32,767 rows).
    struct Block {
        std::atomic<std::uint32_t> refs;
        std::uint32_t count;  // cells stored
        std::uint32_t length; // characters of all cells
        std::uint32_t wide;   // 32-bit ends

        static bool Wide(std::size_t length) { return length > 0xFFFF; }
        char* Ends() { return reinterpret_cast<char*>(this + 1); }
        std::uint32_t End(std::size_t c) {
            return wide ? reinterpret_cast<std::uint32_t*>(Ends())[c]
                        : reinterpret_cast<std::uint16_t*>(Ends())[c];
        }
        void SetEnd(std::size_t c, std::size_t end) {
            if (wide) {
                reinterpret_cast<std::uint32_t*>(Ends())[c] = static_cast<std::uint32_t>(end);
            } else {
                reinterpret_cast<std::uint16_t*>(Ends())[c] = static_cast<std::uint16_t>(end);
            }
        }
        char16_t* Text() { return reinterpret_cast<char16_t*>(Ends() + count * (wide ? 4 : 2)); }
        static std::size_t Bytes(std::size_t count, std::size_t length) {
            return sizeof(Block) + count * (Wide(length) ? 4 : 2) + length * sizeof(char16_t);
        }
        static Block* Make(std::size_t count, std::size_t length);
    };
    void Release();
    std::vector<QStringView> Fields(std::size_t count) const;

    Block* block_ = nullptr;
    static Block heldByTable_;
};

} // namespace vastrel

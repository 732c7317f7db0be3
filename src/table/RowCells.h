#pragma once

#include <QStringView>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace vastrel {

// The texts of one row's cells in one allocation: a header, where each cell's text ends, then
// the texts one after the other in UTF-16. A competition row costs a few hundred bytes instead
// of a heap string per cell. Cells after the last one stored read as empty; an empty row holds
// no allocation. A view handed out stays valid until the row is written to.
class RowCells {
public:
    RowCells() = default;
    // The first `limit` fields; empty ones at the end are not stored. With `room`, all `limit`
    // cells are stored and that many characters more fit in before a write needs a new block.
    RowCells(const std::vector<QStringView>& fields, std::size_t limit, std::size_t room = 0);
    ~RowCells() { Release(); }
    RowCells(const RowCells& other);
    RowCells& operator=(const RowCells& other);
    RowCells(RowCells&& other) noexcept : block_(other.block_) { other.block_ = nullptr; }
    RowCells& operator=(RowCells&& other) noexcept;

    std::size_t Count() const { return block_ ? Head()->count : 0; }
    bool IsEmpty() const { return !block_ || Head()->length == 0; } // every cell empty
    QStringView At(std::size_t column) const {
        if (!block_ || column >= Head()->count) {
            return {};
        }
        const std::uint32_t start = column == 0 ? 0 : End(column - 1);
        return {Text() + start, static_cast<qsizetype>(End(column) - start)};
    }
    // Every cell's text one after the other, as stored.
    QStringView AllText() const {
        return block_ ? QStringView(Text(), static_cast<qsizetype>(Head()->length)) : QStringView();
    }
    // A pass over many rows waits on memory for each one's block: it asks for the blocks of the
    // rows ahead, the header first (a few rows ahead), then the cell it will read (when the
    // header has come).
    void PrefetchHead() const {
        if (block_) {
            __builtin_prefetch(block_);
            __builtin_prefetch(static_cast<const char*>(block_) + 64);
        }
    }
    void PrefetchCell(std::size_t column) const { __builtin_prefetch(At(column).data()); }
    void PrefetchText() const { // all cells, for a pass that reads the whole row
        if (block_) {
            const char* text = reinterpret_cast<const char*>(Text());
            const char* end = text + Head()->length * sizeof(char16_t);
            for (; text < end; text += 64) {
                __builtin_prefetch(text);
            }
        }
    }
    // The block these cells would make, appended to `out` at a multiple of 8 bytes: a row
    // scored on one thread is then made on another with one allocation and one copy.
    static void AppendImage(const std::vector<QStringView>& fields, std::vector<char>& out);
    // The row an image holds; `image` is where AppendImage put it.
    static RowCells FromImage(const char* image);
    // Becomes a copy of the first `count` cells of `source`, all `count` stored and `room`
    // characters more to spare; the block is kept when it is large enough (a scratch row
    // written over and over allocates once).
    void AssignWithRoom(const RowCells& source, std::size_t count, std::size_t room);
    // The first `count` cells read the same in both.
    bool SameTexts(const RowCells& other, std::size_t count) const;
    // One cell reads the same in both.
    bool SameText(const RowCells& other, std::size_t column) const {
        const QStringView a = At(column);
        const QStringView b = other.At(column);
        return a.size() == b.size() &&
               (a.isEmpty() ||
                std::memcmp(a.utf16(), b.utf16(), static_cast<std::size_t>(a.size()) * 2) == 0);
    }
    // Writes one cell; a cell past the stored ones first makes room for `columnCount` cells.
    void Set(std::size_t column, QStringView text, std::size_t columnCount);
    // Frees the blocks of many rows in the order they lie in memory: the allocator then finds
    // each block's neighbours at hand (a million rows go three times faster than in table order).
    static void ReleaseInMemoryOrder(const std::vector<RowCells*>& cells);
    // Heap bytes held, for memory figures.
    std::size_t Bytes() const;

private:
    struct Header {
        std::uint32_t count;    // cells stored
        std::uint32_t length;   // text characters used
        std::uint32_t capacity; // text characters room was made for
        std::uint32_t wide;     // ends are 32-bit (a row holding more than 65,535 characters)
    };
    Header* Head() const { return static_cast<Header*>(block_); }
    char* Ends() const { return static_cast<char*>(block_) + sizeof(Header); }
    std::uint32_t End(std::size_t column) const {
        if (Head()->wide) {
            return reinterpret_cast<const std::uint32_t*>(Ends())[column];
        }
        return reinterpret_cast<const std::uint16_t*>(Ends())[column];
    }
    void SetEnd(std::size_t column, std::uint32_t end) {
        if (Head()->wide) {
            reinterpret_cast<std::uint32_t*>(Ends())[column] = end;
        } else {
            reinterpret_cast<std::uint16_t*>(Ends())[column] = static_cast<std::uint16_t>(end);
        }
    }
    char16_t* Text() const {
        return reinterpret_cast<char16_t*>(Ends() + Head()->count * (Head()->wide ? 4 : 2));
    }
    // A new block with room for `count` cells and `capacity` characters, the old texts copied in.
    void Rebuild(std::size_t count, std::size_t capacity);
    // Writes the texts of the first `count` fields (missing ones empty) into a block with room.
    void WriteFields(const std::vector<QStringView>& fields, std::size_t count);
    void Release();

    void* block_ = nullptr;
};

} // namespace vastrel

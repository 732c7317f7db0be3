#include "table/RowCells.h"

#include "table/SortValues.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace vastrel {

namespace {
constexpr std::uint32_t kNarrowLimit = 0xFFFF; // characters a row with 16-bit ends may hold

std::size_t EndWidth(std::size_t capacity) {
    return capacity > kNarrowLimit ? 4 : 2;
}

// Moves a cell's characters, or those after a cell that changed length. By hand rather than with
// memmove: on a processor with 512-bit registers the library's copy for them, called for every
// cell scoring writes, slowed the whole first scoring of a competition by a fifth; these moves
// are short.
#if defined(__GNUC__) && !defined(__clang__)
__attribute__((optimize("no-tree-loop-distribute-patterns")))
#endif
void MoveChars(char16_t* to, const char16_t* from, std::size_t count) {
    if (to > from) {
        for (std::size_t i = count; i-- > 0;) {
            to[i] = from[i];
        }
    } else {
        for (std::size_t i = 0; i < count; ++i) {
            to[i] = from[i];
        }
    }
}

// Room for later writes, so scoring a row's empty cells does not allocate once per cell.
std::size_t GrownCapacity(std::size_t needed) {
    return needed + needed / 8 + 16;
}
} // namespace

RowCells::RowCells(const std::vector<QStringView>& fields, std::size_t limit, std::size_t room) {
    std::size_t count = std::min(fields.size(), limit);
    std::size_t length = 0;
    for (std::size_t i = 0; i < count; ++i) {
        length += static_cast<std::size_t>(fields[i].size());
    }
    if (room > 0) {
        count = limit; // every cell has its place: writing any of them needs no new block
    } else {
        while (count > 0 && fields[count - 1].isEmpty()) {
            --count;
        }
    }
    if (count == 0) {
        return;
    }
    Rebuild(count, length + room);
    WriteFields(fields, count);
}

void RowCells::WriteFields(const std::vector<QStringView>& fields, std::size_t count) {
    char16_t* text = Text();
    std::uint32_t end = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const auto size = i < fields.size() ? static_cast<std::size_t>(fields[i].size()) : 0;
        if (size > 0) { // an empty view may point nowhere
            MoveChars(text + end, fields[i].utf16(), size);
        }
        end += static_cast<std::uint32_t>(size);
        SetEnd(i, end);
    }
    Head()->length = end;
}

RowCells::RowCells(const RowCells& other) {
    if (other.block_) {
        const Header* h = other.Head();
        // The copy gets no spare room: copies are kept (undo, autosave) more than written to.
        const std::size_t bytes =
            sizeof(Header) + h->count * (h->wide ? 4 : 2) + h->length * sizeof(char16_t);
        block_ = ::operator new(bytes);
        std::memcpy(block_, other.block_, bytes);
        Head()->capacity = h->length;
    }
}

RowCells& RowCells::operator=(const RowCells& other) {
    if (this != &other) {
        RowCells copy(other);
        *this = std::move(copy);
    }
    return *this;
}

RowCells& RowCells::operator=(RowCells&& other) noexcept {
    if (this != &other) {
        Release();
        block_ = other.block_;
        other.block_ = nullptr;
    }
    return *this;
}

void RowCells::Release() {
    ::operator delete(block_);
    block_ = nullptr;
}

void RowCells::Rebuild(std::size_t count, std::size_t capacity) {
    const std::size_t width = EndWidth(capacity);
    void* block = ::operator new(sizeof(Header) + count * width + capacity * sizeof(char16_t));
    auto* head = static_cast<Header*>(block);
    head->count = static_cast<std::uint32_t>(count);
    head->capacity = static_cast<std::uint32_t>(capacity);
    head->wide = width == 4 ? 1 : 0;
    RowCells fresh;
    fresh.block_ = block;
    // The old ends carry over; cells the old block did not hold end where the text ends.
    const std::size_t kept = std::min<std::size_t>(Count(), count);
    const std::uint32_t length = kept == 0 ? 0 : End(kept - 1);
    for (std::size_t i = 0; i < count; ++i) {
        fresh.SetEnd(i, i < kept ? End(i) : length);
    }
    head->length = length;
    if (length > 0) {
        std::memcpy(fresh.Text(), Text(), length * sizeof(char16_t));
    }
    *this = std::move(fresh);
}

void RowCells::Set(std::size_t column, QStringView text, std::size_t columnCount) {
    if (column >= Count()) {
        if (text.isEmpty()) {
            return; // cells past the stored ones are empty already
        }
        const std::size_t length = block_ ? Head()->length : 0;
        Rebuild(std::max(column + 1, columnCount),
                GrownCapacity(length + static_cast<std::size_t>(text.size())));
    }
    const std::uint32_t start = column == 0 ? 0 : End(column - 1);
    const std::uint32_t end = End(column);
    const std::size_t length = Head()->length;
    const std::size_t needed = length - (end - start) + static_cast<std::size_t>(text.size());
    if (needed > Head()->capacity || (!Head()->wide && needed > kNarrowLimit)) {
        Rebuild(Count(), GrownCapacity(needed));
    }
    char16_t* chars = Text();
    const std::size_t newEnd = start + static_cast<std::size_t>(text.size());
    if (newEnd != end) {
        MoveChars(chars + newEnd, chars + end, length - end);
        const std::size_t count = Count();
        for (std::size_t i = column; i < count; ++i) {
            SetEnd(i, static_cast<std::uint32_t>(End(i) + newEnd - end));
        }
    }
    if (!text.isEmpty()) { // an empty view may point nowhere
        std::memcpy(chars + start, text.utf16(), static_cast<std::size_t>(text.size()) * sizeof(char16_t));
    }
    Head()->length = static_cast<std::uint32_t>(needed);
}

void RowCells::AppendImage(const std::vector<QStringView>& fields, std::vector<char>& out) {
    std::size_t count = fields.size();
    while (count > 0 && fields[count - 1].isEmpty()) {
        --count; // as a row made of the fields stores them
    }
    std::size_t length = 0;
    for (std::size_t i = 0; i < count; ++i) {
        length += static_cast<std::size_t>(fields[i].size());
    }
    const std::size_t width = EndWidth(length);
    const std::size_t bytes = sizeof(Header) + count * width + length * sizeof(char16_t);
    const std::size_t start = out.size();
    out.resize(start + (bytes + 7) / 8 * 8);
    RowCells image;
    image.block_ = out.data() + start; // borrowed: let go below, never freed
    *image.Head() = {static_cast<std::uint32_t>(count), static_cast<std::uint32_t>(length),
                     static_cast<std::uint32_t>(length), width == 4 ? 1u : 0u};
    image.WriteFields(fields, count);
    image.block_ = nullptr;
}

RowCells RowCells::FromImage(const char* image) {
    Header head;
    std::memcpy(&head, image, sizeof head);
    RowCells cells;
    if (head.count > 0) {
        const std::size_t bytes =
            sizeof(Header) + head.count * (head.wide ? 4 : 2) + head.length * sizeof(char16_t);
        cells.block_ = ::operator new(bytes);
        std::memcpy(cells.block_, image, bytes);
    }
    return cells;
}

void RowCells::AssignWithRoom(const RowCells& source, std::size_t count, std::size_t room) {
    const std::size_t kept = std::min(source.Count(), count);
    const std::size_t length = kept == 0 ? 0 : source.End(kept - 1);
    const std::size_t capacity = length + room;
    if (count == 0) {
        Release();
        return;
    }
    if (!block_ || Head()->count != count || Head()->capacity < capacity) {
        Release();
        const std::size_t width = EndWidth(capacity);
        block_ = ::operator new(sizeof(Header) + count * width + capacity * sizeof(char16_t));
        Head()->count = static_cast<std::uint32_t>(count);
        Head()->capacity = static_cast<std::uint32_t>(capacity);
        Head()->wide = width == 4 ? 1 : 0;
    }
    for (std::size_t i = 0; i < count; ++i) {
        SetEnd(i, static_cast<std::uint32_t>(i < kept ? source.End(i) : length));
    }
    Head()->length = static_cast<std::uint32_t>(length);
    if (length > 0) {
        std::memcpy(Text(), source.Text(), length * sizeof(char16_t));
    }
}

bool RowCells::SameTexts(const RowCells& other, std::size_t count) const {
    for (std::size_t c = 0; c < count; ++c) {
        if (!SameText(other, c)) {
            return false;
        }
    }
    return true;
}

void RowCells::ReleaseInMemoryOrder(const std::vector<RowCells*>& cells) {
    std::vector<std::uint64_t> addresses(cells.size());
    for (std::size_t i = 0; i < cells.size(); ++i) {
        addresses[i] = reinterpret_cast<std::uintptr_t>(cells[i]->block_);
    }
    for (SortIndex i : OrderOfWords(addresses)) {
        cells[i]->Release();
    }
}

std::size_t RowCells::Bytes() const {
    if (!block_) {
        return 0;
    }
    return sizeof(Header) + Count() * (Head()->wide ? 4 : 2) + Head()->capacity * sizeof(char16_t);
}

} // namespace vastrel

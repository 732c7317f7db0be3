#include "table/RowCells.h"

#include <algorithm>
#include <new>

namespace vastrel {

// Never freed: no count of its owners reaches 0.
RowCells::Block RowCells::heldByTable_{{std::uint32_t{1} << 31}, 0, 0, 0};

RowCells RowCells::HeldByTable() {
    RowCells marker;
    marker.block_ = &heldByTable_;
    heldByTable_.refs.fetch_add(1, std::memory_order_relaxed);
    return marker;
}

RowCells::Block* RowCells::Block::Make(std::size_t count, std::size_t length) {
    auto* block = static_cast<Block*>(::operator new(Bytes(count, length)));
    new (block) Block{
        {1}, static_cast<std::uint32_t>(count), static_cast<std::uint32_t>(length), Wide(length) ? 1u : 0u};
    return block;
}

namespace {

// Appends `text` at `out`, returns where it ends.
char16_t* Put(char16_t* out, QStringView text) {
    return std::copy(text.utf16(), text.utf16() + text.size(), out);
}

} // namespace

RowCells::RowCells(std::span<const QStringView> fields) {
    std::size_t count = fields.size();
    while (count > 0 && fields[count - 1].isEmpty()) {
        --count;
    }
    if (count == 0) {
        return;
    }
    std::size_t length = 0;
    for (std::size_t i = 0; i < count; ++i) {
        length += static_cast<std::size_t>(fields[i].size());
    }
    block_ = Block::Make(count, length);
    char16_t* const text = block_->Text();
    char16_t* at = text;
    for (std::size_t i = 0; i < count; ++i) {
        at = Put(at, fields[i]);
        block_->SetEnd(i, static_cast<std::size_t>(at - text));
    }
}

RowCells::RowCells(const RowCells& other) noexcept : block_(other.block_) {
    if (block_) {
        block_->refs.fetch_add(1, std::memory_order_relaxed);
    }
}

RowCells& RowCells::operator=(const RowCells& other) noexcept {
    RowCells copy(other);
    std::swap(block_, copy.block_);
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
    // The last owner frees; the others' reads happened before their release.
    if (block_ && block_->refs.fetch_sub(1, std::memory_order_acq_rel) == 1) {
        block_->~Block();
        ::operator delete(block_);
    }
    block_ = nullptr;
}

// The cells as fields, the first `count` of them, to make another row of.
std::vector<QStringView> RowCells::Fields(std::size_t count) const {
    std::vector<QStringView> fields(count);
    for (std::size_t c = 0; c < count; ++c) {
        fields[c] = At(c);
    }
    return fields;
}

RowCells RowCells::With(std::size_t column, QStringView text) const {
    std::vector<QStringView> fields = Fields(std::max(Count(), column + 1));
    fields[column] = text;
    return RowCells(fields);
}

void RowCells::Set(std::size_t column, QStringView text) {
    const QStringView old = At(column);
    if (old.size() == text.size() && !old.isEmpty() && block_->refs.load(std::memory_order_acquire) == 1) {
        std::copy(text.utf16(), text.utf16() + text.size(), const_cast<char16_t*>(old.utf16()));
        return;
    }
    *this = With(column, text);
}

RowCells RowCells::Left(std::size_t count) const {
    return count >= Count() ? *this : RowCells(Fields(count));
}

bool RowCells::operator==(const RowCells& other) const {
    if (block_ == other.block_) {
        return true;
    }
    const std::size_t count = std::max(Count(), other.Count());
    for (std::size_t c = 0; c < count; ++c) {
        if (At(c) != other.At(c)) {
            return false;
        }
    }
    return true;
}

std::size_t RowCells::Bytes() const {
    return block_ ? Block::Bytes(block_->count, block_->length) : 0;
}

} // namespace vastrel

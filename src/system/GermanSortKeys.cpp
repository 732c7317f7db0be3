#include "system/GermanSortKeys.h"

#include <unicode/ucol.h>

#include <algorithm>
#include <cstring>

namespace vastrel {

namespace {
constexpr std::size_t kHeadBytes = 16; // a key's first bytes, kept as two numbers
} // namespace

GermanSortKeys::GermanSortKeys() {
    // The settings QCollator makes for German, numeric mode and case ignored: keys compare as
    // its comparisons do (a test holds the two side by side).
    UErrorCode status = U_ZERO_ERROR;
    collator_ = ucol_open("de_DE", &status);
    if (U_FAILURE(status)) {
        collator_ = nullptr; // no collation data: texts compare by their characters
        return;
    }
    ucol_setAttribute(collator_, UCOL_NORMALIZATION_MODE, UCOL_ON, &status);
    ucol_setAttribute(collator_, UCOL_STRENGTH, UCOL_SECONDARY, &status);
    ucol_setAttribute(collator_, UCOL_NUMERIC_COLLATION, UCOL_ON, &status);
    ucol_setAttribute(collator_, UCOL_ALTERNATE_HANDLING, UCOL_NON_IGNORABLE, &status);
}

GermanSortKeys::~GermanSortKeys() {
    if (collator_) {
        ucol_close(collator_);
    }
}

void GermanSortKeys::Add(QStringView text) {
    const std::size_t start = bytes_.size();
    const auto length = static_cast<int32_t>(text.size());
    const auto* chars = reinterpret_cast<const UChar*>(text.utf16());
    if (collator_) {
        std::size_t room = 16 + 2 * static_cast<std::size_t>(length);
        bytes_.resize(start + room);
        auto needed = static_cast<std::size_t>(
            ucol_getSortKey(collator_, chars, length, bytes_.data() + start, static_cast<int32_t>(room)));
        if (needed > room) {
            bytes_.resize(start + needed);
            ucol_getSortKey(collator_, chars, length, bytes_.data() + start, static_cast<int32_t>(needed));
        }
        bytes_.resize(start + needed); // ends in the key's zero byte
    } else {
        for (QChar c : text) { // in three bytes, none zero, that order as the characters do
            const char16_t u = c.toCaseFolded().unicode();
            bytes_.push_back(static_cast<std::uint8_t>((u >> 10) + 1));
            bytes_.push_back(static_cast<std::uint8_t>(((u >> 4) & 0x3f) + 1));
            bytes_.push_back(static_cast<std::uint8_t>((u & 0xf) + 1));
        }
        bytes_.push_back(0);
    }
    std::uint8_t head[kHeadBytes] = {};
    std::memcpy(head, bytes_.data() + start, std::min(kHeadBytes, bytes_.size() - start));
    Head h{0, 0};
    for (std::size_t i = 0; i < 8; ++i) {
        h.high = (h.high << 8) | head[i];
        h.low = (h.low << 8) | head[8 + i];
    }
    starts_.push_back(start);
    heads_.push_back(h);
}

void GermanSortKeys::Append(const GermanSortKeys& other) {
    const std::size_t shift = bytes_.size();
    bytes_.insert(bytes_.end(), other.bytes_.begin(), other.bytes_.end());
    for (std::size_t start : other.starts_) {
        starts_.push_back(start + shift);
    }
    heads_.insert(heads_.end(), other.heads_.begin(), other.heads_.end());
}

int GermanSortKeys::Compare(std::size_t a, std::size_t b) const {
    if (heads_[a] != heads_[b]) {
        return heads_[a] < heads_[b] ? -1 : 1;
    }
    // Equal heads: a key that ended within them ended in both (zeros follow a key's end).
    if ((heads_[a].low & 0xff) == 0) {
        return 0;
    }
    return std::strcmp(reinterpret_cast<const char*>(bytes_.data() + starts_[a] + kHeadBytes),
                       reinterpret_cast<const char*>(bytes_.data() + starts_[b] + kHeadBytes));
}

} // namespace vastrel

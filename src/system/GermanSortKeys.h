#pragma once

#include <QStringView>

#include <cstddef>
#include <cstdint>
#include <vector>

struct UCollator;

namespace vastrel {

// Sort keys of the German collation the table sorts texts by (numbers inside by their value,
// case ignored), kept side by side in one buffer: a million names cost one growing allocation
// instead of two each, and two keys compare by their bytes. Each key's first sixteen bytes are
// also kept as two numbers that order as the bytes do, so most comparisons read no key at all.
// One instance belongs to one thread.
class GermanSortKeys {
public:
    GermanSortKeys();
    ~GermanSortKeys();
    GermanSortKeys(const GermanSortKeys&) = delete;
    GermanSortKeys& operator=(const GermanSortKeys&) = delete;

    void Add(QStringView text);
    // Takes the keys of `other` after its own.
    void Append(const GermanSortKeys& other);
    std::size_t Count() const { return starts_.size(); }
    // <0, 0, >0 as the collation orders the two texts.
    int Compare(std::size_t a, std::size_t b) const;

    // A key's first sixteen bytes as two numbers that order as the bytes do.
    struct Head {
        std::uint64_t high;
        std::uint64_t low;
        bool operator==(const Head&) const = default;
        auto operator<=>(const Head&) const = default;
    };
    const Head& HeadOf(std::size_t i) const { return heads_[i]; }

private:
    UCollator* collator_ = nullptr;
    std::vector<std::uint8_t> bytes_; // the keys, each ending in a zero byte
    std::vector<std::size_t> starts_;
    std::vector<Head> heads_;
};

} // namespace vastrel

#pragma once

#include <QtGlobal>

#include <bit>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vastrel {

// What one cell sorts by: a number, the rank of its text, or nothing (sorts last), in eight
// bytes: a million rows' values of two keys are the largest part of a sort's memory. A number
// is kept as its bits; a text and nothing as bit patterns no number takes (a number that is not
// a number at all is kept as the one such pattern numbers use).
class SortValue {
public:
    enum Class : quint8 { Number, Text, Empty };
    SortValue() = default; // nothing
    static SortValue OfNumber(double number) {
        return SortValue(number != number ? kNotANumber : std::bit_cast<std::uint64_t>(number));
    }
    static SortValue OfText(int key) { return SortValue(kTextTag | static_cast<std::uint32_t>(key)); }
    Class cls() const { return (bits_ & kTagMask) == kTextTag ? Text : (bits_ == kEmpty ? Empty : Number); }
    double number() const { return std::bit_cast<double>(bits_); }
    int textKey() const { return static_cast<int>(static_cast<std::uint32_t>(bits_)); }

private:
    explicit SortValue(std::uint64_t bits) : bits_(bits) {}
    static constexpr std::uint64_t kNotANumber = 0x7ff8000000000000;
    static constexpr std::uint64_t kTagMask = 0xffffffff00000000;
    static constexpr std::uint64_t kTextTag = 0xfff9000000000000;
    static constexpr std::uint64_t kEmpty = 0xfffa000000000000;
    std::uint64_t bits_ = kEmpty;
};

// Positions in a sort; tables have fewer than 2^32 rows, and half the width halves the memory
// a sort of many rows goes through.
using SortIndex = std::uint32_t;

// The stable order of rows by the values of their keys: row r's value of key k stands at
// values[r * keyCount + k], the major key first, all keys in one direction. Numbers come before
// texts ascending, after them descending; cells without a value go last in both directions.
// The values are taken and let go before the last passes.
std::vector<SortIndex> StableOrderOf(std::vector<SortValue> values, std::size_t keyCount, bool descending);

// The stable order of unsigned numbers (positions into `words`), smallest first.
std::vector<SortIndex> OrderOfWords(const std::vector<std::uint64_t>& words);

} // namespace vastrel

#pragma once

#include <QtGlobal>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vastrel {

// What one cell sorts by: a number, the rank of its text, or nothing (sorts last). Sixteen
// bytes: a million rows' values are read again and again while sorting.
struct SortValue {
    enum Class : quint8 { Number, Text, Empty };
    double number = 0;
    int textKey = -1; // index into the key's distinct texts, then their rank
    Class cls = Empty;
};

// Positions in a sort; tables have fewer than 2^32 rows, and half the width halves the memory
// a sort of many rows goes through.
using SortIndex = std::uint32_t;

// The stable order of rows by the values of their keys: row r's value of key k stands at
// values[r * keyCount + k], the major key first, all keys in one direction. Numbers come before
// texts ascending, after them descending; cells without a value go last in both directions.
std::vector<SortIndex> StableOrderOf(const std::vector<SortValue>& values, std::size_t keyCount,
                                     bool descending);

// The stable order of unsigned numbers (positions into `words`), smallest first.
std::vector<SortIndex> OrderOfWords(const std::vector<std::uint64_t>& words);

} // namespace vastrel

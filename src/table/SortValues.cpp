#include "table/SortValues.h"

#include <algorithm>
#include <array>
#include <bit>
#include <numeric>
#include <optional>
#include <utility>

namespace vastrel {

namespace {

// The stable order of one key's values when none is a number: texts by rank, then the empty
// ones, bucket by bucket in one pass (ranks are dense).
std::optional<std::vector<SortIndex>> OrderByRank(const std::vector<SortValue>& values, bool descending) {
    int ranks = 0;
    for (const SortValue& v : values) {
        if (v.cls() == SortValue::Number) {
            return std::nullopt;
        }
        ranks = std::max(ranks, v.textKey() + 1);
    }
    const auto bucketOf = [&](const SortValue& v) {
        if (v.cls() == SortValue::Empty) {
            return static_cast<std::size_t>(ranks); // last in both directions
        }
        return static_cast<std::size_t>(descending ? ranks - 1 - v.textKey() : v.textKey());
    };
    std::vector<SortIndex> start(static_cast<std::size_t>(ranks) + 2, 0);
    for (const SortValue& v : values) {
        ++start[bucketOf(v) + 1];
    }
    for (std::size_t b = 1; b < start.size(); ++b) {
        start[b] += start[b - 1];
    }
    std::vector<SortIndex> order(values.size());
    for (std::size_t r = 0; r < values.size(); ++r) {
        order[start[bucketOf(values[r])]++] = static_cast<SortIndex>(r);
    }
    return order;
}

// A value as one unsigned number that orders as the value does: a number's bits made to order
// as unsigned, a text's rank; turned round when descending. Its class goes in front of it:
// ascending numbers, texts, empty; descending texts, numbers, empty.
std::uint64_t CodeOf(const SortValue& v, bool descending) {
    std::uint64_t code = 0;
    if (v.cls() == SortValue::Number) {
        const double x = v.number() == 0 ? 0.0 : v.number(); // -0 equals 0
        const auto bits = std::bit_cast<std::uint64_t>(x);
        code = (bits >> 63) != 0 ? ~bits : bits | (std::uint64_t{1} << 63);
    } else if (v.cls() == SortValue::Text) {
        code = static_cast<std::uint64_t>(v.textKey());
    } else {
        return 0; // the class decides
    }
    return descending ? ~code : code;
}

std::uint64_t ClassOf(const SortValue& v, bool descending) {
    if (v.cls() == SortValue::Empty) {
        return 2;
    }
    return (v.cls() == SortValue::Text) != descending ? 1 : 0;
}

// The bits of a key that tell its values apart: a class where more than one occurs, and the
// span of code bits that differ (the bits above and below it are the same in every value).
// The keys' parts are packed into as few 64-bit words as they fit.
struct Part {
    std::size_t key;
    bool isClass;
    int low;   // lowest code bit taken
    int width; // bits
};

std::uint64_t PartOf(const Part& part, const SortValue& v, bool descending) {
    if (part.isClass) {
        return ClassOf(v, descending);
    }
    const std::uint64_t code = CodeOf(v, descending) >> part.low;
    return part.width == 64 ? code : code & ((std::uint64_t{1} << part.width) - 1);
}

// The parts of all keys, major first, grouped into words of at most 64 bits.
std::vector<std::vector<Part>> WordsOf(const std::vector<SortValue>& values, std::size_t keyCount,
                                       bool descending) {
    std::vector<Part> parts;
    for (std::size_t k = 0; k < keyCount; ++k) {
        unsigned classes = 0;
        std::uint64_t first = 0;
        std::uint64_t differing = 0;
        bool seen = false;
        for (std::size_t i = k; i < values.size(); i += keyCount) {
            classes |= 1u << ClassOf(values[i], descending);
            if (values[i].cls() == SortValue::Empty) {
                continue;
            }
            const std::uint64_t code = CodeOf(values[i], descending);
            first = seen ? first : code;
            seen = true;
            differing |= code ^ first;
        }
        if (std::popcount(classes) > 1) {
            parts.push_back({k, true, 0, 2});
        }
        if (differing != 0) {
            const int low = std::countr_zero(differing);
            parts.push_back({k, false, low, 64 - std::countl_zero(differing) - low});
        }
    }
    // Packed from the minor end, so that a word never splits a part.
    std::vector<std::vector<Part>> words;
    int used = 64;
    for (auto part = parts.rbegin(); part != parts.rend(); ++part) {
        if (used + part->width > 64) {
            words.emplace_back();
            used = 0;
        }
        words.back().insert(words.back().begin(), *part);
        used += part->width;
    }
    std::reverse(words.begin(), words.end());
    return words;
}

// A row and its word; a word of up to 32 bits goes in half the room.
template <typename Word> struct Item {
    Word word;
    SortIndex row;
};

// Eight bits a pass: a pass writes to as many places at once as a digit has values, and more
// than a few hundred of them miss the processor's table of memory pages (eleven bits were
// slower on a million rows).
constexpr int kDigitBits = 8;
constexpr std::size_t kBuckets = std::size_t{1} << kDigitBits;

template <typename Word> std::size_t DigitOf(const Item<Word>& item, int pass) {
    return static_cast<std::size_t>(item.word >> (pass * kDigitBits)) & (kBuckets - 1);
}

// Sorts `items` stably by their words, least significant digit first; a digit all items share
// needs no pass.
template <typename Word> void SortByDigits(std::vector<Item<Word>>& items) {
    constexpr int kPasses = static_cast<int>(sizeof(Word)) * 8 / kDigitBits;
    std::vector<std::array<SortIndex, kBuckets>> counts(kPasses);
    for (auto& c : counts) {
        c.fill(0);
    }
    for (const Item<Word>& item : items) {
        for (int p = 0; p < kPasses; ++p) {
            ++counts[static_cast<std::size_t>(p)][DigitOf(item, p)];
        }
    }
    std::vector<Item<Word>> spare;
    for (int p = 0; p < kPasses; ++p) {
        auto& count = counts[static_cast<std::size_t>(p)];
        if (std::find(count.begin(), count.end(), static_cast<SortIndex>(items.size())) != count.end()) {
            continue;
        }
        SortIndex start = 0;
        for (SortIndex& c : count) {
            start += std::exchange(c, start);
        }
        spare.resize(items.size());
        for (const Item<Word>& item : items) {
            spare[count[DigitOf(item, p)]++] = item;
        }
        items.swap(spare);
    }
}

// Sorts `order` stably by one word of the rows' parts.
// The values are let go once the last word is taken from them: the passes run in less memory.
template <typename Word>
void SortByWord(std::vector<SortValue>& values, std::size_t keyCount, bool descending,
                const std::vector<Part>& word, bool lastWord, std::vector<SortIndex>& order) {
    std::vector<Item<Word>> items(order.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        const SortValue* row = values.data() + order[i] * keyCount;
        std::uint64_t bits = 0;
        for (const Part& part : word) {
            bits = (part.width == 64 ? 0 : bits << part.width) | PartOf(part, row[part.key], descending);
        }
        items[i] = {static_cast<Word>(bits), order[i]};
    }
    if (lastWord) {
        values = {};
    }
    SortByDigits(items);
    for (std::size_t i = 0; i < order.size(); ++i) {
        order[i] = items[i].row;
    }
}

} // namespace

std::vector<SortIndex> StableOrderOf(std::vector<SortValue> values, std::size_t keyCount, bool descending) {
    if (keyCount == 1) {
        if (auto byRank = OrderByRank(values, descending)) {
            return std::move(*byRank);
        }
    }
    const std::size_t rowCount = keyCount == 0 ? 0 : values.size() / keyCount;
    std::vector<SortIndex> order(rowCount);
    std::iota(order.begin(), order.end(), SortIndex{0});
    // Word by word, the minor first: each stable pass keeps the order of the words after it.
    const std::vector<std::vector<Part>> words = WordsOf(values, keyCount, descending);
    for (auto word = words.rbegin(); word != words.rend(); ++word) {
        int width = 0;
        for (const Part& part : *word) {
            width += part.width;
        }
        const bool lastWord = word + 1 == words.rend();
        if (width <= 32) {
            SortByWord<std::uint32_t>(values, keyCount, descending, *word, lastWord, order);
        } else {
            SortByWord<std::uint64_t>(values, keyCount, descending, *word, lastWord, order);
        }
    }
    return order;
}

std::vector<SortIndex> OrderOfWords(const std::vector<std::uint64_t>& words) {
    std::vector<Item<std::uint64_t>> items(words.size());
    for (std::size_t i = 0; i < words.size(); ++i) {
        items[i] = {words[i], static_cast<SortIndex>(i)};
    }
    SortByDigits(items);
    std::vector<SortIndex> order(items.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        order[i] = items[i].row;
    }
    return order;
}

} // namespace vastrel

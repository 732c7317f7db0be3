// Sorting of the results table.
#include "table/ResultTable.h"

#include "system/GermanSortKeys.h"
#include "system/NumberText.h"

#include <QHash>

#include <algorithm>
#include <bit>
#include <numeric>
#include <optional>
#include <thread>

using namespace Qt::StringLiterals;

namespace vastrel {

namespace {

std::optional<double> SprintSeconds(QStringView text) {
    const qsizetype colon = text.indexOf(u':');
    if (colon < 0) {
        return ConvertStrict(text);
    }
    const auto minutes = ConvertStrict(text.left(colon));
    const auto seconds = ConvertStrict(text.mid(colon + 1));
    if (!minutes || !seconds) {
        return std::nullopt;
    }
    return *minutes * 60 + *seconds;
}

// A number's bits made to order as unsigned numbers do; -0 is 0.
std::uint64_t NumberCode(double number) {
    const auto bits = std::bit_cast<std::uint64_t>(number == 0 ? 0.0 : number);
    return (bits >> 63) != 0 ? ~bits : bits | (std::uint64_t{1} << 63);
}

// Numbers the distinct values of a column in the order they first appear. A column holds few
// of them mostly ("m", "w", the runs): the last few are looked at before the hash.
template <typename Value> class Distinct {
public:
    std::uint32_t Of(const Value& value) {
        for (const auto& [known, index] : recent_) {
            if (known == value) {
                return index;
            }
        }
        auto it = index_.constFind(value);
        if (it == index_.cend()) {
            it = index_.insert(value, static_cast<std::uint32_t>(values_.size()));
            values_.push_back(value);
        }
        recent_[next_++ % recent_.size()] = {value, it.value()};
        return it.value();
    }
    const std::vector<Value>& Values() const { return values_; }

private:
    QHash<Value, std::uint32_t> index_;
    std::vector<Value> values_;
    std::array<std::pair<Value, std::uint32_t>, 4> recent_{};
    std::size_t next_ = 0;
};

// Ranks texts by the German collation; texts it holds equal ("MEIER" and "Meier") are ordered by
// their exact text, so identical texts share one rank and the order never depends on chance.
std::vector<std::uint32_t> RankTexts(const std::vector<QStringView>& texts, std::uint32_t& count) {
    // Many texts get their keys in two halves at once, each with a collator of its own: ICU's keys
    // are most of a sort by names (bench_scoring BM_SortByName, 32,767 names: 29.5 ms on one
    // thread, 17.3 ms on two; a million names 0.9 s and 0.67 s).
    constexpr std::size_t kTextsForTwoThreads = 8192;
    const bool twoThreads = texts.size() >= kTextsForTwoThreads && std::thread::hardware_concurrency() > 1;
    const std::size_t half = twoThreads ? texts.size() / 2 : texts.size();
    GermanSortKeys keys;
    GermanSortKeys secondHalf;
    std::thread second;
    if (twoThreads) {
        second = std::thread([&] {
            for (std::size_t i = half; i < texts.size(); ++i) {
                secondHalf.Add(texts[i]);
            }
        });
    }
    for (std::size_t i = 0; i < half; ++i) {
        keys.Add(texts[i]);
    }
    if (twoThreads) {
        second.join();
        keys.Append(secondHalf);
    }
    // Sorted as entries that hold their key's first bytes, side by side: most comparisons are
    // decided there, without reading a key far away in memory.
    struct Entry {
        GermanSortKeys::Head head;
        std::uint32_t text;
    };
    std::vector<Entry> entries(texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) {
        entries[i] = {keys.HeadOf(i), static_cast<std::uint32_t>(i)};
    }
    const auto compare = [&](const Entry& a, const Entry& b) {
        if (a.head != b.head) {
            return a.head < b.head ? -1 : 1;
        }
        const int c = keys.Compare(a.text, b.text);
        return c != 0 ? c : texts[a.text].compare(texts[b.text]);
    };
    std::sort(entries.begin(), entries.end(),
              [&](const Entry& a, const Entry& b) { return compare(a, b) < 0; });
    std::vector<std::uint32_t> rank(texts.size());
    count = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        count += i == 0 || compare(entries[i - 1], entries[i]) != 0 ? 1 : 0;
        rank[entries[i].text] = count - 1;
    }
    return rank;
}

// The rank of every row's cell in one key column, from 0: equal values share one, the ranks
// follow the direction (numbers before texts ascending, after them descending), and cells without
// a value rank last in both. `count` is how many ranks there are.
std::vector<std::uint32_t> RanksOf(const TableData& data, std::size_t column, bool descending,
                                   std::uint32_t& count) {
    const ColumnKind kind = data.columns[column].Kind();
    enum : std::uint8_t { kNumber, kText, kNothing };
    std::vector<std::uint8_t> cls(data.rows.size(), kNothing);
    std::vector<std::uint32_t> id(data.rows.size(), 0);
    Distinct<std::uint64_t> numbers;
    // Short texts ("m", "w", club codes) repeat and share an entry; longer ones, mostly distinct
    // names, get their own: looking for equals would cost more than the collation keys.
    constexpr qsizetype kSharedLength = 16;
    Distinct<QStringView> shortTexts;
    std::vector<QStringView> texts;
    std::vector<std::uint32_t> textOfShort;
    for (std::size_t r = 0; r < data.rows.size(); ++r) {
        const QStringView text = data.rows[r].data.cells.At(column);
        if (IsBlank(text)) {
            continue;
        }
        const std::optional<double> number = kind == ColumnKind::Number       ? ConvertStrict(text)
                                             : kind == ColumnKind::SprintTime ? SprintSeconds(text)
                                                                              : std::nullopt;
        if (number) {
            cls[r] = kNumber;
            id[r] = numbers.Of(NumberCode(*number));
            continue;
        }
        cls[r] = kText;
        if (text.size() > kSharedLength) {
            id[r] = static_cast<std::uint32_t>(texts.size());
            texts.push_back(text);
            continue;
        }
        const std::uint32_t shared = shortTexts.Of(text);
        if (shared == textOfShort.size()) {
            textOfShort.push_back(static_cast<std::uint32_t>(texts.size()));
            texts.push_back(text);
        }
        id[r] = textOfShort[shared];
    }
    const std::vector<std::uint64_t>& codes = numbers.Values();
    std::vector<std::uint32_t> byCode(codes.size());
    std::iota(byCode.begin(), byCode.end(), 0u);
    std::sort(byCode.begin(), byCode.end(),
              [&](std::uint32_t a, std::uint32_t b) { return codes[a] < codes[b]; });
    std::vector<std::uint32_t> numberRank(codes.size());
    for (std::size_t i = 0; i < byCode.size(); ++i) {
        numberRank[byCode[i]] = static_cast<std::uint32_t>(i);
    }
    std::uint32_t textCount = 0;
    const std::vector<std::uint32_t> textRank = RankTexts(texts, textCount);
    const auto numberCount = static_cast<std::uint32_t>(codes.size());
    std::vector<std::uint32_t> rank(data.rows.size(), numberCount + textCount);
    for (std::size_t r = 0; r < rank.size(); ++r) {
        if (cls[r] == kNumber) {
            rank[r] = descending ? textCount + numberCount - 1 - numberRank[id[r]] : numberRank[id[r]];
        } else if (cls[r] == kText) {
            rank[r] = descending ? textCount - 1 - textRank[id[r]] : numberCount + textRank[id[r]];
        }
    }
    count = numberCount + textCount + 1;
    return rank;
}

// `order` stably by the rows' ranks, a counting pass.
std::vector<std::uint32_t> OrderByRank(const std::vector<std::uint32_t>& order,
                                       const std::vector<std::uint32_t>& rank, std::uint32_t count) {
    std::vector<std::uint32_t> start(count + 1, 0);
    for (std::uint32_t row : order) {
        ++start[rank[row] + 1];
    }
    std::partial_sum(start.begin(), start.end(), start.begin());
    std::vector<std::uint32_t> sorted(order.size());
    for (std::uint32_t row : order) {
        sorted[start[rank[row]]++] = row;
    }
    return sorted;
}

} // namespace

void ResultTable::SortBy(const QString& keys, vastrel::SortDirection direction) {
    const bool descending = direction == vastrel::SortDirection::Descending;
    std::vector<std::size_t> keyColumns;
    QStringList orderParts;
    for (const QString& rawKey : keys.split(u',')) {
        const QString key = rawKey.trimmed();
        const int c = Resolve(key);
        if (c >= 0) {
            keyColumns.push_back(static_cast<std::size_t>(c));
            orderParts << key + (descending ? u" DESC"_s : u" ASC"_s);
        }
    }
    // How the rows were last ordered is the window's, not the competition's: no part of a change
    // (a sort that moves no row is no step), kept with the values only for the files.
    data_.values.sortOrder = orderParts.join(u',');
    const std::size_t rowCount = data_.rows.size();
    if (keyColumns.empty() || rowCount < 2) {
        return;
    }

    // Each cell is read and converted once; the order comes from the ranks alone, the minor
    // key first: each pass keeps the order of the keys after it.
    std::vector<std::uint32_t> order(rowCount);
    std::iota(order.begin(), order.end(), 0u);
    for (auto key = keyColumns.rbegin(); key != keyColumns.rend(); ++key) {
        std::uint32_t count = 0;
        const std::vector<std::uint32_t> rank = RanksOf(data_, *key, descending, count);
        order = OrderByRank(order, rank, count);
    }
    if (std::is_sorted(order.begin(), order.end())) {
        return; // already in order: nothing changes, nothing to take back
    }
    const bool recording = Recording();
    Change::Reorder reorder;
    if (recording) {
        reorder.before.reserve(rowCount);
        for (const Row& row : data_.rows) {
            reorder.before.push_back(row.id);
        }
    }
    std::vector<Row> sorted;
    sorted.reserve(rowCount);
    for (std::uint32_t from : order) {
        sorted.push_back(std::move(data_.rows[from]));
    }
    data_.rows = std::move(sorted);
    if (recording) {
        reorder.after.reserve(rowCount);
        for (const Row& row : data_.rows) {
            reorder.after.push_back(row.id);
        }
        Record(std::move(reorder));
    }
}

} // namespace vastrel

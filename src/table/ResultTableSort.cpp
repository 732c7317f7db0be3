// Sorting and searching of the results table.
#include "table/ResultTable.h"

#include "system/NumberText.h"
#include "table/GermanSortKeys.h"
#include "table/SortValues.h"

#include <QHash>

#include <algorithm>
#include <array>
#include <memory>
#include <optional>
#include <thread>

using namespace Qt::StringLiterals;

namespace vastrel {

namespace {

// Below this a second thread costs more than it saves.
constexpr std::size_t kRowsForTwoThreads = 8192;

// Sorts `items` by `less`, a total order; many are sorted in two halves on two threads, then
// merged.
template <typename T, typename Less> void SortInTwoHalves(std::vector<T>& items, const Less& less) {
    if (items.size() < kRowsForTwoThreads || std::thread::hardware_concurrency() < 2) {
        std::sort(items.begin(), items.end(), less);
        return;
    }
    const auto middle = items.begin() + static_cast<std::ptrdiff_t>(items.size() / 2);
    std::thread second([&] { std::sort(middle, items.end(), less); });
    std::sort(items.begin(), middle, less);
    second.join();
    std::vector<T> merged(items.size());
    std::merge(items.begin(), middle, middle, items.end(), merged.begin(), less);
    items = std::move(merged);
}

// Ranks texts by the German collation; texts it holds equal ("MEIER" and "Meier") are ordered
// by their exact text, so that identical texts always stand together and share one rank.
// The texts are sorted as entries holding their keys' first bytes, side by side: most
// comparisons are decided there, without following a pointer.
std::vector<int> RankTexts(const std::vector<QStringView>& texts, const GermanSortKeys& keys) {
    struct Entry {
        GermanSortKeys::Head head;
        SortIndex text;
    };
    std::vector<Entry> entries(texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) {
        entries[i] = {keys.HeadOf(i), static_cast<SortIndex>(i)};
    }
    SortInTwoHalves(entries, [&](const Entry& a, const Entry& b) {
        if (a.head != b.head) {
            return a.head < b.head;
        }
        const int c = keys.Compare(a.text, b.text);
        if (c != 0) {
            return c < 0;
        }
        const QStringView ta = texts[a.text];
        const QStringView tb = texts[b.text];
        return ta != tb ? ta < tb : a.text < b.text;
    });
    std::vector<int> rank(texts.size());
    int current = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (i > 0) {
            const SortIndex a = entries[i - 1].text;
            const SortIndex b = entries[i].text;
            if (entries[i - 1].head != entries[i].head || keys.Compare(a, b) != 0 || texts[a] != texts[b]) {
                ++current;
            }
        }
        rank[entries[i].text] = current;
    }
    return rank;
}

bool IsBlankText(QStringView text) {
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.isSpace(); });
}

// The distinct short texts of a column and their key numbers. Columns of a handful of values
// ("m" and "w") are answered from a short list without hashing.
class ShortTexts {
public:
    // The text's number, or -1 after taking it in as `next`.
    int Find(QStringView text, int next) {
        for (std::size_t i = 0; i < few_; ++i) {
            if (recent_[i].first == text) {
                return recent_[i].second;
            }
        }
        if (few_ < recent_.size()) {
            recent_[few_++] = {text, next};
            return -1;
        }
        const auto known = many_.constFind(text);
        if (known != many_.cend()) {
            return known.value();
        }
        many_.insert(text, next);
        return -1;
    }

private:
    std::array<std::pair<QStringView, int>, 8> recent_{};
    std::size_t few_ = 0;
    QHash<QStringView, int> many_;
};

// The collation keys of the texts; many are made on two threads, each with a collator of
// its own.
void MakeSortKeys(const std::vector<QStringView>& texts, GermanSortKeys& keys) {
    if (texts.size() < kRowsForTwoThreads || std::thread::hardware_concurrency() < 2) {
        for (QStringView text : texts) {
            keys.Add(text);
        }
        return;
    }
    const std::size_t half = texts.size() / 2;
    std::unique_ptr<GermanSortKeys> secondKeys;
    std::thread second([&] {
        secondKeys = std::make_unique<GermanSortKeys>();
        for (std::size_t i = half; i < texts.size(); ++i) {
            secondKeys->Add(texts[i]);
        }
    });
    for (std::size_t i = 0; i < half; ++i) {
        keys.Add(texts[i]);
    }
    second.join();
    keys.Append(*secondKeys);
}

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

// A glob pattern ("*" any text, "?" one character), matched against the whole text with case
// ignored; the pattern comes case folded. Characters are folded one by one, so a search does
// not copy every cell it looks at.
bool MatchesWildcard(QStringView text, QStringView pattern) {
    qsizetype t = 0, p = 0, starP = -1, starT = 0;
    while (t < text.size()) {
        if (p < pattern.size() && (pattern[p] == u'?' || pattern[p] == text[t].toCaseFolded())) {
            ++t;
            ++p;
        } else if (p < pattern.size() && pattern[p] == u'*') {
            starP = p++;
            starT = t;
        } else if (starP >= 0) {
            p = starP + 1;
            t = ++starT;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*') {
        ++p;
    }
    return p == pattern.size();
}

} // namespace

void ResultTable::SortBy(const QString& keys, vastrel::SortDirection direction) {
    const bool descending = direction == vastrel::SortDirection::Descending;
    std::vector<int> keyColumns;
    QStringList orderParts;
    for (const QString& rawKey : keys.split(u',')) {
        const QString key = rawKey.trimmed();
        const int c = Resolve(key);
        if (c >= 0) {
            keyColumns.push_back(c);
            orderParts << key + (descending ? u" DESC"_s : u" ASC"_s);
        }
    }
    sortOrder_ = orderParts.join(u',');
    for (std::size_t c = 0; c < columns_.size(); ++c) {
        columns_[c].sortDirection = (!keyColumns.empty() && keyColumns.front() == static_cast<int>(c))
                                        ? direction
                                        : vastrel::SortDirection::None;
    }
    if (keyColumns.empty() || rows_.size() < 2) {
        NotifyReset();
        return;
    }

    // Each cell is read and converted once; the order is found from the results alone.
    const std::size_t rowCount = rows_.size();
    // A row's values of all keys side by side.
    const std::size_t keyCount = keyColumns.size();
    std::vector<SortValue> values(rowCount * keyCount);
    // The key cells of rows [first, last), all keys of a row at once: numbers as they are,
    // texts numbered in each key's `texts`. Short texts ("m", "w", club codes) repeat and share
    // one collation key; longer ones, mostly distinct names, get their own: looking for equals
    // would cost more than the keys. The rows stay put here, so views of them do.
    struct KeyTexts {
        ShortTexts shortTexts;
        std::vector<QStringView> texts;
    };
    const auto readKeys = [&](std::size_t first, std::size_t last, std::vector<KeyTexts>& keyTexts) {
        constexpr qsizetype kSharedKeyLength = 16;
        constexpr std::size_t kHeadsAhead = 16;
        constexpr std::size_t kCellsAhead = 8;
        for (std::size_t r = first; r < last; ++r) {
            if (r + kHeadsAhead < last) {
                rows_[r + kHeadsAhead].cells.PrefetchHead();
            }
            for (std::size_t k = 0; k < keyCount; ++k) {
                const auto c = static_cast<std::size_t>(keyColumns[k]);
                if (r + kCellsAhead < last) {
                    rows_[r + kCellsAhead].cells.PrefetchCell(c);
                }
                const QStringView text = rows_[r].Cell(c);
                SortValue& v = values[r * keyCount + k];
                if (IsBlankText(text)) {
                    continue;
                }
                std::optional<double> number;
                if (columns_[c].Kind() == ColumnKind::Number) {
                    number = ConvertStrict(text);
                } else if (columns_[c].Kind() == ColumnKind::SprintTime) {
                    number = SprintSeconds(text);
                }
                if (number) {
                    v = SortValue::OfNumber(*number);
                    continue;
                }
                std::vector<QStringView>& texts = keyTexts[k].texts;
                if (text.size() <= kSharedKeyLength) {
                    const int known = keyTexts[k].shortTexts.Find(text, static_cast<int>(texts.size()));
                    if (known >= 0) {
                        v = SortValue::OfText(known);
                        continue;
                    }
                }
                v = SortValue::OfText(static_cast<int>(texts.size()));
                texts.push_back(text);
            }
        }
    };
    std::vector<KeyTexts> keyTexts(keyCount);
    if (rowCount < kRowsForTwoThreads || std::thread::hardware_concurrency() < 2) {
        readKeys(0, rowCount, keyTexts);
    } else {
        // Two halves at once; the second's texts are numbered on after the first's (a text in
        // both halves gets two numbers, and the ranking gives both the same rank).
        const std::size_t half = rowCount / 2;
        std::vector<KeyTexts> secondTexts(keyCount);
        std::thread second([&] { readKeys(half, rowCount, secondTexts); });
        readKeys(0, half, keyTexts);
        second.join();
        for (std::size_t k = 0; k < keyCount; ++k) {
            if (secondTexts[k].texts.empty()) {
                continue;
            }
            std::vector<QStringView>& texts = keyTexts[k].texts;
            const int offset = static_cast<int>(texts.size());
            for (std::size_t r = half; r < rowCount; ++r) {
                SortValue& v = values[r * keyCount + k];
                if (v.cls() == SortValue::Text) {
                    v = SortValue::OfText(v.textKey() + offset);
                }
            }
            texts.insert(texts.end(), secondTexts[k].texts.begin(), secondTexts[k].texts.end());
        }
    }
    for (std::size_t k = 0; k < keyCount; ++k) {
        SortValue* const keyValues = values.data() + k;
        const std::vector<QStringView>& texts = keyTexts[k].texts;
        if (!texts.empty()) {
            GermanSortKeys textKeys;
            MakeSortKeys(texts, textKeys);
            const std::vector<int> rank = RankTexts(texts, textKeys);
            for (std::size_t r = 0; r < rowCount; ++r) {
                SortValue& v = keyValues[r * keyCount];
                if (v.cls() == SortValue::Text) {
                    v = SortValue::OfText(rank[static_cast<std::size_t>(v.textKey())]);
                }
            }
        }
    }

    std::vector<SortIndex> order = StableOrderOf(std::move(values), keyCount, descending);

    bool moved = false;
    for (std::size_t i = 0; i < rowCount && !moved; ++i) {
        moved = order[i] != i;
    }
    if (!moved) {
        NotifyReset();
        return; // already in order: nothing changes, nothing to take back
    }
    if (journal_) {
        RecordOrder();
    }
    int newCurrent = 0;
    for (std::size_t i = 0; i < rowCount; ++i) {
        if (static_cast<int>(order[i]) + 1 == currentRow_) {
            newCurrent = static_cast<int>(i) + 1;
        }
    }
    // The rows move in place, cycle by cycle: a new table of a million rows would add 64 MB to
    // the peak while the freed collation keys still hold theirs. A place filled gets its own
    // number in `order`.
    for (std::size_t start = 0; start < rowCount; ++start) {
        if (order[start] == start) {
            continue;
        }
        Row held = std::move(rows_[start]);
        std::size_t at = start;
        // Each step waits for a row far away; the cycle's rows some steps ahead are asked for
        // meanwhile (`order` is small enough to be read ahead cheaply).
        constexpr int kRowsAhead = 8;
        std::size_t ahead = start;
        for (int k = 0; k < kRowsAhead && order[ahead] != start; ++k) {
            ahead = order[ahead];
            __builtin_prefetch(&rows_[ahead], 1);
        }
        while (order[at] != start) {
            const std::size_t from = order[at];
            if (order[ahead] != start) {
                ahead = order[ahead];
                __builtin_prefetch(&rows_[ahead], 1);
                __builtin_prefetch(reinterpret_cast<const char*>(&rows_[ahead] + 1) - 1, 1);
            }
            rows_[at] = std::move(rows_[from]);
            order[at] = static_cast<SortIndex>(at);
            at = from;
        }
        rows_[at] = std::move(held);
        order[at] = static_cast<SortIndex>(at);
    }
    currentRow_ = newCurrent;
    NotifyReset();
}

int ResultTable::FindRow(const QString& pattern, int& column) const {
    const int rowCount = RowCount();
    if (rowCount == 0 || pattern.isEmpty()) {
        return 0;
    }
    const QString folded = pattern.toCaseFolded();
    std::vector<int> searched;
    if (column >= 1 && column <= ColumnCount()) {
        searched.push_back(column);
    } else {
        for (int c = 1; c <= ColumnCount(); ++c) {
            if (columns_[static_cast<std::size_t>(c - 1)].visible) {
                searched.push_back(c);
            }
        }
    }
    for (int step = 1; step <= rowCount; ++step) {
        const int row = (currentRow_ + step - 1) % rowCount + 1;
        for (int c : searched) {
            if (MatchesWildcard(CellView(row, c), folded)) {
                column = c;
                return row;
            }
        }
    }
    return 0;
}

} // namespace vastrel

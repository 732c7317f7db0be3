#include "system/TextIndex.h"

namespace vastrel {

std::size_t TextIndex::Hash(QStringView text) {
    std::size_t h = 1469598103934665603ull; // FNV-1a over the UTF-16 units
    for (QChar c : text) {
        h = (h ^ c.unicode()) * 1099511628211ull;
    }
    return h ^ (h >> 29);
}

void TextIndex::Grow() {
    const std::size_t size = slots_.empty() ? 1024 : slots_.size() * 2;
    slots_.assign(size, -1);
    for (std::size_t t = 0; t < texts_.size(); ++t) {
        std::size_t i = Hash(texts_[t]) & (size - 1);
        while (slots_[i] >= 0) {
            i = (i + 1) & (size - 1);
        }
        slots_[i] = static_cast<int>(t);
    }
}

TextIndex::Entry TextIndex::Insert(QStringView text) {
    if ((texts_.size() + 1) * 2 > slots_.size()) {
        Grow();
    }
    const std::size_t mask = slots_.size() - 1;
    std::size_t i = Hash(text) & mask;
    for (; slots_[i] >= 0; i = (i + 1) & mask) {
        if (QStringView(texts_[static_cast<std::size_t>(slots_[i])]) == text) {
            return {slots_[i], false};
        }
    }
    slots_[i] = static_cast<int>(texts_.size());
    texts_.push_back(text.toString());
    return {slots_[i], true};
}

} // namespace vastrel

#include "scoring/RowDraft.h"

#include <algorithm>

namespace vastrel {

void RowDraft::Begin(const RowCells& cells, std::size_t columnCount) {
    cells_ = &cells;
    for (std::uint32_t c : writtenColumns_) {
        if (c < written_.size()) {
            written_[c] = Piece();
        }
    }
    written_.resize(columnCount);
    writtenColumns_.clear();
    chars_.clear();
}

void RowDraft::Store(int column, QStringView text) {
    const auto c = static_cast<std::size_t>(column - 1);
    if (column < 1 || c >= written_.size()) {
        return; // as the table ignores a write outside it
    }
    const QStringView old = Cell(column);
    if (old.size() == text.size() && std::equal(text.begin(), text.end(), old.begin())) {
        return;
    }
    if (written_[c].length == kUnwritten) {
        writtenColumns_.push_back(static_cast<std::uint32_t>(c));
    }
    // A cell written again gets new room: the draft lives for one row, the old text is small.
    written_[c] = {static_cast<std::uint32_t>(chars_.size()), static_cast<std::uint32_t>(text.size())};
    chars_.insert(chars_.end(), text.utf16(), text.utf16() + text.size());
}

bool RowDraft::Changed() const {
    for (std::uint32_t c : writtenColumns_) {
        const QStringView now = Cell(static_cast<int>(c) + 1);
        const QStringView before = cells_->At(c);
        if (now.size() != before.size() || !std::equal(now.begin(), now.end(), before.begin())) {
            return true;
        }
    }
    return false;
}

void RowDraft::AppendImage(std::vector<char>& out) {
    fields_.resize(written_.size());
    for (std::size_t c = 0; c < fields_.size(); ++c) {
        fields_[c] = Cell(static_cast<int>(c) + 1);
    }
    RowCells::AppendImage(fields_, out);
}

} // namespace vastrel

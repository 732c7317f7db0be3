#pragma once

#include "table/RowCells.h"

#include <QStringView>

#include <cstdint>
#include <vector>

namespace vastrel {

// One row's cells as scoring changes them, without writing them anywhere: the row's own texts
// where nothing was written, the written texts beside them. The scored row is then made in one
// allocation, instead of moving the later cells once for each of the fifteen cells written.
class RowDraft {
public:
    // Starts over on `cells`, which must stay unchanged while the draft is used.
    void Begin(const RowCells& cells, std::size_t columnCount);
    // Columns count from 1, as in the table. A view is valid until the next Store.
    QStringView Cell(int column) const {
        const auto c = static_cast<std::size_t>(column - 1);
        if (c >= written_.size()) {
            return {};
        }
        const Piece piece = written_[c];
        return piece.length == kUnwritten ? cells_->At(c)
                                          : QStringView(chars_.data() + piece.start, piece.length);
    }
    void Store(int column, QStringView text);
    // Some cell now reads differently from the row's own.
    bool Changed() const;
    // The scored row as an image (see RowCells::AppendImage).
    void AppendImage(std::vector<char>& out);

private:
    static constexpr std::uint32_t kUnwritten = 0xFFFFFFFF;
    struct Piece {
        std::uint32_t start = 0;
        std::uint32_t length = kUnwritten;
    };
    const RowCells* cells_ = nullptr;
    std::vector<Piece> written_;
    std::vector<std::uint32_t> writtenColumns_;
    std::vector<char16_t> chars_;
    std::vector<QStringView> fields_;
};

} // namespace vastrel

#include "table/TableView.h"

#include "table/ResultTable.h"

#include <algorithm>

namespace vastrel {

namespace {

// A glob pattern ("*" any text, "?" one character), matched against the whole text with case
// ignored; the pattern comes case folded. Characters are folded one by one, so a search does not
// copy every cell it looks at.
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

TableView::TableView(ResultTable& table) : table_(table) {
    table_.AddObserver(this);
}

TableView::~TableView() {
    table_.RemoveObserver(this);
}

bool TableView::RowSelected(int row) const {
    const RowId id = table_.IdOf(row);
    return id != 0 && id < selected_.size() && selected_[id];
}

void TableView::SetRowSelected(int row, bool selected) {
    if (table_.IdOf(row) == 0 || RowSelected(row) == selected) {
        return;
    }
    Selected(row) = selected;
    selectedCount_ += selected ? 1 : -1;
    Tell();
}

std::vector<bool>::reference TableView::Selected(int row) {
    const RowId id = table_.IdOf(row);
    if (selected_.size() < table_.NextRowId()) {
        selected_.resize(table_.NextRowId(), false);
    }
    return selected_[id];
}

void TableView::SelectRows(int first, int last) {
    bool changed = false;
    for (int row = std::max(first, 1); row <= std::min(last, table_.RowCount()); ++row) {
        if (!RowSelected(row)) {
            Selected(row) = true;
            ++selectedCount_;
            changed = true;
        }
    }
    if (changed) {
        Tell();
    }
}

void TableView::ClearSelection() {
    if (selectedCount_ == 0) {
        return;
    }
    selected_.assign(selected_.size(), false);
    selectedCount_ = 0;
    Tell();
}

std::vector<int> TableView::SelectedRows() const {
    std::vector<int> rows;
    for (int row = 1; row <= table_.RowCount() && static_cast<int>(rows.size()) < selectedCount_; ++row) {
        if (RowSelected(row)) {
            rows.push_back(row);
        }
    }
    return rows;
}

int TableView::CurrentRow() const {
    return std::min(currentRow_, table_.RowCount());
}

void TableView::SetCurrentRow(int row) {
    const int clamped = table_.RowCount() == 0 ? 0 : std::clamp(row, 1, table_.RowCount());
    if (clamped != CurrentRow()) {
        currentRow_ = clamped;
        Tell();
    }
}

void TableView::SetSearchText(const QString& text) {
    if (searchText_ != text) {
        searchText_ = text;
        Tell();
    }
}

int TableView::FindRow(const QString& pattern, int& column) const {
    const int rowCount = table_.RowCount();
    if (rowCount == 0 || pattern.isEmpty()) {
        return 0;
    }
    const QString folded = pattern.toCaseFolded();
    std::vector<int> searched;
    if (column >= 1 && column <= table_.ColumnCount()) {
        searched.push_back(column);
    } else {
        for (int c = 1; c <= table_.ColumnCount(); ++c) {
            if (table_.Visible(c)) {
                searched.push_back(c);
            }
        }
    }
    for (int step = 1; step <= rowCount; ++step) {
        const int row = (CurrentRow() + step - 1) % rowCount + 1;
        for (int c : searched) {
            if (MatchesWildcard(table_.CellView(row, c), folded)) {
                column = c;
                return row;
            }
        }
    }
    return 0;
}

void TableView::ChangeMade(const Change& change) {
    const auto unselect = [this](const std::vector<Row>& rows) {
        for (const Row& row : rows) {
            if (row.id < selected_.size() && selected_[row.id]) {
                selected_[row.id] = false;
                --selectedCount_;
            }
        }
    };
    for (const Change::Part& part : change.Parts()) {
        if (const auto* placed = std::get_if<Change::RowsPlaced>(&part); placed && !placed->added) {
            unselect(placed->rows);
        } else if (const auto* whole = std::get_if<Change::Replacement>(&part)) {
            unselect(whole->before.rows);
        }
    }
}

void TableView::AddObserver(ResultTableObserver* observer) {
    observers_.push_back(observer);
}

void TableView::RemoveObserver(ResultTableObserver* observer) {
    observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

void TableView::Tell() {
    if (!table_.IsLocked()) {
        for (ResultTableObserver* observer : observers_) {
            observer->ViewChanged();
        }
    }
}

} // namespace vastrel

#pragma once

#include <QTableView>

namespace vastrel {

// The results grid's table view. A click selects the row, as the grid always has; a drag or
// Shift+Left/Right within one row selects cells of that row (for "Entf" to clear them), and a
// drag or Shift+Up/Down across rows selects whole rows again.
class GridView : public QTableView {
    Q_OBJECT
public:
    explicit GridView(QWidget* parent = nullptr);

    // Whether the selection holds cells of a row rather than whole rows.
    bool HoldsCellsInsideARow() const;

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event = nullptr) const override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    int pressedRow_ = -1;
};

} // namespace vastrel

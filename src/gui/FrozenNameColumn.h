#pragma once

#include <QWidget>

class QTableView;

namespace vastrel {

// The name column kept at the left edge while the grid is scrolled past it, as a spreadsheet
// freezes a column: painted over the grid from the grid's own rows, shown only while the grid's
// name column is out of sight to the left. It holds no view of the model (a second view cost a
// million-row open 0.6 s), takes no focus and no typing; a click on it selects the row.
class FrozenNameColumn : public QWidget {
    Q_OBJECT
public:
    explicit FrozenNameColumn(QTableView* grid);

    // The name column (from 0), after the grid's columns changed; -1 for none.
    void SetColumn(int column);
    // Shown or hidden and placed as the grid now stands.
    void Follow();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int HeaderHeight() const;

    QTableView* grid_;
    int column_ = -1;
};

} // namespace vastrel

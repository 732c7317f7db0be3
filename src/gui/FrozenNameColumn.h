#pragma once

#include <QTableView>

namespace vastrel {

// The name column kept at the left edge while the grid is scrolled past it, as a spreadsheet
// freezes a column: a second view over the grid's model and selection, laid over the grid and
// shown only while the grid's own name column is out of sight to the left. It takes no focus
// and no typing; a click on it selects the row where the grid stands.
class FrozenNameColumn : public QTableView {
    Q_OBJECT
public:
    explicit FrozenNameColumn(QTableView* grid);

    // The name column (from 0), after the grid's columns changed; -1 for none.
    void SetColumn(int column);
    // Shown or hidden and placed as the grid now stands.
    void Follow();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent*) override {}
    void mouseDoubleClickEvent(QMouseEvent*) override {}
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTableView* grid_;
    int column_ = -1;
};

} // namespace vastrel

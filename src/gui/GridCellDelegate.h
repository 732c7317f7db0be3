#pragma once

#include <QFont>
#include <QHash>
#include <QStaticText>
#include <QStyledItemDelegate>

class QTableView;

namespace vastrel {

// Paints a cell of the results grid: its background, its text in one line cut with "…" when it
// does not fit, a darker line above and below selected rows (whose colour alone is close to the
// alternating rows'), and a frame round the cursor's cell. The style's general item painting
// lays each text out three or four times; a window of cells is repainted after every command and
// every scroll, and most of its texts (run numbers, years, factors, times) recur: each is laid
// out once and kept.
// In the editor, Return and Tab commit as a spreadsheet's do and say where the cursor goes next.
class GridCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit GridCellDelegate(QTableView* view);
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    // Another station's change to a cell being typed into leaves the typing alone: the text
    // is only put into an editor the user has not changed yet.
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;

Q_SIGNALS:
    // An edit was committed by Return (down, Shift up) or Tab (across, Shift back): one of the
    // steps is 1 or -1.
    void EditLeft(int rowStep, int columnStep);

protected:
    bool eventFilter(QObject* editor, QEvent* event) override;

private:
    struct LaidOutText {
        QStaticText text;
        qreal width = 0;
    };
    const LaidOutText& LaidOut(const QString& text, const QFont& font) const;
    void DrawText(QPainter* painter, const QRect& room, Qt::Alignment align, const QString& text,
                  const QFont& font) const;

    QTableView* view_;
    mutable QFont laidOutFont_;
    mutable QHash<QString, LaidOutText> laidOut_; // in laidOutFont_
    mutable QFont laidOutBoldFont_;
    mutable QHash<QString, LaidOutText> laidOutBold_;
};

} // namespace vastrel

#include "gui/GridCellDelegate.h"
#include "gui/ResultTableModel.h"

#include <QFontMetrics>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace vastrel;

namespace {

struct Cell {
    QString text;
    bool bold;
    Qt::Alignment align;
    int width;
};

// The grid's own painting must put every text where the general painting of a text in a
// rectangle puts it, pixel for pixel: kept layouts of one text in plain and bold must not mix,
// a text too wide is cut with "…", and a line break makes no second line.
TEST(GridCellDelegate, DrawsTextsAsPlainTextPaintingDoes) {
    const Cell cells[] = {
        {u"4502"_s, false, Qt::AlignRight | Qt::AlignVCenter, 60},
        {u"4502"_s, true, Qt::AlignRight | Qt::AlignVCenter, 60},
        {u"4502"_s, false, Qt::AlignCenter, 60},
        {u"Läufer62, Vorname"_s, false, Qt::AlignLeft | Qt::AlignVCenter, 140},
        {u"Läufer62, Vorname"_s, false, Qt::AlignLeft | Qt::AlignVCenter, 50}, // cut
        {u"0:35:12.0"_s, true, Qt::AlignCenter, 30},                           // cut, bold
        {u"<b>w</b>"_s, false, Qt::AlignCenter, 60},                           // no markup
        {u"Meier\nAnna"_s, false, Qt::AlignLeft | Qt::AlignVCenter, 140},      // one line
    };
    QTableView view;
    QStandardItemModel model(1, 1);
    view.setModel(&model);
    GridCellDelegate delegate(&view);
    for (const Cell& cell : cells) {
        QFont font = view.font();
        font.setBold(cell.bold);
        model.setData(model.index(0, 0), cell.text);
        model.setData(model.index(0, 0), font, Qt::FontRole);
        model.setData(model.index(0, 0), QVariant::fromValue(cell.align), Qt::TextAlignmentRole);
        QStyleOptionViewItem option;
        option.initFrom(&view);
        option.widget = &view;
        option.rect = QRect(0, 0, cell.width, 24);
        option.font = view.font();

        QImage drawn(cell.width, 24, QImage::Format_ARGB32_Premultiplied);
        drawn.fill(Qt::white);
        QPainter onDrawn(&drawn);
        delegate.paint(&onDrawn, option, model.index(0, 0));
        onDrawn.end();

        QImage expected(cell.width, 24, QImage::Format_ARGB32_Premultiplied);
        expected.fill(Qt::white);
        QPainter onExpected(&expected);
        const int margin = view.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &view) + 1;
        const QRect room = option.rect.adjusted(margin, 0, -margin, 0);
        onExpected.setFont(font);
        onExpected.setPen(option.palette.color(QPalette::Text));
        onExpected.drawText(room, static_cast<int>(cell.align) | Qt::TextSingleLine,
                            QFontMetrics(font).elidedText(cell.text, Qt::ElideRight, room.width()));
        onExpected.end();
        EXPECT_EQ(drawn, expected) << cell.text.toStdString() << (cell.bold ? " bold " : " ") << cell.width;
    }
}

// A text not yet on the server is marked in the cell's corner, where no text stands.
TEST(GridCellDelegate, ACellNotYetOnTheServerIsMarkedInItsCorner) {
    QTableView view;
    QStandardItemModel model(1, 1);
    view.setModel(&model);
    GridCellDelegate delegate(&view);
    model.setData(model.index(0, 0), u"8.3"_s);
    for (const bool waiting : {false, true}) {
        model.setData(model.index(0, 0), waiting, ResultTableModel::kWaitingRole);
        QStyleOptionViewItem option;
        option.initFrom(&view);
        option.widget = &view;
        option.rect = QRect(0, 0, 60, 24);
        QImage drawn(60, 24, QImage::Format_ARGB32_Premultiplied);
        drawn.fill(Qt::white);
        QPainter onDrawn(&drawn);
        view.setCurrentIndex(model.index(0, 0)); // the cursor's frame around it, too
        delegate.paint(&onDrawn, option, model.index(0, 0));
        onDrawn.end();
        const QColor corner = drawn.pixelColor(57, 1);
        EXPECT_EQ(corner.red() > 200 && corner.blue() < 60, waiting) << corner.name().toStdString();
        EXPECT_EQ(drawn.pixelColor(30, 12), QColor(Qt::white)); // inside the frame, beside the text
    }
}

// A change to the cell under the editor (another station's) refreshes an untouched editor and
// leaves alone what the user is typing.
TEST(GridCellDelegate, AChangeUnderTheEditorKeepsWhatIsTyped) {
    QTableView view;
    QStandardItemModel model(1, 2);
    view.setModel(&model);
    GridCellDelegate delegate(&view);
    view.setItemDelegate(&delegate);
    model.setData(model.index(0, 0), u"8.8"_s);
    view.edit(model.index(0, 0));
    auto* editor = view.findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    model.setData(model.index(0, 0), u"8.9"_s);
    EXPECT_EQ(editor->text(), u"8.9"_s);
    editor->selectAll();
    QTest::keyClicks(editor, u"9.1"_s);
    model.setData(model.index(0, 0), u"9.0"_s);
    Q_EMIT model.dataChanged(model.index(0, 0), model.index(0, 1)); // the row, as the grid tells it
    EXPECT_EQ(editor->text(), u"9.1"_s);
}

} // namespace

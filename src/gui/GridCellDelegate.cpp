#include "gui/GridCellDelegate.h"

#include "gui/ResultTableModel.h"

#include <QLineEdit>

#include <QFontMetrics>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QTableView>

#include <algorithm>
#include <cmath>

namespace vastrel {

namespace {

const QColor kCursorFrame(0x1F, 0x3A, 0x6B);
const QColor kSelectionLine(0x4A, 0x78, 0xB0);
const QColor kWaitingMark(0xE0, 0x70, 0x00); // a text not yet on the server

// A page of a large table holds a few hundred texts; a long scroll meets many more.
constexpr qsizetype kMostTextsKept = 4096;

QPalette::ColorGroup ColourGroup(const QStyleOptionViewItem& option) {
    if (!(option.state & QStyle::State_Enabled)) {
        return QPalette::Disabled;
    }
    return option.state & QStyle::State_Active ? QPalette::Normal : QPalette::Inactive;
}

} // namespace

GridCellDelegate::GridCellDelegate(QTableView* view) : QStyledItemDelegate(view), view_(view) {}

bool GridCellDelegate::eventFilter(QObject* editor, QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return QStyledItemDelegate::eventFilter(editor, event);
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool back = key->modifiers() & Qt::ShiftModifier;
    int rowStep = 0;
    int columnStep = 0;
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        rowStep = back ? -1 : 1;
        break;
    case Qt::Key_Tab:
        columnStep = 1;
        break;
    case Qt::Key_Backtab:
        columnStep = -1;
        break;
    default:
        return QStyledItemDelegate::eventFilter(editor, event); // Escape keeps the old text there
    }
    auto* widget = qobject_cast<QWidget*>(editor);
    Q_EMIT commitData(widget);
    Q_EMIT closeEditor(widget, QAbstractItemDelegate::NoHint);
    Q_EMIT EditLeft(rowStep, columnStep);
    return true;
}

const GridCellDelegate::LaidOutText& GridCellDelegate::LaidOut(const QString& text, const QFont& font) const {
    const bool bold = font.bold();
    QFont& keptFont = bold ? laidOutBoldFont_ : laidOutFont_;
    QHash<QString, LaidOutText>& kept = bold ? laidOutBold_ : laidOut_;
    if (font != keptFont || kept.size() >= kMostTextsKept) {
        kept.clear();
        keptFont = font;
    }
    auto found = kept.find(text);
    if (found == kept.end()) {
        LaidOutText laidOut;
        laidOut.text.setTextFormat(Qt::PlainText);
        laidOut.text.setText(text);
        laidOut.text.prepare(QTransform(), font);
        laidOut.width = laidOut.text.size().width();
        found = kept.insert(text, laidOut);
    }
    return *found;
}

void GridCellDelegate::DrawText(QPainter* painter, const QRect& room, Qt::Alignment align,
                                const QString& text, const QFont& font) const {
    // A text with a line break stays on one line, as the general painting keeps it.
    const bool breaks = text.contains(u'\n') || text.contains(u'\r') || text.contains(QChar::LineSeparator);
    const LaidOutText* laidOut = breaks ? nullptr : &LaidOut(text, font);
    if (!laidOut || laidOut->width > room.width()) {
        painter->drawText(room, static_cast<int>(align) | Qt::TextSingleLine,
                          QFontMetrics(font).elidedText(text, Qt::ElideRight, room.width()));
        return;
    }
    qreal x = room.left();
    if (align & Qt::AlignRight) {
        x = room.left() + room.width() - laidOut->width;
    } else if (align & Qt::AlignHCenter) {
        x = room.left() + (room.width() - laidOut->width) / 2;
    }
    const qreal y = room.top() + (room.height() - laidOut->text.size().height()) / 2;
    painter->drawStaticText(QPointF(x, std::floor(y)), laidOut->text);
}

void GridCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    const bool selected = option.state & QStyle::State_Selected;
    const QPalette::ColorGroup group = ColourGroup(option);
    painter->save();
    if (selected) {
        painter->fillRect(option.rect, option.palette.brush(group, QPalette::Highlight));
    } else if (const QVariant background = index.data(Qt::BackgroundRole); background.isValid()) {
        painter->fillRect(option.rect, qvariant_cast<QBrush>(background));
    }
    if (const QString text = index.data(Qt::DisplayRole).toString(); !text.isEmpty()) {
        QFont font = option.font;
        if (const QVariant cellFont = index.data(Qt::FontRole); cellFont.isValid()) {
            font = qvariant_cast<QFont>(cellFont).resolve(option.font);
        }
        const QVariant foreground = index.data(Qt::ForegroundRole);
        painter->setPen(
            selected || !foreground.isValid()
                ? option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text)
                : qvariant_cast<QBrush>(foreground).color());
        painter->setFont(font);
        // The style's margin, so the texts stand where they always did.
        const QStyle* style = option.widget ? option.widget->style() : view_->style();
        const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, option.widget) + 1;
        const QRect room = option.rect.adjusted(margin, 0, -margin, 0);
        const QVariant alignment = index.data(Qt::TextAlignmentRole);
        const Qt::Alignment align =
            alignment.isValid() ? qvariant_cast<Qt::Alignment>(alignment) : Qt::AlignLeft | Qt::AlignVCenter;
        DrawText(painter, room, align, text, font);
    }
    if (selected) {
        painter->setPen(QPen(kSelectionLine, 1));
        painter->drawLine(option.rect.topLeft(), option.rect.topRight());
        painter->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());
    }
    if (index == view_->currentIndex()) {
        painter->setPen(QPen(kCursorFrame, 2));
        painter->drawRect(option.rect.adjusted(1, 1, -1, -1));
    }
    if (index.data(ResultTableModel::kWaitingRole).toBool()) {
        // A corner, as spreadsheets mark a cell with a note, over the cursor's frame: the text stays
        // readable and the mark seen.
        const QRect r = option.rect;
        const int side = std::min(7, r.height() / 2);
        const QPoint corner[] = {r.topRight() - QPoint(side, 0), r.topRight(),
                                 r.topRight() + QPoint(0, side)};
        painter->setPen(Qt::NoPen);
        painter->setBrush(kWaitingMark);
        painter->drawPolygon(corner, 3);
    }
    painter->restore();
}

void GridCellDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    if (const auto* line = qobject_cast<QLineEdit*>(editor); line && line->isModified()) {
        return;
    }
    QStyledItemDelegate::setEditorData(editor, index);
}

} // namespace vastrel

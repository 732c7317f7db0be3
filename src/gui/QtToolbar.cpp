#include "gui/QtToolbar.h"

#include "app/ToolbarDefinition.h"

#include <QApplication>
#include <QLayout>
#include <QMenu>
#include <QShortcut>
#include <QStyle>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace vastrel {

namespace {

QIcon IconFor(const QString& name) {
    static const QHash<QString, QStyle::StandardPixmap> icons = {
        {u"database"_s, QStyle::SP_DriveHDIcon},
        {u"open"_s, QStyle::SP_DialogOpenButton},
        {u"save"_s, QStyle::SP_DialogSaveButton},
        {u"save-as"_s, QStyle::SP_DriveFDIcon},
        {u"server"_s, QStyle::SP_DriveNetIcon},
        {u"server-create"_s, QStyle::SP_ArrowUp},
        {u"quit"_s, QStyle::SP_DialogCloseButton},
        {u"view"_s, QStyle::SP_FileDialogDetailedView},
        {u"day"_s, QStyle::SP_FileDialogListView},
        {u"all"_s, QStyle::SP_FileDialogDetailedView},
        {u"edit"_s, QStyle::SP_FileDialogContentsView},
        {u"factors"_s, QStyle::SP_FileDialogInfoView},
        {u"recalculate"_s, QStyle::SP_BrowserReload},
        {u"read-times"_s, QStyle::SP_DialogOpenButton},
        {u"watch-times"_s, QStyle::SP_DirIcon},
        {u"delete"_s, QStyle::SP_TrashIcon},
        {u"append"_s, QStyle::SP_FileDialogNewFolder},
        {u"clear"_s, QStyle::SP_DialogResetButton},
        {u"sort"_s, QStyle::SP_ArrowDown},
        {u"sort-item"_s, QStyle::SP_ToolBarVerticalExtensionButton},
        {u"print"_s, QStyle::SP_FileIcon},
        {u"print-all"_s, QStyle::SP_FileDialogDetailedView},
        {u"print-selection"_s, QStyle::SP_FileDialogListView},
        {u"certificate"_s, QStyle::SP_DialogApplyButton},
        {u"certificate-item"_s, QStyle::SP_DialogYesButton},
        {u"pdf"_s, QStyle::SP_FileIcon},
        {u"live"_s, QStyle::SP_DriveNetIcon},
        {u"live-files"_s, QStyle::SP_DirLinkIcon},
        {u"undo"_s, QStyle::SP_ArrowBack},
        {u"redo"_s, QStyle::SP_ArrowForward},
        {u"info"_s, QStyle::SP_MessageBoxInformation},
        {u"web"_s, QStyle::SP_DirHomeIcon},
    };
    const auto it = icons.constFind(name);
    return it == icons.cend() ? QIcon() : QApplication::style()->standardIcon(it.value());
}

QWidget* Spacer(QWidget* parent, const QString& name, int width) {
    auto* spacer = new QWidget(parent);
    spacer->setObjectName(name);
    spacer->setFixedWidth(width);
    return spacer;
}

} // namespace

QtToolbar::QtToolbar(QWidget* parent) : QToolBar(parent) {
    setObjectName(u"Coolbar1"_s);
    setMovable(false);
    setFloatable(false);
    setIconSize(QSize(16, 16));
    setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    int position = 0;
    for (const ToolbarButtonDefinition& def : ToolbarButtons()) {
        ++position;
        const QString key = QString::fromUtf16(def.key);
        positions_ << key;
        switch (def.kind) {
        case ToolbarButtonKind::Separator:
            addWidget(Spacer(this, QString(), def.width));
            continue;
        case ToolbarButtonKind::Placeholder: {
            QWidget* placeholder = Spacer(this, key, 0);
            addWidget(placeholder);
            buttons_.insert(key, placeholder);
            continue;
        }
        case ToolbarButtonKind::Plain:
        case ToolbarButtonKind::DropDown:
            break;
        }
        auto* button = new QToolButton(this);
        button->setObjectName(key);
        button->setText(QString::fromUtf16(def.caption));
        button->setIcon(IconFor(QString::fromUtf16(def.icon)));
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        // The widths are those of the original 8-point font: a floor, so no caption is ever cut.
        button->setMinimumWidth(def.width);
        button->setAutoRaise(true);
        addWidget(button);
        buttons_.insert(key, button);
        // A key of its own, beside the caption rather than in it: the captions stay as they are.
        const QList<QKeySequence> keys = QKeySequence::listFromString(QString::fromUtf16(def.shortcut));
        for (const QKeySequence& sequence : keys) {
            auto* shortcut = new QShortcut(sequence, this);
            connect(shortcut, &QShortcut::activated, button,
                    [button] { button->menu() ? button->showMenu() : button->click(); });
        }
        if (!keys.isEmpty()) {
            button->setToolTip(u"%1 (%2)"_s.arg(QString::fromUtf16(def.caption),
                                                QKeySequence::listToString(keys, QKeySequence::NativeText)));
        }
        if (def.kind == ToolbarButtonKind::Plain) {
            connect(button, &QToolButton::clicked, this, [this, key] { Q_EMIT ButtonClicked(key); });
            continue;
        }
        auto* menu = new QMenu(button);
        menu->setToolTipsVisible(true); // why an item is disabled
        menu->setObjectName(key + u"Menu"_s);
        for (const ToolbarItemDefinition& item : def.items) {
            const QString itemKey = QString::fromUtf16(item.key);
            if (item.separatorBefore) {
                menu->addSeparator();
            }
            QAction* action =
                menu->addAction(IconFor(QString::fromUtf16(item.icon)), QString::fromUtf16(item.caption));
            action->setObjectName(itemKey);
            action->setCheckable(item.checked);
            action->setChecked(item.checked);
            action->setVisible(item.visible);
            action->setShortcuts(QKeySequence::listFromString(QString::fromUtf16(item.shortcuts)));
            items_.insert(itemKey, action);
            if (!action->shortcuts().isEmpty()) {
                shortcutItems_ << action;
            }
            // Check marks change only by command: the click's own toggle is taken back.
            connect(action, &QAction::triggered, this, [this, action, position, itemKey] {
                if (action->isCheckable()) {
                    action->setChecked(!action->isChecked());
                }
                Q_EMIT MenuItemClicked(position, itemKey);
            });
        }
        connect(menu, &QMenu::aboutToShow, this, &QtToolbar::MenuOpening);
        button->setMenu(menu);
        button->setPopupMode(QToolButton::InstantPopup);
    }
}

QString QtToolbar::ButtonKey(int index) const {
    return index >= 1 && index <= positions_.size() ? positions_.at(index - 1) : QString();
}

bool QtToolbar::ItemChecked(const QString& itemKey) const {
    const QAction* action = items_.value(itemKey);
    return action && action->isChecked();
}

void QtToolbar::SetItemChecked(const QString& itemKey, bool checked) {
    if (QAction* action = items_.value(itemKey)) {
        action->setCheckable(true);
        action->setChecked(checked);
    }
}

void QtToolbar::SetItemEnabled(const QString& itemKey, bool enabled) {
    if (QAction* action = items_.value(itemKey)) {
        action->setEnabled(enabled);
    }
}

void QtToolbar::SetItemToolTip(const QString& itemKey, const QString& toolTip) {
    if (QAction* action = items_.value(itemKey)) {
        action->setToolTip(toolTip);
    }
}

void QtToolbar::SetItemVisible(const QString& itemKey, bool visible) {
    if (QAction* action = items_.value(itemKey)) {
        action->setVisible(visible);
    }
}

void QtToolbar::SetItemCaption(const QString& itemKey, const QString& caption) {
    if (QAction* action = items_.value(itemKey)) {
        action->setText(caption);
    }
}

int QtToolbar::ButtonWidth(const QString& buttonKey) const {
    const QWidget* button = buttons_.value(buttonKey);
    return button ? std::max({button->width() * (button->isVisible() ? 1 : 0), button->minimumWidth(),
                              button->sizeHint().width()})
                  : 0;
}

void QtToolbar::SetButtonWidth(const QString& buttonKey, int pixels) {
    if (QWidget* button = buttons_.value(buttonKey)) {
        button->setFixedWidth(std::max(0, pixels));
    }
}

int QtToolbar::ButtonLeft(const QString& buttonKey) const {
    // Before the toolbar has been laid out, the left edge follows from everything before it.
    const QWidget* target = buttons_.value(buttonKey);
    if (!target) {
        return 0;
    }
    if (target->isVisible() && target->x() > 0) {
        return target->x();
    }
    int left = contentsMargins().left() + layout()->contentsMargins().left();
    for (QAction* action : actions()) {
        QWidget* widget = widgetForAction(action);
        if (widget == target) {
            break;
        }
        if (widget) {
            left += std::max(widget->minimumWidth(), widget->sizeHint().width()) + layout()->spacing();
        }
    }
    return left;
}

} // namespace vastrel

#pragma once

#include "ports/Toolbar.h"

#include <QHash>
#include <QToolBar>

class QAction;
class QToolButton;

namespace vastrel {

// The toolbar on real buttons, built from the toolbar definition: keys are object names.
class QtToolbar : public QToolBar, public Toolbar {
    Q_OBJECT
public:
    explicit QtToolbar(QWidget* parent = nullptr);

    void SetEnabled(bool enabled) override { setEnabled(enabled); }
    bool IsEnabled() const override { return isEnabled(); }
    QString ButtonKey(int index) const override;
    bool ItemChecked(const QString& itemKey) const override;
    void SetItemChecked(const QString& itemKey, bool checked) override;
    void SetItemCaption(const QString& itemKey, const QString& caption) override;
    void SetItemEnabled(const QString& itemKey, bool enabled) override;
    void SetItemToolTip(const QString& itemKey, const QString& toolTip) override;
    void SetItemVisible(const QString& itemKey, bool visible) override;
    int ButtonWidth(const QString& buttonKey) const override;
    int ButtonLeft(const QString& buttonKey) const override;
    void SetButtonWidth(const QString& buttonKey, int pixels) override;

    QAction* Item(const QString& itemKey) const { return items_.value(itemKey); }
    QWidget* Button(const QString& buttonKey) const { return buttons_.value(buttonKey); }
    // The menu items with a shortcut: the window takes them, so the keys work with the menus closed.
    const QList<QAction*>& ShortcutItems() const { return shortcutItems_; }

Q_SIGNALS:
    void ButtonClicked(const QString& buttonKey);
    void MenuItemClicked(int buttonIndex, const QString& itemKey);
    void MenuOpening(); // a drop-down menu is about to show

private:
    QStringList positions_; // key per position from 1; separators are empty
    QHash<QString, QWidget*> buttons_;
    QHash<QString, QAction*> items_;
    QList<QAction*> shortcutItems_;
};

} // namespace vastrel

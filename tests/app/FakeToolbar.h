#pragma once

#include "app/ToolbarDefinition.h"
#include "ports/Toolbar.h"

#include <QHash>
#include <QList>

namespace vastrel::testing {

// The toolbar's definition without widgets; records every change of the enabled state.
class FakeToolbar : public Toolbar {
public:
    FakeToolbar() {
        for (const ToolbarButtonDefinition& button : ToolbarButtons()) {
            keys_ << QString::fromUtf16(button.key);
            widths_.insert(QString::fromUtf16(button.key), button.width);
            for (const ToolbarItemDefinition& item : button.items) {
                checked_.insert(QString::fromUtf16(item.key), item.checked);
            }
        }
    }
    void SetEnabled(bool enabled) override {
        enabled_ = enabled;
        enabledHistory << enabled;
    }
    bool IsEnabled() const override { return enabled_; }
    QString ButtonKey(int index) const override {
        return index >= 1 && index <= keys_.size() ? keys_[index - 1] : QString();
    }
    bool ItemChecked(const QString& key) const override { return checked_.value(key); }
    void SetItemChecked(const QString& key, bool checked) override { checked_.insert(key, checked); }
    void SetItemCaption(const QString& key, const QString& caption) override {
        captions.insert(key, caption);
    }
    void SetItemEnabled(const QString& key, bool enabled) override { enabledItems.insert(key, enabled); }
    void SetItemVisible(const QString& key, bool visible) override { visibleItems.insert(key, visible); }
    void SetItemToolTip(const QString& key, const QString& toolTip) override {
        toolTips.insert(key, toolTip);
    }
    int ButtonWidth(const QString& key) const override { return widths_.value(key); }
    int ButtonLeft(const QString&) const override { return 0; }
    void SetButtonWidth(const QString& key, int pixels) override { widths_.insert(key, pixels); }

    int IndexOf(const QString& key) const { return static_cast<int>(keys_.indexOf(key)) + 1; }

    QList<bool> enabledHistory;
    QHash<QString, QString> captions;
    QHash<QString, bool> enabledItems;
    QHash<QString, bool> visibleItems;
    QHash<QString, QString> toolTips;

private:
    bool enabled_ = true;
    QStringList keys_;
    QHash<QString, int> widths_;
    QHash<QString, bool> checked_;
};

} // namespace vastrel::testing

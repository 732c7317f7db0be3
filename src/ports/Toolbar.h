#pragma once

#include <QString>

namespace vastrel {

// What the commands need of the toolbar; the window implements it on real buttons.
class Toolbar {
public:
    virtual ~Toolbar() = default;
    virtual void SetEnabled(bool enabled) = 0;
    virtual bool IsEnabled() const = 0;
    // The key of the drop-down button at a position (from 1, separators counted).
    virtual QString ButtonKey(int index) const = 0;
    virtual bool ItemChecked(const QString& itemKey) const = 0;
    virtual void SetItemChecked(const QString& itemKey, bool checked) = 0;
    virtual void SetItemCaption(const QString& itemKey, const QString& caption) = 0;
    virtual void SetItemEnabled(const QString& itemKey, bool enabled) = 0;
    // Shown on the item while the pointer rests on it; empty for none.
    virtual void SetItemToolTip(const QString& itemKey, const QString& toolTip) = 0;
    virtual void SetItemVisible(const QString& itemKey, bool visible) = 0;
    virtual int ButtonWidth(const QString& buttonKey) const = 0; // pixels
    virtual int ButtonLeft(const QString& buttonKey) const = 0;  // pixels
    virtual void SetButtonWidth(const QString& buttonKey, int pixels) = 0;
};

} // namespace vastrel

#pragma once

#include <QString>

#include <vector>

namespace vastrel {

struct ToolbarItemDefinition {
    const char16_t* key;
    const char16_t* caption;
    const char16_t* icon; // a name the window turns into a picture; empty for none
    bool checked = false;
    bool visible = true;
    bool separatorBefore = false;
    const char16_t* shortcuts = u""; // key sequences joined by "; "
};

enum class ToolbarButtonKind { DropDown, Separator, Placeholder, Plain };

struct ToolbarButtonDefinition {
    ToolbarButtonKind kind;
    const char16_t* key; // empty for separators
    const char16_t* caption;
    const char16_t* icon;
    int width; // pixels; the placeholder's is computed
    std::vector<ToolbarItemDefinition> items;
    const char16_t* shortcut = u""; // opens the menu, or clicks a plain button: "Alt+D"
};

// The toolbar from left to right: six drop-down buttons, separators, the placeholder that
// pushes "Info", "Web" and "Ende" to the right end.
const std::vector<ToolbarButtonDefinition>& ToolbarButtons();

inline constexpr int kToolbarHeightTwips = 348;

// The caption of a menu item as the toolbar defines it; the empty text for an unknown key.
QString ItemCaption(const QString& itemKey);

} // namespace vastrel

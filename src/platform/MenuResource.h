#pragma once
// A menu kept as data, found by its numeric id: its items with their texts
// (English message ids in UTF-8, translated when the menu is built), command
// ids, flags and pop-ups. An item belongs to its menu, so both live here.

#include <string>
#include <vector>

namespace platform {

// Menu item flags.
inline constexpr unsigned MF_GRAYED = 0x1;
inline constexpr unsigned MF_CHECKED = 0x8;
inline constexpr unsigned MF_SEPARATOR = 0x800;
// Right-aligned in the menu bar (the Help menu).
inline constexpr unsigned MF_HELP = 0x4000;

// One item: a command (text and id), a separator, or a pop-up with its own items.
struct MenuItemResource {
    std::string text;
    int id = 0;
    unsigned flags = 0;
    std::vector<MenuItemResource> popup;

    bool isPopup() const { return !popup.empty(); }
    bool isSeparator() const { return (flags & MF_SEPARATOR) != 0; }
    static MenuItemResource separator() { return {{}, 0, MF_SEPARATOR, {}}; }
};

struct MenuResource {
    int id = 0;
    std::vector<MenuItemResource> items;
};

} // namespace platform

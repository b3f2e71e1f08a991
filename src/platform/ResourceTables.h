#pragma once
// The resources that are tables rather than files: menus, accelerator tables
// and string tables, each found by its numeric id like the compiled-in files
// of the resource registry. The code that owns a menu or a table registers it
// at start-up; windows build their menus and shortcuts from it. Texts are
// English message ids in the station's narrow text (UTF-8), translated when a
// menu is built.

#include <optional>
#include <string>
#include <utility>
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

// Accelerator flags; the key is a virtual-key code when FVIRTKEY is set, else a character.
inline constexpr unsigned char FVIRTKEY = 0x01;
inline constexpr unsigned char FSHIFT = 0x04;
inline constexpr unsigned char FCONTROL = 0x08;
inline constexpr unsigned char FALT = 0x10;

struct AcceleratorEntry {
    unsigned char flags = FVIRTKEY;
    unsigned short key = 0;
    int command = 0;
};

struct AcceleratorTable {
    int id = 0;
    std::vector<AcceleratorEntry> entries;
};

class ResourceTables {
public:
    // Each adds or replaces the resource of its id; false for the id 0.
    static bool addMenu(const MenuResource& menu);
    static const MenuResource* findMenu(int id);

    static bool addAccelerators(const AcceleratorTable& table);
    static const AcceleratorTable* findAccelerators(int id);

    static bool addString(int id, const std::string& text);
    static void addStrings(const std::vector<std::pair<int, std::string>>& strings);
    // The string of that id, or nothing when the string tables lack it.
    static std::optional<std::string> loadString(int id);

    // Forgets every registered table (for tests that register their own).
    static void clear();
};

} // namespace platform

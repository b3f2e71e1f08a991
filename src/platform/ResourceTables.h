#pragma once
// The resources that are tables rather than files: menus, accelerator tables
// and string tables, each found by its numeric id like the compiled-in files
// of the resource registry. The code that owns a menu or a table registers it
// at start-up; windows build their menus and shortcuts from it.

#include "platform/AcceleratorTable.h"
#include "platform/MenuResource.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace platform {

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

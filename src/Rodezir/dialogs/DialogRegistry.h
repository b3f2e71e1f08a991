#pragma once
// The dialogs of the program by numeric id. A dialog's code registers the
// table kept beside it (usually from its module's start-up function); a
// dialog that has no table may still be compiled in as template bytes under
// ":/kova/dialog/<id>" and is found there.

#include "Rodezir/dialogs/DialogTable.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kova {

class DialogRegistry {
public:
    // Adds or replaces the table of `table.id`; false for the id 0.
    static bool add(const DialogTable& table);
    static bool remove(int id);
    static const DialogTable* find(int id);

    // The template bytes of a dialog: its registered table in the extended
    // form, else the compiled-in resource; nothing when neither exists.
    static std::optional<std::vector<std::uint8_t>> templateBytes(int id);
    // The template compiled in under ":/kova/dialog/<name>".
    static std::optional<std::vector<std::uint8_t>> templateBytes(const std::string& name);
};

} // namespace kova

#pragma once
// The hand-held controller's three languages: the position of each of the
// set-up's language codes in the language table, and each language's
// display name in its 10-byte slot.

#include <cstdint>
#include <vector>

class PropertyModel;

class CPBLanguages {
public:
    using Bytes = std::vector<std::uint8_t>;

    static constexpr int NAME_WIDTH = 10;

    // The three table positions; false (logged, out untouched) when a slot
    // holds a code the table does not know, which the controller could not show.
    static bool encodeSelection(const PropertyModel& setup, Bytes& out);
    // The translated display name of table entry `index`, space-padded (or
    // cut) to the slot; empty for an index outside the table.
    static Bytes encodeName(int index);
};

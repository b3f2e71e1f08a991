#pragma once
// Writes and reads dialog template bytes: the classic DLGTEMPLATE and the
// extended DLGTEMPLATEEX layouts, little-endian, texts in UTF-16. The one pair
// of functions through which dialog tables become template bytes and back.

#include "Rodezir/dialogs/DialogTable.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kova {

class DialogTemplateCodec {
public:
    // The template of a table; the extended form unless `extended` is false.
    static std::vector<std::uint8_t> encode(const DialogTable& table, bool extended = true);

    // The table held by template bytes, or nothing when the bytes are cut short
    // or malformed. The dialog id is not part of the bytes and comes back 0.
    static std::optional<DialogTable> decode(const std::uint8_t* bytes, std::size_t size);

    // The class name of a predefined class ordinal (0x80 "BUTTON" to 0x85
    // "COMBOBOX"), or empty for any other ordinal.
    static std::wstring predefinedClassName(int ordinal);
    // The ordinal of a predefined class name (any case), or -1.
    static int predefinedClassOrdinal(const std::wstring& name);
};

} // namespace kova

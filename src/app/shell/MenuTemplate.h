#pragma once
// The standard menu-template bytes (a 4-byte header, then the entries with
// their UTF-16LE texts) as menus built in code are written, and the reader
// that turns such bytes into the menu table the menu builder shows.

#include "platform/MenuResource.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace MenuTemplate {

// Option bits of an entry beside the menu item flags.
inline constexpr std::uint16_t MF_POPUP = 0x10;
inline constexpr std::uint16_t MF_END = 0x80;
// Version 0, offset 0.
inline constexpr std::size_t HEADER_SIZE = 4;
// Pop-ups nest at most this deep.
inline constexpr int MAX_MENU_LEVEL = 16;

// The menu of the bytes; nothing when the header, an entry or a text runs
// past the end, an item list never ends, or pop-ups nest too deep. Texts come
// back in the station's narrow text (UTF-8); an entry with id 0 and no text
// is a separator.
std::optional<platform::MenuResource> read(const std::uint8_t* bytes, std::size_t size);
std::optional<platform::MenuResource> read(const std::vector<std::uint8_t>& bytes);

} // namespace MenuTemplate

#pragma once
// A table of keyboard accelerators kept as data, found by its numeric id:
// each entry maps a key with its modifiers to a command. An entry belongs to
// its table, so both live here.

#include <vector>

namespace platform {

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

} // namespace platform

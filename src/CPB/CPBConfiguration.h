#pragma once
// The hand-held controller's three configuration bytes: one bit for each
// on/off setting of the set-up that the controller follows.

#include <array>
#include <cstdint>
#include <vector>

class PropertyModel;

class CPBConfiguration {
public:
    static constexpr int BYTES = 3;

    // Where a setting of the set-up lives in the configuration bytes.
    struct Flag {
        int byte;
        int bit;
        bool PropertyModel::*setting;
    };
    static constexpr int FLAG_COUNT = 19;

    // Every flag the controller knows, byte 0 bit 7 first; byte 2 bits 4 to 0 stay 0.
    static const std::array<Flag, FLAG_COUNT>& flags();

    static std::vector<std::uint8_t> encode(const PropertyModel& setup);
};

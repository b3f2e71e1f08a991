#pragma once
// The map of the hand-held controller's memory: where each named area
// starts and how many bytes of it the station writes or reads.

#include "CPB/CPBAdr.h"

class Pointer {
public:
    enum Name {
        ICON_SELECTION,
        ICON_LARGE_1,
        ICON_LARGE_2,
        ICON_LARGE_3,
        ICON_LARGE_4,
        ICON_LARGE_5,
        ICON_LARGE_6,
        ICON_SMALL_1,
        ICON_SMALL_2,
        ICON_SMALL_3,
        ICON_SMALL_4,
        ICON_SMALL_5,
        ICON_SMALL_6,
        LANGUAGES,
        LANGUAGE_NAME_1,
        LANGUAGE_NAME_2,
        LANGUAGE_NAME_3,
        DEBRIEF_A1_L1,
        DEBRIEF_A2_L1,
        DEBRIEF_A1_L2,
        DEBRIEF_A2_L2,
        DEBRIEF_A1_L3,
        DEBRIEF_A2_L3,
        BARS_1,
        BARS_2,
        ALGORITHM_1,
        ALGORITHM_2,
        ALGORITHM_NAME_1,
        ALGORITHM_NAME_2,
        PLOT_1,
        PLOT_2,
        COMPANY_NAME,
        CONFIGURATION,
        SIZE_OF
    };

    static constexpr std::uint8_t ICON_BANK = 0x50;
    static constexpr std::uint8_t SETUP_BANK = 0x51;

    // The area's start; an unknown name is logged and gives bank 0, offset 0.
    static CPBAdr get(int name);
    // The bytes of the area the station may use; 0 for an unknown name.
    static int size(int name);
    // The area's name as the map spells it, for log lines; "?" when unknown.
    static const char* label(int name);
};

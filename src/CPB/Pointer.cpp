#include "CPB/Pointer.h"

#include "Rodezir/LogStream.h"

#include <array>

namespace {

struct Area {
    const char* label;
    std::uint8_t bank;
    std::uint16_t offset;
    int size;
};

constexpr std::uint8_t I = Pointer::ICON_BANK;
constexpr std::uint8_t S = Pointer::SETUP_BANK;

// Fixed by the controller's firmware; the station never moves an area.
constexpr std::array<Area, Pointer::SIZE_OF> AREAS = {{
    {"ICON_SELECTION", S, 0x7FF0, 6},
    {"ICON_LARGE_1", I, 0x0380, 128},
    {"ICON_LARGE_2", I, 0x0400, 128},
    {"ICON_LARGE_3", I, 0x0580, 128},
    {"ICON_LARGE_4", I, 0x0600, 128},
    {"ICON_LARGE_5", I, 0x0780, 128},
    {"ICON_LARGE_6", I, 0x0800, 128},
    {"ICON_SMALL_1", I, 0x3580, 72},
    {"ICON_SMALL_2", I, 0x3600, 72},
    {"ICON_SMALL_3", I, 0x3680, 72},
    {"ICON_SMALL_4", I, 0x3700, 72},
    {"ICON_SMALL_5", I, 0x3780, 72},
    {"ICON_SMALL_6", I, 0x3800, 72},
    {"LANGUAGES", S, 0x7FE0, 3},
    {"LANGUAGE_NAME_1", S, 0x0050, 10},
    {"LANGUAGE_NAME_2", S, 0x005A, 10},
    {"LANGUAGE_NAME_3", S, 0x0064, 10},
    {"DEBRIEF_A1_L1", S, 0x0800, 2048},
    {"DEBRIEF_A2_L1", S, 0x1000, 2048},
    {"DEBRIEF_A1_L2", S, 0x1800, 2048},
    {"DEBRIEF_A2_L2", S, 0x2000, 2048},
    {"DEBRIEF_A1_L3", S, 0x2800, 2048},
    {"DEBRIEF_A2_L3", S, 0x3000, 2048},
    {"BARS_1", S, 0x3800, 0x480},
    {"BARS_2", S, 0x4000, 0x480},
    {"ALGORITHM_1", S, 0x7D00, 256},
    {"ALGORITHM_2", S, 0x7E00, 256},
    {"ALGORITHM_NAME_1", S, 0x0000, 40},
    {"ALGORITHM_NAME_2", S, 0x0028, 40},
    {"PLOT_1", S, 0x4480, 128},
    {"PLOT_2", S, 0x4500, 128},
    {"COMPANY_NAME", S, 0x7C00, 256},
    {"CONFIGURATION", S, 0x7FB0, 3},
}};

bool known(int name)
{
    return name >= 0 && name < Pointer::SIZE_OF;
}

} // namespace

CPBAdr Pointer::get(int name)
{
    KOVA_ASSERT(name >= 0 && name < SIZE_OF);
    if (!known(name))
        return {};
    const Area& area = AREAS[static_cast<std::size_t>(name)];
    return CPBAdr(area.bank, 0, 0) + area.offset;
}

int Pointer::size(int name)
{
    return known(name) ? AREAS[static_cast<std::size_t>(name)].size : 0;
}

const char* Pointer::label(int name)
{
    return known(name) ? AREAS[static_cast<std::size_t>(name)].label : "?";
}

#pragma once
// What the graphs show of a closed compression series.

#include <cstdint>

struct SeriesSummary {
    std::int32_t firstStart = 0;
    std::int32_t lastEnd = 0;
    std::int32_t nextStart = 0;
    std::int32_t compressionPercent = 0; // compression time share of the cycle time, 0..100
    double cardiacOutput = 0.0;          // L/min

    bool operator==(const SeriesSummary&) const = default;
};

#pragma once
// The ventilation figures of one evaluated session: count, average volume
// and rate, and the volumes judged against the algorithm's window.

#include <cstdint>

struct VentilationResults {
    std::int32_t count = 0;
    double averageVolume = 0.0;      // litres
    double rate = 0.0;               // per minute over the whole session
    std::int32_t volumeOK = 0;
    std::int32_t volumeHigh = 0;
    std::int32_t volumeLow = 0;
    std::int32_t stomachInflations = 0;
};

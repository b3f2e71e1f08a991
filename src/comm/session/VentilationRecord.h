#pragma once
// One detected ventilation, by manData index.

#include <cstdint>

struct VentilationRecord {
    std::int32_t indexStart = 0;  // first sample of the ventilation
    std::int32_t indexEnd = 0;    // the sample that completed it
    std::int32_t indexPeak = 0;   // first sample of the greatest volume
    double peakVolume = 0.0;      // litres
    std::uint8_t stomachInflation = 0;

    bool operator==(const VentilationRecord&) const = default;
};

#pragma once
// One converted sample of a session: compression depth and ventilation volume
// with the manikin's status flags; CommSession keeps one per accepted sample.

#include <cstdint>

struct Measurement {
    double depth = 0.0;                 // compression depth in mm, 0 with the chest at rest
    double volume = 0.0;                // ventilation volume in litres
    std::int32_t ecg = 0;               // ECG value, passed through unchanged
    std::uint8_t stomachInflation = 0;  // status 12, 28, 140 or 156
    std::uint8_t wrongHandPosition = 0; // status 140, 156, 204 or 220
    std::uint8_t ventilationMark = 0;   // peak of a ventilation that inflated the stomach
    std::uint8_t compressionMark = 0;   // peak of a compression with a wrong hand position
    std::uint8_t error66 = 0;           // status 66

    bool operator==(const Measurement&) const = default;
};

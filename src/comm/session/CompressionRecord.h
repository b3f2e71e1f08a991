#pragma once
// One detected chest compression, by manData index.

#include <cstdint>

struct CompressionRecord {
    std::int32_t indexStart = 0;      // last rest sample before the rise (or the sample before the completing one)
    std::int32_t indexEnd = 0;        // the sample before the one that completed the compression
    std::int32_t indexPeak = 0;       // first sample of the greatest depth
    double peakDepth = 0.0;           // mm
    std::uint8_t wrongHandPosition = 0;
    std::uint8_t incompleteRelease = 0; // completed by a new rise while still deeper than 5 mm
    double compressionTime = 0.0;     // indexPeakEnd - indexStart, set when the series closes
    double relaxationTime = 0.0;      // next start - indexPeakEnd, set when the series closes
    std::int32_t indexPeakEnd = 0;    // last sample of the pressing phase

    bool operator==(const CompressionRecord&) const = default;
};

#pragma once
// The compression figures of one evaluated session: counts, averages, and
// the rate, pause, depth and cardiac-output judgements against the limits.

#include <cstdint>

struct CompressionResults {
    std::int32_t count = 0;
    std::int32_t seriesCount = 0;
    double averageRate = 0.0;        // per minute
    double averageDepth = 0.0;       // mm
    std::int32_t rateOK = 0;         // series within the rate window
    std::int32_t rateHigh = 0;
    std::int32_t rateLow = 0;
    std::int32_t pauseOK = 0;
    std::int32_t pauseLong = 0;
    std::int32_t depthOK = 0;
    std::int32_t depthLow = 0;       // too shallow
    std::int32_t depthHigh = 0;      // too deep
    std::int32_t leanings = 0;
    std::int32_t wrongHandPositions = 0;
    std::int32_t averagePause = 0;   // whole seconds
    double compRelaxRatio = 0.0;     // a fraction
    std::int32_t completeCycles = 0; // compressions with a compression and a relaxation time
    double averageCardiacOutput = 0.0; // L/min
    std::int32_t cardiacOutputLow = 0;  // series judged by their output
    std::int32_t cardiacOutputHigh = 0;
    std::int32_t cardiacOutputOK = 0;

    // Without a complete cycle there is no ratio to show or judge, only its 0.
    bool compRelaxMeasured() const { return completeCycles > 0; }
    // Without a series that has a duration there is no output to show or judge.
    bool cardiacOutputMeasured() const { return cardiacOutputLow + cardiacOutputHigh + cardiacOutputOK > 0; }
};

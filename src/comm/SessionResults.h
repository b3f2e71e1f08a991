#pragma once
// The figures of one evaluated session: counts, averages and the OK/low/high
// judgements against the session's algorithm and the station settings.

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
    double averageCardiacOutput = 0.0; // L/min
    std::int32_t cardiacOutputLow = 0;
    std::int32_t cardiacOutputHigh = 0;
    std::int32_t cardiacOutputOK = 0;
};

struct CycleResults {
    std::int32_t count = 0;
    std::int32_t correct = 0;
    double averageVentilations = 0.0;
    double averageCompressions = 0.0;
};

struct SessionResults {
    std::int32_t firstActionTime = 0; // seconds
    std::int32_t initialVentilations = 0;
    VentilationResults ventilation;
    CompressionResults compression;
    CycleResults cycles;
};

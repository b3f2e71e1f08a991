#pragma once
// The figures of one evaluated session: the first action, the initial
// ventilations, and the ventilation, compression and cycle figures with their
// OK/low/high judgements against the session's algorithm and the station settings.

#include "comm/session/CompressionResults.h"
#include "comm/session/CycleResults.h"
#include "comm/session/VentilationResults.h"

#include <cstdint>

struct SessionResults {
    std::int32_t firstActionTime = 0; // seconds
    std::int32_t initialVentilations = 0;
    VentilationResults ventilation;
    CompressionResults compression;
    CycleResults cycles;
};

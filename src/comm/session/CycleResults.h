#pragma once
// The CPR cycles of one evaluated session: how many, how many had the
// algorithm's ratio, and their average compressions and ventilations.

#include <cstdint>

struct CycleResults {
    std::int32_t count = 0;
    std::int32_t correct = 0;
    double averageVentilations = 0.0;
    double averageCompressions = 0.0;
};

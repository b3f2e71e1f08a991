#pragma once
// The session the debriefing benchmarks judge: an hour at 50 samples per
// second of a trainee with a bit of every fault, so every remark has parts
// to build.

#include "manikin-sim/PerformanceGenerator.h"

#include <cstddef>

namespace hourofperformance {

constexpr int SAMPLE_RATE = 50;
constexpr std::size_t SESSION_SAMPLES = 60 * 60 * SAMPLE_RATE;

inline manikinsim::PerformancePlan plan()
{
    manikinsim::PerformancePlan p;
    p.sampleRate = SAMPLE_RATE;
    p.shallowEvery = 7;
    p.fastEvery = 5;
    p.leanEvery = 13;
    p.stomachInflationEvery = 9;
    p.wrongHandPositionEvery = 11;
    return p;
}

} // namespace hourofperformance

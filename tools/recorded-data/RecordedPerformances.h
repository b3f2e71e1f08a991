#pragma once
// The three recorded demonstration performances (good, mediocre, poor): the
// resource ids of their channels and the trainee each one plays. Each
// channel holds whole cycles, so a replay that wraps goes on with the next
// cycle as a trainee would; the tool that writes them and the tests that
// replay them read the same plans here.

#include "manikin-sim/PerformanceGenerator.h"

#include <array>
#include <cstddef>
#include <vector>

namespace recordeddata {

// Samples of the compression, ventilation and error channels.
constexpr std::size_t CHANNEL_SAMPLES = 1275;
constexpr int SAMPLE_RATE = 20;

struct RecordedPerformance {
    std::array<int, 4> ids;  // compression, ventilation, error, ECG
    std::size_t ecgSamples;
    // The trainee's plan; its pause is the nominal one, which the tool
    // adjusts slightly so that the plan's cycles fill the channel exactly.
    manikinsim::PerformancePlan plan;
};

inline manikinsim::PerformancePlan basePlan()
{
    manikinsim::PerformancePlan plan;
    plan.sampleRate = SAMPLE_RATE;
    plan.scale = manikinsim::CountScale::recorded();
    plan.restCompression = 6;
    plan.restVentilation = 4;
    plan.leadInSeconds = 0.0;
    plan.compressionsPerCycle = 30;
    plan.ventilationsPerCycle = 2;
    return plan;
}

inline std::vector<RecordedPerformance> recordedPerformances()
{
    // A trainee who keeps to the guideline, and gets the breaths in quickly:
    // three cycles in a channel.
    manikinsim::PerformancePlan good = basePlan();
    good.cycles = 3;
    good.compressionRate = 108.0;
    good.compressionDepthMm = 54.0;
    good.ventilationVolumeLitres = 0.55;
    good.exhalationSeconds = 1.0;
    good.pauseSeconds = 0.3;
    good.jitter = 0.03;
    good.wrongHandPositionEvery = 70;
    good.heartRate = 72.0;
    good.seed = 0x1F2E3D4Cu;

    // Too fast now and then, often shallow, leaning now and then, big
    // ventilations: three cycles, the second of them fast.
    manikinsim::PerformancePlan mediocre = basePlan();
    mediocre.cycles = 3;
    mediocre.compressionRate = 118.0;
    mediocre.compressionDepthMm = 47.0;
    mediocre.ventilationVolumeLitres = 0.8;
    mediocre.jitter = 0.07;
    mediocre.shallowEvery = 4;
    mediocre.fastEvery = 2;
    mediocre.stomachInflationEvery = 3;
    mediocre.wrongHandPositionEvery = 23;
    mediocre.leanEvery = 9;
    mediocre.pauseSeconds = 1.2;
    mediocre.heartRate = 88.0;
    mediocre.seed = 0x5A17C0DEu;

    // Slow and shallow, hands misplaced and leaning, stomach inflated, long
    // pauses: two cycles.
    manikinsim::PerformancePlan poor = basePlan();
    poor.cycles = 2;
    poor.compressionRate = 92.0;
    poor.compressionDepthMm = 38.0;
    poor.ventilationVolumeLitres = 1.05;
    poor.jitter = 0.12;
    poor.shallowEvery = 2;
    poor.stomachInflationEvery = 2;
    poor.wrongHandPositionEvery = 6;
    poor.leanEvery = 4;
    poor.pauseSeconds = 3.2;
    poor.inflationSeconds = 1.4;
    poor.heartRate = 130.0;
    poor.seed = 0x0BADF00Du;

    return {
        {{169, 170, 171, 308}, 1148, good},
        {{177, 174, 173, 309}, 1276, mediocre},
        {{175, 172, 176, 310}, 1276, poor},
    };
}

} // namespace recordeddata

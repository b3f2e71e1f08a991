#pragma once
// A measurement store fed to its end by the simulated manikin through the
// station's reader: a trainee who is fast now and then, often shallow, leans,
// misplaces the hands and inflates the stomach, so the debriefing has
// something to say in every row.

#include "SimulatedManikin.h"
#include "comm/session/CommSession.h"
#include "config/AlgorithmRecord.h"

#include <stdexcept>
#include <vector>

inline manikinsim::PerformancePlan faultyPerformance(int cycles = 4)
{
    manikinsim::PerformancePlan plan;
    plan.sampleRate = 50;
    plan.cycles = cycles;
    plan.compressionsPerCycle = 15;
    plan.ventilationsPerCycle = 2;
    plan.compressionRate = 116.0;
    plan.compressionDepthMm = 44.0;
    plan.jitter = 0.1;
    plan.fastEvery = 2;
    plan.shallowEvery = 3;
    plan.leanEvery = 5;
    plan.stomachInflationEvery = 3;
    plan.wrongHandPositionEvery = 7;
    return plan;
}

// The plan as a recorded-data port replays it: the recorded data's counts
// and rest, the stomach and hand faults in the status byte.
inline std::vector<ManikinSample> recordedSamples(manikinsim::PerformancePlan plan, int count)
{
    plan.scale = manikinsim::CountScale::recorded();
    plan.restCompression = 6;
    plan.restVentilation = 4;
    manikinsim::PerformanceGenerator generator(plan);
    std::vector<ManikinSample> samples;
    samples.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const manikinsim::PerformanceSample s = generator.next();
        const int status = s.stomachInflation ? (s.wrongHandPosition ? 0x8C : 0x0C) : (s.wrongHandPosition ? 0xCC : 0);
        samples.push_back(ManikinSample{s.compression, s.ventilation, status, s.ecg});
    }
    return samples;
}

struct PerformedSession {
    explicit PerformedSession(const manikinsim::PerformancePlan& plan = faultyPerformance(), int trainingMode = 0)
        : manikin(plan)
    {
        session.setAlgorithm(&algorithm);
        session.trainingMode = trainingMode;
        session.attach(manikin.reader());
        // The plan, then two seconds of rest so the last strokes complete.
        int restLeft = 2 * plan.sampleRate;
        while (restLeft > 0) {
            if (manikin.generator().sampleIndex() >= 600 * plan.sampleRate)
                throw std::runtime_error("the plan never ends");
            if (!manikin.tick())
                throw std::runtime_error("the reader failed");
            session.processNewSamples();
            if (manikin.generator().finished())
                --restLeft;
        }
        session.evaluate();
    }

    // More of the performance arrives (the chest at rest once the plan is done).
    void moreSamples(int count)
    {
        for (int i = 0; i < count; ++i) {
            manikin.tick();
            session.processNewSamples();
        }
    }

    SimulatedManikin manikin;
    AlgorithmRecord algorithm;
    CommSession session;
};

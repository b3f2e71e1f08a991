// The simulated performance as the station sees it: the generator's samples,
// sent as each kind of manikin sends them, read by the station's reader and
// analysed by its measurement store, count every stroke that was made.

#include "FakeReaderPort.h"

#include "comm/session/CommSession.h"
#include "comm/reader/ManikinReader.h"
#include "comm/link/SerialPort.h"
#include "config/AlgorithmRecord.h"
#include "manikin-sim/ManikinFrames.h"
#include "manikin-sim/PerformanceGenerator.h"
#include "platform/ManualClock.h"
#include "platform/ScopedClock.h"

#include <gtest/gtest.h>

namespace {

using namespace manikinsim;

struct Manikin {
    int linkType;
    bool kindIs3or4;
    int sampleRate;
    CountScale scale;
    int rest; // counts at rest on both channels
};

const Manikin OLDER{SerialPort::LINK_UNFRAMED, false, 20, CountScale::unframed(), 6};
const Manikin FRAMED_KIND_3{SerialPort::LINK_FRAMED_COM, true, 50, CountScale::framedKind3or4(), 0};
const Manikin FRAMED_KIND_1{SerialPort::LINK_FRAMED_COM, false, 50, CountScale::framedKind1(), 0};

struct Outcome {
    std::int64_t compressionsMade = 0;
    std::int64_t ventilationsMade = 0;
    std::int64_t leaningsMade = 0;
    CommSession session;
};

// Streams the whole plan, and two seconds of rest after it, through a reader
// calibrated at rest on a scripted link, with the time passing as the samples
// come; then evaluates the session.
void runOnTheStation(const Manikin& manikin, PerformancePlan plan, Outcome& outcome)
{
    platform::ManualClock clock;
    platform::ScopedClock installed(clock);
    plan.sampleRate = manikin.sampleRate;
    plan.scale = manikin.scale;
    plan.restCompression = plan.restVentilation = manikin.rest;

    FakeReaderPort::State state;
    state.linkType = manikin.linkType;
    state.kindIs3or4 = state.kindIs3 = manikin.kindIs3or4;
    state.compressionOffset = state.ventilationOffset = manikin.rest;
    ManikinReader reader(std::make_unique<FakeReaderPort>(state));
    reader.restartTimers();
    reader.start();
    AlgorithmRecord algorithm;
    CommSession& session = outcome.session;
    session.setAlgorithm(&algorithm);
    session.attach(reader);

    PerformanceGenerator generator(plan);
    FrameEncoder encoder(false);
    int restLeft = 2 * plan.sampleRate;
    while (restLeft > 0) {
        ASSERT_LT(generator.sampleIndex(), 3600 * plan.sampleRate) << "the plan never ends";
        const PerformanceSample sample = generator.next();
        const auto bytes = manikin.linkType == SerialPort::LINK_UNFRAMED ? encodeRecord(sample) : encoder.encode(sample);
        state.incoming.insert(state.incoming.end(), bytes.begin(), bytes.end());
        clock.advance(static_cast<std::uint32_t>(1000 / plan.sampleRate));
        ASSERT_TRUE(reader.update());
        session.processNewSamples();
        if (generator.finished())
            --restLeft;
    }
    session.evaluate();
    outcome.compressionsMade = generator.compressions();
    outcome.ventilationsMade = generator.ventilations();
    outcome.leaningsMade = generator.leanings();
}

PerformancePlan threeCycles()
{
    PerformancePlan plan;
    plan.cycles = 3;
    plan.compressionsPerCycle = 15;
    plan.ventilationsPerCycle = 2;
    return plan;
}

TEST(SimulatedPerformance, everyStrokeIsCountedAtTheRateAndDepthPlanned)
{
    struct Case {
        const char* name;
        Manikin manikin;
        double rate;
        double depth;
        double volume;
    };
    const Case cases[] = {
        {"older manikin, 20 a second", OLDER, 110.0, 55.0, 0.6},
        {"older manikin, slow and shallow", OLDER, 100.0, 40.0, 0.45},
        {"framed kind 3, 50 a second", FRAMED_KIND_3, 110.0, 55.0, 0.6},
        {"framed kind 3, fast and deep", FRAMED_KIND_3, 120.0, 60.0, 0.5},
        {"framed kind 1, 50 a second", FRAMED_KIND_1, 105.0, 50.0, 0.6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PerformancePlan plan = threeCycles();
        plan.compressionRate = c.rate;
        plan.compressionDepthMm = c.depth;
        plan.ventilationVolumeLitres = c.volume;
        Outcome outcome;
        runOnTheStation(c.manikin, plan, outcome);
        const CommSession& session = outcome.session;

        EXPECT_EQ(outcome.compressionsMade, 45);
        EXPECT_EQ(outcome.ventilationsMade, 6);
        EXPECT_EQ(session.getNrCompressions(), 45);
        EXPECT_EQ(session.getNrCompGroups(), 3);
        EXPECT_EQ(session.getNrVentilations(), 6);
        EXPECT_EQ(session.getNrCycles(), 3);
        // Every stroke came back to rest.
        EXPECT_EQ(session.getNrLeanings(), 0);
        EXPECT_NEAR(session.getCompFreqAverage(), c.rate, 0.05 * c.rate);
        EXPECT_NEAR(session.getCompDepthAverage(), c.depth, 2.5);
        EXPECT_NEAR(session.getVentVolumeAverage(), c.volume, 0.05);
        // About as long pressed as released.
        EXPECT_GT(session.getCompRelaxRatio(), 0.35);
        EXPECT_LT(session.getCompRelaxRatio(), 0.6);
    }
}

TEST(SimulatedPerformance, faultyStrokesAreStillCountedOneByOne)
{
    // Fast cycles, shallow strokes, hands leaning between strokes, stomach
    // inflations at their larger volume and a wide spread.
    PerformancePlan plan = threeCycles();
    plan.compressionRate = 118.0;
    plan.compressionDepthMm = 42.0;
    plan.jitter = 0.12;
    plan.fastEvery = 2;
    plan.shallowEvery = 3;
    plan.leanEvery = 4;
    plan.stomachInflationEvery = 3;
    plan.wrongHandPositionEvery = 7;
    for (const Manikin& manikin : {OLDER, FRAMED_KIND_3}) {
        SCOPED_TRACE(manikin.sampleRate);
        Outcome outcome;
        runOnTheStation(manikin, plan, outcome);
        const CommSession& session = outcome.session;
        EXPECT_EQ(outcome.compressionsMade, 45);
        EXPECT_EQ(session.getNrCompressions(), 45);
        EXPECT_EQ(session.getNrVentilations(), 6);
        EXPECT_EQ(session.getNrStomachInflations(), 2);
        EXPECT_EQ(session.getNrWrongHandPositions(), 6);
        EXPECT_GT(outcome.leaningsMade, 0);
        EXPECT_EQ(session.getNrLeanings(), outcome.leaningsMade);
        EXPECT_GT(session.getCompDepthLow(), 10) << "the shallow strokes are judged too shallow";
    }
}

} // namespace

// The simulator's scripted performance and the frames it is sent in: what the
// measurement benchmarks and the link tests rely on.

#include "manikin-sim/ManikinFrames.h"
#include "manikin-sim/PerformanceGenerator.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace manikinsim;
using Bytes = std::vector<std::uint8_t>;

TEST(PerformanceGenerator, followsThePlannedRateDepthAndRatio)
{
    PerformancePlan plan;
    plan.sampleRate = 50;
    plan.compressionRate = 100.0;
    plan.compressionDepthMm = 50.0;
    plan.jitter = 0.0;
    plan.scale = CountScale::framedKind3or4();
    plan.restCompression = 0;
    PerformanceGenerator generator(plan);

    int peak = 0;
    int compressingSamples = 0;
    for (int i = 0; i < 50 * 600; ++i) {
        const PerformanceSample sample = generator.next();
        peak = std::max(peak, sample.compression);
        compressingSamples += sample.compressing ? 1 : 0;
        EXPECT_FALSE(sample.compressing && sample.ventilating);
    }
    // Ten minutes: the compressions come at 100 per minute while compressing,
    // two ventilations follow every thirty.
    const double compressingMinutes = compressingSamples / 50.0 / 60.0;
    EXPECT_NEAR(generator.compressions() / compressingMinutes, 100.0, 1.0);
    EXPECT_NEAR(static_cast<double>(generator.ventilations()) / static_cast<double>(generator.compressions()), 2.0 / 30.0, 0.01);
    EXPECT_NEAR(peak / plan.scale.countsPerMm, 50.0, 0.5);
}

TEST(PerformanceGenerator, theSamePlanGivesTheSameSamples)
{
    PerformancePlan plan;
    plan.shallowEvery = 3;
    plan.stomachInflationEvery = 2;
    plan.wrongHandPositionEvery = 5;
    PerformanceGenerator first(plan);
    PerformanceGenerator second(plan);
    bool sawStomach = false;
    bool sawWrongHand = false;
    for (int i = 0; i < 5000; ++i) {
        const PerformanceSample a = first.next();
        const PerformanceSample b = second.next();
        ASSERT_EQ(a.compression, b.compression);
        ASSERT_EQ(a.ventilation, b.ventilation);
        ASSERT_EQ(a.ecg, b.ecg);
        sawStomach = sawStomach || a.stomachInflation;
        sawWrongHand = sawWrongHand || a.wrongHandPosition;
    }
    EXPECT_TRUE(sawStomach);
    EXPECT_TRUE(sawWrongHand);
}

TEST(ManikinFrames, comFramesDoubleTheStartByteAndWirelessFramesDoNot)
{
    EXPECT_EQ(encodeFrame(CMD_SAMPLE, {0x7E, 0x10, 0x7E}, true),
              (Bytes{0x7E, 0x1A, 0x00, 0x03, 0x7E, 0x7E, 0x10, 0x7E, 0x7E}));
    EXPECT_EQ(encodeFrame(CMD_OPEN_CLOSE, {}, false), (Bytes{0x7E, 0x07, 0x80, 0x00}));

    PerformanceSample sample;
    sample.compression = 0x7E;
    sample.ventilation = 5;
    sample.ecg = 40;
    FrameEncoder com(false);
    FrameEncoder wireless(true);
    EXPECT_EQ(com.encode(sample), (Bytes{0x7E, 0x1A, 0x00, 0x03, 0x05, 0x7E, 0x7E, 40}));
    // A wireless manikin sends its ECG 30 higher.
    EXPECT_EQ(wireless.encode(sample), (Bytes{0x7E, 0x1A, 0x00, 0x03, 0x05, 0x7E, 70}));
}

TEST(ManikinFrames, statusChangesTravelAsTheirOwnFrames)
{
    FrameEncoder encoder(false);
    PerformanceSample sample;
    sample.stomachInflation = true;
    EXPECT_EQ(encoder.encode(sample), (Bytes{0x7E, 0x05, 0x00, 0x01, 0x01}));
    sample.wrongHandPosition = true;
    EXPECT_EQ(encoder.encode(sample), (Bytes{0x7E, 0x09, 0x00, 0x01, 0x01}));
    EXPECT_EQ(encoder.encode(sample)[1], CMD_SAMPLE);
    sample.stomachInflation = false;
    EXPECT_EQ(encoder.encode(sample), (Bytes{0x7E, 0x05, 0x00, 0x01, 0x00}));

    // The older manikins' records carry the status in their first byte.
    sample.compression = 200;
    sample.ventilation = 9;
    EXPECT_EQ(encodeRecord(sample), (Bytes{RECORD_STATUS_WRONG_HAND, 9, 200, 0x0D}));
    sample.stomachInflation = true;
    EXPECT_EQ(recordStatus(sample), RECORD_STATUS_BOTH);
    EXPECT_EQ(recordedStatus(PerformanceSample{}), RECORDED_STATUS_NORMAL);
}

} // namespace

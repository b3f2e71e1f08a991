#include "Filters/SlopeFilter.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

enum Channel { COMPRESSION = 1, VENTILATION = 2 };

// Samples whose chosen channel holds the values (oldest first); the other
// channel holds a marker that no repair may touch.
std::vector<ManikinSample> history(int channel, const std::vector<int>& values)
{
    std::vector<ManikinSample> samples;
    for (int v : values)
        samples.push_back(channel == COMPRESSION ? ManikinSample{v, 77, 12, 3} : ManikinSample{77, v, 12, 3});
    return samples;
}

std::vector<int> channelValues(int channel, const std::vector<ManikinSample>& samples)
{
    std::vector<int> values;
    for (const ManikinSample& s : samples)
        values.push_back(channel == COMPRESSION ? s.compression : s.ventilation);
    return values;
}

struct SlopeCase {
    const char* name;
    int channel;
    int maxGap;
    std::vector<int> in;
    std::vector<int> repaired;
};

void PrintTo(const SlopeCase& c, std::ostream* os)
{
    *os << c.name;
}

class SlopeFilterCases : public ::testing::TestWithParam<SlopeCase> {};

TEST_P(SlopeFilterCases, repairsOnlyDipsAndShortGaps)
{
    const SlopeCase& c = GetParam();
    const SlopeFilter filter(c.channel, c.maxGap);
    const std::vector<ManikinSample> in = history(c.channel, c.in);
    std::vector<ManikinSample> repaired = in;

    const ManikinSample newest = filter.filter(in, repaired);

    EXPECT_EQ(newest, in.back());
    EXPECT_EQ(channelValues(c.channel, repaired), c.repaired);
    const int other = c.channel == COMPRESSION ? VENTILATION : COMPRESSION;
    EXPECT_EQ(channelValues(other, repaired), std::vector<int>(c.in.size(), 77));
    for (const ManikinSample& s : repaired) {
        EXPECT_EQ(s.error, 12);
        EXPECT_EQ(s.ecg, 3);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, SlopeFilterCases,
    ::testing::Values(
        SlopeCase{"FourSamplesAreLeftAlone", VENTILATION, 4, {40, 50, 0, 60}, {40, 50, 0, 60}},
        SlopeCase{"DipDuringRiseCompression", COMPRESSION, 0, {10, 40, 50, 0, 60}, {10, 40, 50, 55, 60}},
        SlopeCase{"DipDuringRiseVentilation", VENTILATION, 4, {10, 40, 50, 0, 60}, {10, 40, 50, 55, 60}},
        SlopeCase{"DipDuringFall", COMPRESSION, 0, {10, 80, 60, 20, 40}, {10, 80, 60, 50, 40}},
        SlopeCase{"TroughBetweenFallAndRiseStays", COMPRESSION, 0, {10, 80, 60, 20, 70}, {10, 80, 60, 20, 70}},
        SlopeCase{"EqualNeighboursStay", COMPRESSION, 0, {10, 40, 50, 20, 50}, {10, 40, 50, 20, 50}},
        SlopeCase{"NewestZeroIsNoGap", VENTILATION, 4, {10, 20, 30, 30, 0}, {10, 20, 30, 30, 0}},
        SlopeCase{"SingleZeroAfterFallBridgedForVentilation", VENTILATION, 4, {10, 80, 50, 0, 60},
                  {10, 80, 50, 55, 60}},
        SlopeCase{"SingleZeroAfterFallKeptForCompression", COMPRESSION, 0, {10, 80, 50, 0, 60}, {10, 80, 50, 0, 60}},
        SlopeCase{"TwoZerosInterpolated", VENTILATION, 4, {10, 40, 0, 0, 70}, {10, 40, 50, 60, 70}},
        SlopeCase{"ThreeZerosInterpolated", VENTILATION, 4, {30, 40, 0, 0, 0, 80}, {30, 40, 50, 60, 70, 80}},
        SlopeCase{"FourZerosAreARest", VENTILATION, 4, {30, 40, 0, 0, 0, 0, 80}, {30, 40, 0, 0, 0, 0, 80}},
        SlopeCase{"RunReachingOldestSampleStays", VENTILATION, 4, {0, 0, 0, 0, 70}, {0, 0, 0, 0, 70}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SlopeFilter, repairsTheRepairedHistoryNotTheInput)
{
    // The input is the raw history: an earlier repair must not feed the next one.
    const SlopeFilter filter(COMPRESSION, 0);
    const std::vector<ManikinSample> in = history(COMPRESSION, {10, 40, 50, 0, 60});
    std::vector<ManikinSample> repaired = history(COMPRESSION, {1, 2, 3, 4, 60});
    filter.filter(in, repaired);
    EXPECT_EQ(channelValues(COMPRESSION, repaired), (std::vector<int>{1, 2, 3, 55, 60}));
}

} // namespace

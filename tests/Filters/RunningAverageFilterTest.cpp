#include "Filters/RunningAverageFilter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace {

std::vector<ManikinSample> compressions(const std::vector<int>& values)
{
    std::vector<ManikinSample> samples;
    for (int v : values)
        samples.push_back(ManikinSample{v, 5, 140, 9});
    return samples;
}

std::vector<int> compressionValues(const std::vector<ManikinSample>& samples)
{
    std::vector<int> values;
    for (const ManikinSample& s : samples)
        values.push_back(s.compression);
    return values;
}

RunningAverageFilter compressionFilter()
{
    return RunningAverageFilter({5, 10, 5}, 1, 40);
}

struct AverageCase {
    const char* name;
    std::vector<int> in;
    int expected;
};

void PrintTo(const AverageCase& c, std::ostream* os)
{
    *os << c.name;
}

class CompressionAverageCases : public ::testing::TestWithParam<AverageCase> {};

TEST_P(CompressionAverageCases, smoothsTheNewestValue)
{
    const AverageCase& c = GetParam();
    std::vector<ManikinSample> filtered;
    const ManikinSample result = compressionFilter().filter(compressions(c.in), filtered);
    EXPECT_EQ(result.compression, c.expected);
    EXPECT_EQ(result.ventilation, 5);
    EXPECT_EQ(result.error, 140);
    EXPECT_EQ(result.ecg, 9);
}

INSTANTIATE_TEST_SUITE_P(
    Kernel, CompressionAverageCases,
    ::testing::Values(AverageCase{"ShortHistoryPassesThrough", {0, 0, 90}, 90},
                      AverageCase{"FlatSignal", {100, 100, 100, 100}, 100},
                      AverageCase{"RoundsHalfUp", {0, 10, 11, 10}, 11},
                      AverageCase{"RoundsToNearestUp", {0, 9, 9, 0}, 7},
                      AverageCase{"RoundsToNearestDown", {0, 9, 8, 0}, 6},
                      AverageCase{"ZeroFloorAfterSilence", {0, 0, 0, 9}, 0},
                      AverageCase{"NoZeroFloorWithoutSilence", {0, 8, 0, 9}, 4},
                      AverageCase{"NoZeroFloorAtThreshold", {0, 0, 16, 0}, 8}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RunningAverageFilter, ventilationKernelIgnoresTheNewestSample)
{
    const RunningAverageFilter filter({2, 5, 10, 5, 2, 0}, 2, 20);
    EXPECT_EQ(filter.length(), 6);
    std::vector<ManikinSample> in;
    for (int v : {0, 10, 10, 10, 10, 10, 999})
        in.push_back(ManikinSample{3, v, 0, 0});
    std::vector<ManikinSample> filtered;
    const ManikinSample result = filter.filter(in, filtered);
    EXPECT_EQ(result.ventilation, 10);
    EXPECT_EQ(result.compression, 3);
}

TEST(RunningAverageFilter, restoresTheFlattenedPeakAroundTheRawPeak)
{
    const std::vector<ManikinSample> in = compressions({0, 60, 100, 90, 50, 30, 20});
    std::vector<ManikinSample> filtered = compressions({0, 50, 70, 60, 45, 30});

    const ManikinSample result = compressionFilter().filter(in, filtered);

    EXPECT_EQ(compressionValues(filtered), (std::vector<int>{0, 60, 100, 90, 45, 30}));
    EXPECT_EQ(result.compression, 33);
}

TEST(RunningAverageFilter, leavesPeaksAloneWhenNoneQualifies)
{
    struct Case {
        const char* name;
        std::vector<int> in;
        std::vector<int> filtered;
    };
    const Case cases[] = {
        // Below the threshold there is no peak to restore.
        {"LowHill", {0, 30, 40, 30, 20, 10, 0}, {0, 20, 35, 30, 20, 10}},
        // A peak that is still rising has no falling side yet.
        {"StillRising", {0, 50, 60, 70, 80, 90, 95}, {0, 45, 55, 65, 75, 85}},
        // The raw maximum lies after the filtered peak.
        {"RawPeakLater", {0, 0, 0, 0, 0, 0, 200}, {0, 50, 70, 60, 45, 30}},
        // Too short an output history.
        {"ShortHistory", {0, 60, 100, 90, 50, 30, 20}, {50, 70, 60}},
    };
    for (const Case& c : cases) {
        std::vector<ManikinSample> filtered = compressions(c.filtered);
        compressionFilter().filter(compressions(c.in), filtered);
        EXPECT_EQ(compressionValues(filtered), c.filtered) << c.name;
    }
}

TEST(RunningAverageFilter, peakRestorationStaysInsideBothHistories)
{
    // Arbitrary histories of the lengths the session keeps, and shorter ones:
    // the restoration must only ever raise values towards raw ones.
    std::mt19937 random(7);
    std::uniform_int_distribution<int> value(0, 120);
    std::uniform_int_distribution<int> length(0, 12);
    const RunningAverageFilter filter = compressionFilter();
    for (int round = 0; round < 2000; ++round) {
        std::vector<int> raw(static_cast<std::size_t>(length(random)));
        std::vector<int> out(static_cast<std::size_t>(length(random)));
        for (int& v : raw)
            v = value(random) < 30 ? 0 : value(random);
        for (int& v : out)
            v = value(random);
        std::vector<ManikinSample> filtered = compressions(out);
        filter.filter(compressions(raw), filtered);
        ASSERT_EQ(filtered.size(), out.size());
        const int rawMax = raw.empty() ? 0 : *std::max_element(raw.begin(), raw.end());
        for (std::size_t i = 0; i < out.size(); ++i) {
            ASSERT_GE(filtered[i].compression, out[i]);
            if (filtered[i].compression != out[i]) {
                ASSERT_LE(filtered[i].compression, rawMax);
            }
        }
    }
}

} // namespace

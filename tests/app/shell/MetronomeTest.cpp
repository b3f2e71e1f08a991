// The metronome's beat on the main window's 20 ms ticks: its interval from
// the configured rate, the average period it keeps, how it picks up again
// after a long stall, switching it on and off, and the wrap of the tick count.

#include "app/shell/Metronome.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

namespace {

// When beats were heard (ms after `start`) while ticking every `step` ms for `spanMs`.
std::vector<std::uint32_t> beatsOver(Metronome& metronome, std::uint32_t start, std::uint32_t spanMs, double rate,
                                     std::uint32_t step = 20)
{
    std::vector<std::uint32_t> beats;
    for (std::uint32_t elapsed = step; elapsed <= spanMs; elapsed += step)
        if (metronome.tick(start + elapsed, rate))
            beats.push_back(elapsed);
    return beats;
}

double averagePeriod(const std::vector<std::uint32_t>& beats)
{
    if (beats.size() < 2)
        return 0.0;
    return static_cast<double>(beats.back() - beats.front()) / static_cast<double>(beats.size() - 1);
}

} // namespace

TEST(Metronome, intervalFollowsTheRateCutToWholeMilliseconds)
{
    struct Case {
        double rate;
        std::uint32_t interval;
    };
    for (const Case& c : {Case{100, 600}, Case{70, 857}, Case{120, 500}, Case{0, 10000}, Case{-5, 10000},
                          Case{std::numeric_limits<double>::quiet_NaN(), 10000}, Case{1e9, 1}})
        EXPECT_EQ(Metronome::interval(c.rate), c.interval) << "rate " << c.rate;
}

TEST(Metronome, keepsTheAveragePeriodOnTwentyMillisecondTicks)
{
    struct Case {
        double rate;
        double period;
        std::size_t beatsInAMinute;
    };
    // 600 ms is no multiple of the tick: a beat heard on the first tick past
    // its time must not push the next one back (which would make it 620 ms).
    for (const Case& c : {Case{100, 600, 99}, Case{70, 857, 70}, Case{120, 500, 119}, Case{0, 10000, 5}}) {
        Metronome metronome;
        ASSERT_TRUE(metronome.toggle(5000));
        const auto beats = beatsOver(metronome, 5000, 60000, c.rate);
        EXPECT_EQ(beats.size(), c.beatsInAMinute) << "rate " << c.rate;
        EXPECT_NEAR(averagePeriod(beats), c.period, 0.5) << "rate " << c.rate;
    }
    // Ticks that come uneven (17 ms apart) keep the average too.
    Metronome uneven;
    uneven.toggle(0);
    EXPECT_NEAR(averagePeriod(beatsOver(uneven, 0, 60000, 100, 17)), 600.0, 0.5);
}

TEST(Metronome, aStallLongerThanAnIntervalGivesOneBeatAndCountsAfresh)
{
    Metronome metronome;
    metronome.toggle(1000);
    // A message box held the ticks back for three seconds.
    EXPECT_TRUE(metronome.tick(4000, 100));
    // No burst of the beats missed: the next is one interval after the stall.
    EXPECT_FALSE(metronome.tick(4020, 100));
    EXPECT_FALSE(metronome.tick(4600, 100));
    EXPECT_TRUE(metronome.tick(4620, 100));
}

TEST(Metronome, switchingOnStartsTheCountAndSwitchingOffStopsTheBeats)
{
    Metronome metronome;
    EXPECT_FALSE(metronome.tick(100000, 100)) << "off at first";
    EXPECT_TRUE(metronome.toggle(100000)) << "switching on sounds at once";
    EXPECT_FALSE(metronome.tick(100600, 100)) << "exactly one interval is not yet a beat";
    EXPECT_TRUE(metronome.tick(100601, 100));
    EXPECT_FALSE(metronome.toggle(100700));
    EXPECT_FALSE(metronome.isOn());
    EXPECT_TRUE(beatsOver(metronome, 100700, 5000, 100).empty());
}

TEST(Metronome, beatsOnAcrossTheWrapOfTheTickCount)
{
    Metronome metronome;
    const std::uint32_t start = std::numeric_limits<std::uint32_t>::max() - 1000;
    metronome.toggle(start);
    const auto beats = beatsOver(metronome, start, 6000, 100);
    EXPECT_EQ(beats.size(), 9u);
    EXPECT_NEAR(averagePeriod(beats), 600.0, 0.5);
}

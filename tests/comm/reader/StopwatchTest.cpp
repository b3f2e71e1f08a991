#include "comm/reader/Stopwatch.h"
#include "platform/ManualClock.h"
#include "platform/ScopedClock.h"

#include <gtest/gtest.h>

TEST(Stopwatch, pausedTimeDoesNotCountAndRestartKeepsThePause)
{
    platform::ManualClock clock;
    platform::ScopedClock scoped(clock);
    Stopwatch watch;
    clock.advance(100);
    watch.pause();
    clock.advance(500);
    EXPECT_EQ(watch.elapsed(), 100u);
    watch.resume();
    clock.advance(30);
    EXPECT_EQ(watch.elapsed(), 130u);

    watch.pause();
    watch.restart();
    clock.advance(70);
    EXPECT_EQ(watch.elapsed(), 0u) << "restarted while paused";
    EXPECT_FALSE(watch.isRunning());
    watch.resume();
    clock.advance(20);
    EXPECT_EQ(watch.elapsed(), 20u);
}

TEST(Stopwatch, countsAcrossTheTickCounterWrap)
{
    platform::ManualClock clock;
    platform::ScopedClock scoped(clock);
    clock.advance(0xFFFFFFFFu - 1000u - 50u); // 50 ms before the wrap
    Stopwatch watch;
    clock.advance(120);
    EXPECT_EQ(watch.elapsed(), 120u);
}

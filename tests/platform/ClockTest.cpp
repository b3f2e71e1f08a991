#include "platform/Clock.h"
#include "platform/ManualClock.h"
#include "platform/ScopedClock.h"
#include "platform/MessageBox.h"

#include <gtest/gtest.h>

namespace {

TEST(Clock, scopedClockIsInForceAndRestored)
{
    platform::ManualClock manual;
    {
        platform::ScopedClock scoped(manual);
        auto start = platform::Clock::instance().tickCount();
        platform::Clock::instance().sleep(250);
        EXPECT_EQ(platform::Clock::instance().tickCount() - start, 250u);
        EXPECT_EQ(manual.sleeps(), 1);
    }
    EXPECT_NE(&platform::Clock::instance(), &manual);
}

TEST(MessageBox, recordingAskerAnswersFromQueueThenFirstButton)
{
    platform::RecordingMessageAsker asker;
    asker.answers = {platform::IDNO};
    platform::ScopedMessageAsker scoped(asker);
    EXPECT_EQ(platform::messageBox(L"Save?", L"Kova", platform::MB_YESNOCANCEL), platform::IDNO);
    EXPECT_EQ(platform::messageBox(L"Again?", L"Kova", platform::MB_YESNOCANCEL), platform::IDYES);
    EXPECT_EQ(platform::messageBox(L"Retry?", L"Kova", platform::MB_RETRYCANCEL), platform::IDRETRY);
    ASSERT_EQ(asker.asked.size(), 3u);
    EXPECT_EQ(asker.asked[0].text, L"Save?");
}

} // namespace

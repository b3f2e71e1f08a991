// Sessions on the station's port registry: the simulated manikin on a
// pseudo-terminal mapped to COM 5 or on a loopback address, and the recorded
// demonstration data. The end of a timed session, the commands the manikin
// gets then, a link that drops and comes back, a manikin that falls silent.

#include "LinkTestSupport.h"
#include "SessionTestKit.h"

#include "comm/ports/CalibrateManager.h"
#include "comm/ports/WirelessDiscovery.h"
#include "comm/ports/WirelessReply.h"
#include "manikin-sim/ManikinSimulator.h"
#include "manikin-sim/PerformanceGenerator.h"
#include "platform/ManualClock.h"
#include "platform/MessageBox.h"
#include "platform/ScopedClock.h"
#include "platform/SystemClock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

using namespace sessiontest;
using manikinsim::Handshake;
using manikinsim::ManikinSimulator;
using manikinsim::ReceivedFrame;
using manikinsim::SimulatorOptions;

namespace {

constexpr int COM_PORT = linktest::SIM_COM_PORT;

SimulatorOptions manikin(Handshake handshake, std::uint8_t kind)
{
    SimulatorOptions options;
    options.handshake = handshake;
    options.kind = kind;
    options.performance.leadInSeconds = 0.2;
    options.performance.compressionsPerCycle = 2;
    options.performance.jitter = 0.0;
    return options;
}

// The ECG values of the first `count` samples the manikin's performance
// makes: the one channel that reaches the measurements unfiltered.
std::vector<int> performedEcg(const SimulatorOptions& options, std::size_t count)
{
    manikinsim::PerformanceGenerator generator(options.performance);
    std::vector<int> ecg;
    while (ecg.size() < count)
        ecg.push_back(generator.next().ecg);
    return ecg;
}

std::vector<int> storedEcg(const Session& session, std::size_t from)
{
    const auto& data = session.getCommSession().manData;
    std::vector<int> ecg;
    for (std::size_t i = from; i < data.size(); ++i)
        ecg.push_back(data[i].ecg);
    return ecg;
}

// Whether the stored values are the performance's own, one after the other
// from one of its first few samples on: no sample repeated, none left out.
::testing::AssertionResult isPerformedRun(const std::vector<int>& stored, const SimulatorOptions& options,
                                          std::size_t latestStart)
{
    if (stored.empty())
        return ::testing::AssertionFailure() << "nothing stored";
    const std::vector<int> performed = performedEcg(options, stored.size() + latestStart + 1);
    for (std::size_t start = 0; start <= latestStart; ++start)
        if (std::equal(stored.begin(), stored.end(), performed.begin() + static_cast<std::ptrdiff_t>(start)))
            return ::testing::AssertionSuccess();
    std::size_t repeats = 0;
    for (std::size_t i = 1; i < stored.size(); ++i)
        repeats += stored[i] == stored[i - 1] ? 1 : 0;
    std::string text;
    for (std::size_t i = 0; i < std::min<std::size_t>(60, stored.size()); ++i)
        text += std::to_string(stored[i]) + " ";
    text += "\n";
    for (std::size_t i = 0; i < 60; ++i)
        text += std::to_string(performed[i]) + " ";
    return ::testing::AssertionFailure() << stored.size() << " samples, " << repeats
                                         << " repeating the one before, are no run of the performance\n" << text;
}

// The wireless search, answered by one manikin at the given address.
class OneManikinFound final : public WirelessDiscovery {
public:
    explicit OneManikinFound(std::uint32_t address) : WirelessDiscovery(nullptr)
    {
        std::strncpy(reply_.name.data(), "Ward manikin", WirelessReply::NAME_LENGTH);
        reply_.address = address;
    }
    std::vector<WirelessReply> searchWireless() override { return {reply_}; }

private:
    WirelessReply reply_;
};

class SessionSimulatorTest : public testing::Test, protected linktest::CalibratedComManikin {
protected:
    void TearDown() override
    {
        session.reset();
        disconnectManikin();
    }

    static void openPort(int port)
    {
        ManikinReader opener(*CalibrateManager::get().getSerPort(port));
        ASSERT_EQ(opener.open(port), SerialPort::OPEN_SUCCESS);
    }
    // A session on the port, shown and collecting.
    void startSession(int port, long duration)
    {
        SessionRecord record = liveRecord(duration, CalibrateManager::get().getSerPort(port)->getLinkType(), port);
        session = std::make_unique<Session>(record, AlgorithmRecord{});
        session->createSessionView();
        session->start();
    }
    // Steps every 20 ms, as the main frame's timer does, until the condition
    // holds or the time is up.
    bool stepUntil(const std::function<bool()>& done, int milliseconds)
    {
        for (int elapsed = 0; elapsed < milliseconds; elapsed += 20) {
            session->onTimer();
            if (done())
                return true;
            platform::SystemClock().sleep(20);
        }
        return false;
    }
    // What the session had published, and at what rate, before a step.
    struct Published {
        int index = -1;
        double rate = 0.0;
    };
    // Steps until the session ends; `before` is what it held before the
    // step that ended it. However many samples that step brought (a busy
    // machine's steps come late and bring many), the session ends on the
    // step whose samples pass its duration at its rate: its samples up to
    // the step before did not.
    bool stepUntilEnded(int milliseconds, Published& before)
    {
        for (int elapsed = 0; elapsed < milliseconds; elapsed += 20) {
            before = {session->getLastPublishedIndex(), session->getCommSession().sampleRate};
            session->onTimer();
            if (session->getEnded())
                return true;
            platform::SystemClock().sleep(20);
        }
        return false;
    }
    // The session ended at its duration, on the step that passed it.
    ::testing::AssertionResult endedAtItsDuration(long seconds, const Published& before) const
    {
        const int last = session->getLastPublishedIndex();
        const double rate = session->getCommSession().sampleRate;
        if (!Session::isPastDuration(seconds, last, rate))
            return ::testing::AssertionFailure()
                << "ended short of its " << seconds << " s: sample " << last << " at " << rate << " a second";
        if (Session::isPastDuration(seconds, before.index, before.rate))
            return ::testing::AssertionFailure() << "ran on past its " << seconds << " s: sample " << before.index
                                                 << " at " << before.rate << " a second was already past it";
        return ::testing::AssertionSuccess();
    }
    std::size_t collected() const { return session->getCommSession().manData.size(); }
    std::vector<ReceivedFrame> commandsReceived() const
    {
        std::vector<ReceivedFrame> commands;
        for (const ReceivedFrame& frame : simulator->receivedFrames())
            if (frame.command == manikinsim::CMD_24 || frame.command == manikinsim::CMD_PULSE)
                commands.push_back(frame);
        return commands;
    }

    ScopedFakeWindows windows;
    platform::RecordingMessageAsker asker;
    platform::ScopedMessageAsker askerScope{asker};
    std::unique_ptr<Session> session;
};

} // namespace

TEST_F(SessionSimulatorTest, theEndStopsTheManikinAndSwitchesThePulseOffOnlyWhereThereIsOne)
{
    struct Case {
        const char* what;
        Handshake handshake;
        std::uint8_t kind;
        bool pulseOff;
    };
    const Case cases[] = {
        {"kind 3", Handshake::Framed, 3, true},
        {"kind 4", Handshake::Framed, 4, true},
        {"kind 1", Handshake::Framed, 1, false},
        {"ASCII manikin", Handshake::Ascii, 1, false},
    };
    for (const Case& c : cases) {
        connectManikin(manikin(c.handshake, c.kind));
        if (HasFatalFailure())
            return;
        startSession(COM_PORT, 1);
        Published before;
        ASSERT_TRUE(stepUntilEnded(5000, before)) << c.what;
        EXPECT_EQ(session->getState(), Session::DEBRIEF) << c.what;
        EXPECT_FALSE(session->isRunning()) << c.what;
        EXPECT_FALSE(session->getRecord().EndTime.empty()) << c.what;
        // One second of samples at the link's rate, and not one sample short.
        EXPECT_TRUE(endedAtItsDuration(1, before)) << c.what;

        std::vector<ReceivedFrame> expected{{manikinsim::CMD_24, {0}}};
        if (c.pulseOff)
            expected.push_back({manikinsim::CMD_PULSE, {0}});
        if (c.handshake == Handshake::Framed)
            EXPECT_TRUE(ManikinSimulator::waitUntil([&] { return commandsReceived().size() >= expected.size(); }, 2000));
        else
            expected.clear(); // a manikin of the ASCII handshake takes no frames
        EXPECT_EQ(commandsReceived(), expected) << c.what;

        session.reset();
        EXPECT_TRUE(CalibrateManager::get().getIsAvailable(COM_PORT)) << c.what;
        disconnectManikin();
    }
}

TEST_F(SessionSimulatorTest, aThirtySecondDemonstrationSessionTakesThirtySecondsOfTheClock)
{
    linktest::DemoState demo;
    platform::ManualClock clock;
    platform::ScopedClock installed(clock);
    CalibrateManager& ports = CalibrateManager::get();
    ports.scanComPorts();
    constexpr int RECORDED = 247;
    ASSERT_TRUE(ports.getIsValid(RECORDED));
    ports.setIsCalibrated(true, RECORDED);
    openPort(RECORDED);
    startSession(RECORDED, 30);
    EXPECT_FALSE(ports.getIsAvailable(RECORDED));
    const auto stepFor = [&](int milliseconds) {
        for (int elapsed = 0; elapsed < milliseconds; elapsed += 20) {
            clock.advance(20);
            session->onTimer();
        }
    };

    // Thirty seconds of 20 ms ticks bring the 600 samples of thirty seconds
    // at 20 a second, and the session goes on through its last one.
    stepFor(30000);
    EXPECT_EQ(session->getLastPublishedIndex(), 599);
    EXPECT_DOUBLE_EQ(session->getCommSession().sampleRate, 20.0);
    EXPECT_FALSE(session->getEnded());
    stepFor(40);
    EXPECT_FALSE(session->getEnded());
    // The next sample, due at 30.05 s, ends it.
    stepFor(20);
    EXPECT_EQ(session->getLastPublishedIndex(), 600);
    EXPECT_TRUE(session->getEnded());
    EXPECT_EQ(session->getState(), Session::DEBRIEF);
    EXPECT_FALSE(session->getRecord().EndTime.empty());
    EXPECT_EQ(session->getElapsedSeconds(), 30u);
    session.reset();
    EXPECT_TRUE(ports.getIsAvailable(RECORDED));
}

TEST_F(SessionSimulatorTest, aVanishedManikinIsAskedAboutUntilCancelledAndOnceBackStoresItsNewSamplesToTheEnd)
{
    ASSERT_NO_FATAL_FAILURE(connectManikin(manikin(Handshake::Framed, 3)));
    startSession(COM_PORT, 4);
    ASSERT_TRUE(stepUntil([&] { return session->getLastPublishedIndex() > 10; }, 5000));
    const int kept = session->getLastPublishedIndex();

    // The cable is pulled: not even the farewell can be written. Retry gives
    // the port back all the same, but cannot open it again, so the next step
    // asks again; Cancel ends the questions.
    simulator->dropLink();
    asker.answers = {platform::IDRETRY, platform::IDCANCEL};
    ASSERT_TRUE(stepUntil([&] { return asker.asked.size() == 2; }, 5000));
    EXPECT_FALSE(CalibrateManager::get().getSerPort(COM_PORT)->isConnected());
    EXPECT_FALSE(session->isRunning());
    EXPECT_FALSE(session->getRecord().EndTime.empty());
    EXPECT_GE(session->getLastPublishedIndex(), kept);
    stepUntil([] { return false; }, 200);
    EXPECT_EQ(asker.asked.size(), 2u);

    // The manikin is back on a new pseudo-terminal as COM 5.
    simulator->stop();
    simulator = linktest::startOnPseudoTerminal(manikin(Handshake::Framed, 3));
    ASSERT_TRUE(simulator);
    portMap.reset();
    portMap = std::make_unique<linktest::ScopedPortMap>(std::to_string(COM_PORT) + "=" + simulator->devicePath());
    session->start();
    asker.answers = {platform::IDRETRY};
    ASSERT_TRUE(stepUntil([&] { return asker.asked.size() == 3; }, 2000));
    EXPECT_TRUE(session->isRunning());
    const std::size_t beforeRetry = collected();

    // What the session stores from here on is what the manikin sends, and it
    // ends at its four seconds of samples at the manikin's own rate.
    Published before;
    ASSERT_TRUE(stepUntilEnded(8000, before));
    EXPECT_EQ(asker.asked.size(), 3u);
    EXPECT_TRUE(isPerformedRun(storedEcg(*session, beforeRetry), simulator->options(), 5));
    EXPECT_NEAR(session->getCommSession().sampleRate, 50.0, 5.0);
    EXPECT_TRUE(endedAtItsDuration(4, before));
}

TEST_F(SessionSimulatorTest, onlyASessionThatStillCollectsAsksAboutItsUnpluggedManikinAndOpensItAgain)
{
    struct Case {
        const char* what;
        long duration;
        bool ended;
        std::size_t questions;
        bool reopened;
    };
    const Case cases[] = {
        {"unplugged while it collects", 30, false, 1, true},
        {"unplugged after its end (its debriefing shows)", 1, true, 0, false},
    };
    for (const Case& c : cases) {
        ASSERT_NO_FATAL_FAILURE(connectManikin(manikin(Handshake::Framed, 3)));
        startSession(COM_PORT, c.duration);
        if (c.ended)
            ASSERT_TRUE(stepUntil([&] { return session->getEnded(); }, 5000)) << c.what;
        else
            ASSERT_TRUE(stepUntil([&] { return session->getLastPublishedIndex() > 10; }, 5000)) << c.what;
        ASSERT_EQ(session->getState(), c.ended ? Session::DEBRIEF : Session::COLLECT) << c.what;

        // The manikin is unplugged, and another one stands ready on the
        // port's device: Retry would open it and greet it.
        simulator->dropLink();
        simulator->stop();
        simulator = linktest::startOnPseudoTerminal(manikin(Handshake::Framed, 3));
        ASSERT_TRUE(simulator);
        portMap.reset();
        portMap = std::make_unique<linktest::ScopedPortMap>(std::to_string(COM_PORT) + "=" + simulator->devicePath());
        asker.asked.clear();
        asker.answers = {platform::IDRETRY};
        stepUntil([&] { return !asker.asked.empty(); }, 1500);
        stepUntil([] { return false; }, 300);

        EXPECT_EQ(asker.asked.size(), c.questions) << c.what;
        const bool greeted =
            ManikinSimulator::waitUntil([&] { return !simulator->receivedBytes().empty(); }, c.reopened ? 2000 : 300);
        EXPECT_EQ(greeted, c.reopened) << c.what;
        EXPECT_EQ(session->getEnded(), c.ended) << c.what;

        session.reset();
        disconnectManikin();
    }
}

TEST_F(SessionSimulatorTest, aWirelessManikinBackAfterItsLossIsMeasuredAfreshAndEndsOnTime)
{
    // The clock jumps the ten seconds after which a silent wireless manikin is lost.
    linktest::JumpClock clock;
    platform::ScopedClock installed(clock);
    std::uint32_t address = 0;
    SimulatorOptions options = manikin(Handshake::Framed, 4);
    simulator = linktest::startWireless(options, address);
    ASSERT_TRUE(simulator);
    constexpr int SLOT = 257;
    CalibrateManager& ports = CalibrateManager::get();
    ports.setWirelessDiscovery(std::make_unique<OneManikinFound>(address));
    ports.scanWireless();
    ASSERT_TRUE(ports.getIsValid(SLOT));
    ASSERT_TRUE(ports.getIsCalibrated(SLOT));
    openPort(SLOT);
    startSession(SLOT, 4);
    ASSERT_TRUE(stepUntil([&] { return session->getLastPublishedIndex() > 25; }, 5000));

    // The manikin goes out of reach and comes back at its address; the
    // station finds it silent ten seconds on and asks. (What it sent before
    // it went is read first.)
    simulator->dropLink();
    stepUntil([] { return false; }, 100);
    simulator->stop();
    SimulatorOptions back = simulator->options();
    simulator = std::make_unique<ManikinSimulator>(back);
    ASSERT_TRUE(simulator->start());
    clock.jump(SerialPort::IDLE_LIMIT_MS + 100);
    asker.answers = {platform::IDRETRY};
    ASSERT_TRUE(stepUntil([&] { return asker.asked.size() == 1; }, 3000));
    ASSERT_TRUE(session->isRunning());
    const std::size_t beforeRetry = collected();

    // The lost time is no part of the rate: the session ends at its four
    // seconds of 50 samples a second, and holds what the manikin sent.
    Published before;
    ASSERT_TRUE(stepUntilEnded(8000, before));
    EXPECT_NEAR(session->getCommSession().sampleRate, 50.0, 5.0);
    EXPECT_TRUE(endedAtItsDuration(4, before));
    EXPECT_TRUE(isPerformedRun(storedEcg(*session, beforeRetry), simulator->options(), 5));
}

TEST_F(SessionSimulatorTest, aSilentOlderManikinIsAskedForItsStreamsAgainWithoutHoldingUpTheTicks)
{
    linktest::JumpClock clock;
    platform::ScopedClock installed(clock);
    ASSERT_NO_FATAL_FAILURE(connectManikin(manikin(Handshake::Framed, 1)));
    startSession(COM_PORT, -1);
    ASSERT_TRUE(stepUntil([&] { return collected() > 25; }, 5000));

    // The manikin stops streaming; its silence adds no sample.
    simulator->stopStreaming();
    stepUntil([] { return false; }, 300);
    const std::size_t beforeSilence = collected();
    const std::size_t framesBefore = simulator->receivedFrames().size();
    stepUntil([] { return false; }, 300);
    EXPECT_EQ(collected(), beforeSilence);

    // Ten seconds on the station asks who is there, a step a tick, and asks
    // for the streams again: no step holds the timer up while it does (every
    // wait goes through the station's clock, and no step asked it for one).
    clock.jump(ManikinReader::IDLE_LIMIT_MS + 100);
    const int sleepsBefore = clock.sleeps();
    ASSERT_TRUE(stepUntil([&] { return collected() > beforeSilence + 60; }, 6000));
    EXPECT_EQ(clock.sleeps(), sleepsBefore) << "a step waited for the manikin";
    const std::vector<ReceivedFrame> frames = simulator->receivedFrames();
    EXPECT_TRUE(std::any_of(frames.begin() + static_cast<std::ptrdiff_t>(framesBefore), frames.end(),
                            [](const ReceivedFrame& frame) { return frame.command == manikinsim::CMD_REQUEST; }));
    EXPECT_TRUE(session->isRunning());
    EXPECT_TRUE(asker.asked.empty());

    // Every sample stored is the manikin's, before and after the silence,
    // and the silence is no part of the rate.
    EXPECT_TRUE(isPerformedRun(storedEcg(*session, 0), simulator->options(), 50));
    EXPECT_NEAR(session->getCommSession().sampleRate, 50.0, 5.0);
}

// Sessions on the station's port registry: the simulated manikin on a
// pseudo-terminal mapped to COM 5 and the recorded demonstration data, read
// in real time. The end of a timed session, the commands the manikin gets
// then, and a link that drops and comes back.

#include "LinkTestSupport.h"
#include "SessionTestKit.h"

#include "comm/CalibrateManager.h"
#include "manikin-sim/ManikinSimulator.h"
#include "platform/MessageBox.h"
#include "platform/SystemClock.h"

#include <gtest/gtest.h>

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
    // holds or the time is up. Recorded data give a sample a step whenever
    // it comes, so they need no waiting.
    bool stepUntil(const std::function<bool()>& done, int milliseconds, bool realTime = true)
    {
        for (int elapsed = 0; elapsed < milliseconds; elapsed += 20) {
            session->onTimer();
            if (done())
                return true;
            if (realTime)
                platform::SystemClock().sleep(20);
        }
        return false;
    }
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
        ASSERT_TRUE(stepUntil([&] { return session->getEnded(); }, 5000)) << c.what;
        EXPECT_EQ(session->getState(), Session::DEBRIEF) << c.what;
        EXPECT_FALSE(session->isRunning()) << c.what;
        EXPECT_FALSE(session->getRecord().EndTime.empty()) << c.what;
        // One second of samples at the link's rate, and not one sample short.
        const double rate = session->getCommSession().sampleRate;
        EXPECT_TRUE(Session::isPastDuration(1, session->getLastPublishedIndex(), rate)) << c.what;

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

TEST_F(SessionSimulatorTest, aThirtySecondSessionOnRecordedDataGoesOnThroughItsLastSample)
{
    linktest::DemoState demo;
    CalibrateManager& ports = CalibrateManager::get();
    ports.scanComPorts();
    constexpr int RECORDED = 247;
    ASSERT_TRUE(ports.getIsValid(RECORDED));
    ports.setIsCalibrated(true, RECORDED);
    openPort(RECORDED);
    startSession(RECORDED, 30);
    EXPECT_FALSE(ports.getIsAvailable(RECORDED));

    // The recorded data give one sample a step, at 20 a second.
    ASSERT_TRUE(stepUntil([&] { return session->getLastPublishedIndex() == 599; }, 20 * 700, false));
    EXPECT_DOUBLE_EQ(session->getCommSession().sampleRate, 20.0);
    EXPECT_FALSE(session->getEnded());
    EXPECT_TRUE(session->isRunning());
    session->onTimer();
    EXPECT_EQ(session->getLastPublishedIndex(), 600);
    EXPECT_TRUE(session->getEnded());
    EXPECT_EQ(session->getState(), Session::DEBRIEF);
    EXPECT_FALSE(session->getRecord().EndTime.empty());
    session.reset();
    EXPECT_TRUE(ports.getIsAvailable(RECORDED));
}

TEST_F(SessionSimulatorTest, aVanishedManikinIsAskedAboutUntilCancelledAndRunsAgainOnceItIsBack)
{
    ASSERT_NO_FATAL_FAILURE(connectManikin(manikin(Handshake::Framed, 3)));
    startSession(COM_PORT, -1);
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
    const int resumed = session->getLastPublishedIndex();
    EXPECT_TRUE(stepUntil([&] { return session->getLastPublishedIndex() > resumed + 20; }, 5000));
    EXPECT_EQ(asker.asked.size(), 3u);
}

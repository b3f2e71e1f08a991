// The ECG rhythm panel's state driven against the simulated manikin: on a COM
// port over a pseudo-terminal and, for the keep-alive, a wireless manikin on a
// loopback address of the test's own. The frames the manikin received tell
// what the panel sent.

#include "../../comm/LinkTestSupport.h"

#include "app/surveillance/EcgRhythmState.h"
#include "comm/link/SerialPort.h"

#include <gtest/gtest.h>

using manikinsim::ManikinSimulator;
using manikinsim::ReceivedFrame;
using manikinsim::SimulatorOptions;
using Frames = std::vector<ReceivedFrame>;
using S = EcgRhythmState;

namespace {

using namespace linktest;

constexpr int WIRELESS_PORT = 300;

int rhythmButton(int rhythm) { return S::rhythmButtonId(rhythm); }

// The rhythm buttons that show the selected picture.
std::vector<int> selectedRhythms(const EcgRhythmState& state)
{
    std::vector<int> rhythms;
    for (int rhythm = 1; rhythm <= S::RHYTHM_COUNT; ++rhythm)
        if (state.pictureOf(rhythmButton(rhythm)) == S::PICTURE_SELECTED)
            rhythms.push_back(rhythm);
    return rhythms;
}

class EcgPanelOnComPort : public ::testing::Test, protected ComPortManikin {
protected:
    void SetUp() override
    {
        SimulatorOptions options;
        options.handshake = manikinsim::Handshake::Framed;
        options.kind = 3;
        ASSERT_NO_FATAL_FAILURE(startManikin(options));
        port.setBatteryLevel(3);
    }

    // Nothing more than `count` frames was sent: a marker command sent now is
    // the next frame after them.
    void expectNothingAfter(std::size_t count)
    {
        port.sendCommand24(false);
        const Frames frames = sent(count + 1);
        ASSERT_EQ(frames.size(), count + 1);
        EXPECT_EQ(frames.back().command, 24);
    }
};

TEST_F(EcgPanelOnComPort, theNextRhythmIsToldAndOnlyItBlinks)
{
    EcgRhythmState state(&port);
    EXPECT_EQ(selectedRhythms(state), std::vector<int>{1});

    state.click(rhythmButton(5));
    state.click(rhythmButton(7));
    EXPECT_EQ(sent(2), (Frames{{22, {1, 5}}, {22, {1, 7}}}));
    EXPECT_EQ(state.getCurrentRhythm(), 1);
    EXPECT_EQ(state.getNextRhythm(), 7);
    EXPECT_EQ(state.pictureOf(rhythmButton(5)), S::PICTURE_NORMAL);
    EXPECT_EQ(selectedRhythms(state), (std::vector<int>{1, 7}));

    // Rhythm 7 blinks with a period of two ticks; rhythm 5 stays normal.
    std::vector<int> seven;
    for (int tick = 0; tick < 4; ++tick) {
        state.tick();
        seven.push_back(state.pictureOf(rhythmButton(7)));
        EXPECT_EQ(state.pictureOf(rhythmButton(5)), S::PICTURE_NORMAL);
        EXPECT_EQ(state.pictureOf(rhythmButton(1)), S::PICTURE_SELECTED);
    }
    EXPECT_EQ(seven, (std::vector<int>{S::PICTURE_SELECTED, S::PICTURE_NORMAL, S::PICTURE_SELECTED, S::PICTURE_NORMAL}));

    // The current rhythm's button does nothing at all.
    state.click(rhythmButton(1));
    EXPECT_EQ(state.getNextRhythm(), 7);
    expectNothingAfter(2);
}

TEST_F(EcgPanelOnComPort, changeAndSwopMoveTheRhythms)
{
    EcgRhythmState state(&port);
    state.click(rhythmButton(7));
    state.tick();
    state.click(S::ID_CHANGE_RHYTHM);
    EXPECT_EQ(state.getCurrentRhythm(), 7);
    EXPECT_EQ(state.getNextRhythm(), 7);
    EXPECT_EQ(selectedRhythms(state), std::vector<int>{7});
    // With next equal to current the button stays selected tick after tick.
    state.tick();
    state.tick();
    EXPECT_EQ(selectedRhythms(state), std::vector<int>{7});

    // Nothing to swap: nothing changes, nothing is sent.
    state.click(S::ID_SWOP_RHYTHMS);
    EXPECT_EQ(state.getCurrentRhythm(), 7);

    state.click(rhythmButton(3));
    state.click(S::ID_SWOP_RHYTHMS);
    EXPECT_EQ(state.getCurrentRhythm(), 3);
    EXPECT_EQ(state.getNextRhythm(), 7);
    // Only the current rhythm is drawn selected until the next tick.
    EXPECT_EQ(selectedRhythms(state), std::vector<int>{3});
    state.tick();
    EXPECT_EQ(selectedRhythms(state), (std::vector<int>{3, 7}));
    EXPECT_EQ(sent(4), (Frames{{22, {1, 7}}, {22, {7, 7}}, {22, {7, 3}}, {22, {3, 7}}}));
    expectNothingAfter(4);
}

TEST_F(EcgPanelOnComPort, artefactsAreSentAsTheirBits)
{
    EcgRhythmState state(&port);
    state.click(S::ID_MUSCLE_TREMOR);
    EXPECT_EQ(state.pictureOf(S::ID_MUSCLE_TREMOR), S::PICTURE_ACTIVE);
    state.click(S::ID_LOOSE_ELECTRODES);
    state.click(S::ID_MUSCLE_TREMOR);
    EXPECT_EQ(state.pictureOf(S::ID_MUSCLE_TREMOR), S::PICTURE_NORMAL);
    EXPECT_EQ(state.pictureOf(S::ID_LOOSE_ELECTRODES), S::PICTURE_ACTIVE);
    EXPECT_EQ(sent(3), (Frames{{27, {1}}, {27, {3}}, {27, {2}}}));

    // The whole choice again: rhythms, then artefacts.
    state.click(rhythmButton(4));
    state.sendToManikin();
    EXPECT_EQ(sent(6), (Frames{{27, {1}}, {27, {3}}, {27, {2}}, {22, {1, 4}}, {22, {1, 4}}, {27, {2}}}));
}

TEST_F(EcgPanelOnComPort, thePulseNeedsABattery)
{
    EcgRhythmState state(&port);
    state.click(S::ID_PULSE);
    EXPECT_TRUE(port.getPulseOn());
    EXPECT_EQ(state.pictureOf(S::ID_PULSE), S::PICTURE_ACTIVE);
    state.click(S::ID_PULSE);
    EXPECT_FALSE(port.getPulseOn());
    EXPECT_EQ(state.pictureOf(S::ID_PULSE), S::PICTURE_NORMAL);
    EXPECT_EQ(sent(2), (Frames{{28, {1}}, {28, {0}}}));

    for (const int level : {0, 10}) {
        port.setBatteryLevel(level);
        state.click(S::ID_PULSE);
        EXPECT_FALSE(port.getPulseOn());
        EXPECT_EQ(state.pictureOf(S::ID_PULSE), S::PICTURE_NORMAL);
    }
    expectNothingAfter(2);

    // A battery that empties while the pulse is on: the picture goes out at
    // the next tick.
    port.setBatteryLevel(2);
    state.click(S::ID_PULSE);
    port.setBatteryLevel(0);
    EXPECT_EQ(state.pictureOf(S::ID_PULSE), S::PICTURE_ACTIVE);
    state.tick();
    EXPECT_EQ(state.pictureOf(S::ID_PULSE), S::PICTURE_NORMAL);
    EXPECT_FALSE(state.getPulseShownOn());
}

TEST_F(EcgPanelOnComPort, noDefibrillationEffectIsShownActive)
{
    EcgRhythmState state(&port);
    ASSERT_EQ(port.getDefibrillationEffect(), 1);
    state.click(S::ID_NO_DEFIBRILLATION_EFFECT);
    EXPECT_EQ(port.getDefibrillationEffect(), 0);
    EXPECT_EQ(state.pictureOf(S::ID_NO_DEFIBRILLATION_EFFECT), S::PICTURE_ACTIVE);
    state.click(S::ID_NO_DEFIBRILLATION_EFFECT);
    EXPECT_EQ(port.getDefibrillationEffect(), 1);
    EXPECT_EQ(state.pictureOf(S::ID_NO_DEFIBRILLATION_EFFECT), S::PICTURE_NORMAL);
    EXPECT_EQ(sent(2), (Frames{{23, {0}}, {23, {1}}}));
}

TEST_F(EcgPanelOnComPort, aDefibrillationMarkSwapsOncePerSample)
{
    EcgRhythmState state(&port);
    state.click(rhythmButton(5));
    state.tick();

    EXPECT_TRUE(state.checkRhythmSwitch(120));
    EXPECT_EQ(state.getCurrentRhythm(), 5);
    EXPECT_EQ(state.getNextRhythm(), 1);
    EXPECT_EQ(selectedRhythms(state), std::vector<int>{5});
    // The same sample again (a second window drawing it) changes nothing.
    EXPECT_FALSE(state.checkRhythmSwitch(120));
    EXPECT_FALSE(state.checkRhythmSwitch(80));
    EXPECT_EQ(state.getCurrentRhythm(), 5);

    // With no defibrillation effect the mark changes nothing.
    state.click(S::ID_NO_DEFIBRILLATION_EFFECT);
    EXPECT_FALSE(state.checkRhythmSwitch(200));
    EXPECT_EQ(state.getCurrentRhythm(), 5);
    state.click(S::ID_NO_DEFIBRILLATION_EFFECT);
    EXPECT_TRUE(state.checkRhythmSwitch(201));
    EXPECT_EQ(state.getCurrentRhythm(), 1);

    // The manikin switched by itself: only the choice and the option went out.
    EXPECT_EQ(sent(3), (Frames{{22, {1, 5}}, {23, {0}}, {23, {1}}}));
    expectNothingAfter(3);
}

TEST_F(EcgPanelOnComPort, noKeepAliveOnACable)
{
    EcgRhythmState state(&port);
    for (int tick = 0; tick < 8; ++tick)
        state.tick();
    EXPECT_EQ(state.getTimerTicks(), 8);
    expectNothingAfter(0);
}

TEST(EcgPanelOfAStoredSession, sendsNothingAndIgnoresMarks)
{
    EcgRhythmState state(nullptr);
    state.click(rhythmButton(9));
    EXPECT_EQ(state.getNextRhythm(), 9);
    EXPECT_FALSE(state.checkRhythmSwitch(10));
    EXPECT_EQ(state.getCurrentRhythm(), 1);
    state.click(S::ID_PULSE);
    EXPECT_FALSE(state.getPulseShownOn());
    state.tick();
    EXPECT_EQ(state.getTimerTicks(), 0);
    EXPECT_EQ(state.pictureOf(rhythmButton(9)), S::PICTURE_SELECTED);
}

TEST(EcgPanelOverTcp, keepAliveEveryFourthTick)
{
    SimulatorOptions options;
    options.kind = 4;
    std::uint32_t address = 0;
    auto simulator = startWireless(options, address);
    ASSERT_NE(simulator, nullptr);
    SerialPort port;
    port.setIpAddress(address);
    ASSERT_EQ(port.openWireless(WIRELESS_PORT), SerialPort::OPEN_SUCCESS);
    const std::size_t before = simulator->receivedFrames().size();

    EcgRhythmState state(&port);
    for (int tick = 1; tick <= 8; ++tick) {
        state.tick();
        if (tick == 3)
            port.sendCommand24(true); // a marker between the ticks
    }
    ASSERT_TRUE(ManikinSimulator::waitUntil([&] { return simulator->receivedFrames().size() >= before + 3; }, 2000));
    const Frames all = simulator->receivedFrames();
    EXPECT_EQ(Frames(all.begin() + static_cast<std::ptrdiff_t>(before), all.end()),
              (Frames{{24, {1}}, {32, {1}}, {32, {1}}}));
    port.close();
}

} // namespace

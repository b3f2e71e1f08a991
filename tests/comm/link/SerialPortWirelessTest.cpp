// The manikin link to wireless manikins: a simulated manikin listening on a
// loopback address of its own, port 2000.

#include "LinkTestSupport.h"

#include "comm/link/SerialPort.h"
#include "platform/ScopedClock.h"

#include <gtest/gtest.h>

using manikinsim::ManikinSimulator;
using manikinsim::Misbehaviour;
using manikinsim::SimulatorOptions;
using Bytes = std::vector<std::uint8_t>;

namespace {

using namespace linktest;

constexpr int WIRELESS_PORT = 300;

SimulatorOptions wirelessManikin(std::uint8_t kind, std::uint8_t challenge = 200)
{
    SimulatorOptions options;
    options.kind = kind;
    options.framedChallenge = challenge;
    return options;
}

class WirelessLink : public ::testing::Test {
protected:
    // The clock is in place before the link exists, so its idle watch runs on it.
    WirelessLink()
        : installed(clock)
    {
    }

    void startManikin(SimulatorOptions options)
    {
        simulator.reset();
        std::uint32_t address = 0;
        simulator = startWireless(std::move(options), address);
        ASSERT_NE(simulator, nullptr);
        port.reset();
        port.setIpAddress(address);
    }

    Bytes receivedAtLeast(std::size_t count)
    {
        ManikinSimulator::waitUntil([&] { return simulator->receivedBytes().size() >= count; }, 2000);
        return simulator->receivedBytes();
    }

    JumpClock clock;
    platform::ScopedClock installed;
    std::unique_ptr<ManikinSimulator> simulator;
    SerialPort port;
};

TEST_F(WirelessLink, eachKindIsIdentified)
{
    struct Case {
        std::uint8_t kind;
        bool kindIs3or4;
        bool kindIs3;
    };
    for (const Case& c : {Case{1, false, false}, Case{3, true, true}, Case{4, true, false}}) {
        SCOPED_TRACE(int(c.kind));
        startManikin(wirelessManikin(c.kind, 200));
        ASSERT_EQ(port.openWireless(WIRELESS_PORT), SerialPort::OPEN_SUCCESS);
        EXPECT_EQ(port.getLinkType(), SerialPort::LINK_WIRELESS);
        EXPECT_EQ(port.getKindIs3or4(), c.kindIs3or4);
        EXPECT_EQ(port.getKindIs3(), c.kindIs3);
        EXPECT_TRUE(port.isAlive());
        const Bytes received = receivedAtLeast(7);
        ASSERT_EQ(received.size(), 7u);
        EXPECT_EQ(Bytes(received.begin(), received.begin() + 5), (Bytes{0x7E, 0x07, 0x80, 0x00, '?'}));
        EXPECT_EQ(received[5] + received[6], 200);
        EXPECT_TRUE(simulator->answerAccepted());
        EXPECT_TRUE(port.close());
        EXPECT_FALSE(port.isConnected());
    }
}

TEST_F(WirelessLink, badRepliesGiveTheirCodes)
{
    struct Case {
        const char* name;
        Bytes reply;
        Misbehaviour misbehaviour;
        int result;
    };
    const Case cases[] = {
        {"kind 2", {2, 5, 0x0D, 0x0A}, Misbehaviour::None, SerialPort::OPEN_WRONG_KIND},
        {"LF CR", {1, 5, 0x0A, 0x0D}, Misbehaviour::None, SerialPort::OPEN_NO_CRLF},
        {"one byte", {3}, Misbehaviour::None, SerialPort::OPEN_NO_CRLF},
        {"silent", {}, Misbehaviour::Silent, SerialPort::OPEN_NO_ANSWER},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SimulatorOptions options = wirelessManikin(3);
        options.replyOverride = c.reply;
        options.misbehaviour = c.misbehaviour;
        startManikin(options);
        EXPECT_EQ(port.openWireless(WIRELESS_PORT), c.result);
        EXPECT_EQ(port.getLastOpenResult(), c.result);
        EXPECT_FALSE(port.isConnected());
        EXPECT_NE(port.getLinkType(), SerialPort::LINK_WIRELESS);
    }
}

TEST_F(WirelessLink, noManikinAtTheAddressGivesNoAnswer)
{
    std::uint32_t address = 0;
    auto unused = startWireless(wirelessManikin(3), address);
    ASSERT_NE(unused, nullptr);
    unused->stop();
    port.setIpAddress(address);
    EXPECT_EQ(port.openWireless(WIRELESS_PORT), SerialPort::OPEN_NO_ANSWER);
    EXPECT_EQ(SerialPort().openWireless(), SerialPort::OPEN_PORT_NOT_AVAILABLE);
}

TEST_F(WirelessLink, anOpenLinkIsNotOpenedTwice)
{
    startManikin(wirelessManikin(4));
    ASSERT_EQ(port.openWireless(WIRELESS_PORT), SerialPort::OPEN_SUCCESS);
    EXPECT_EQ(port.openWireless(-1), SerialPort::OPEN_ALREADY_OPEN);
}

TEST_F(WirelessLink, commandsGoOutAsFramesByteForByte)
{
    startManikin(wirelessManikin(4));
    ASSERT_EQ(port.openWireless(WIRELESS_PORT), SerialPort::OPEN_SUCCESS);
    receivedAtLeast(7);
    port.sendCommand32();
    port.setPulse(false);
    port.sendCommand24(true);
    EXPECT_TRUE(port.requestDataStreams());
    const Bytes expected = {0x7E, 0x20, 0x00, 0x01, 0x01, 0x7E, 0x1C, 0x00, 0x01, 0x00, 0x7E, 0x18, 0x00, 0x01, 0x01,
                            0x7E, 0x0D, 0x00, 0x02, 0x02, 0x00, 0x7E, 0x0D, 0x00, 0x02, 0x01, 0x00};
    const Bytes received = receivedAtLeast(7 + expected.size());
    EXPECT_EQ(Bytes(received.begin() + 7, received.end()), expected);
    EXPECT_TRUE(port.getCommand24Flag());

    // The streams flow: frames without byte stuffing.
    ASSERT_TRUE(ManikinSimulator::waitUntil([&] { port.readPending(); return port.getBufferSize() >= 40; }, 2000));
    EXPECT_EQ(port.peekByte(0), 0x7E);
}

TEST_F(WirelessLink, silenceForTenSecondsLosesTheLink)
{
    startManikin(wirelessManikin(4));
    ASSERT_EQ(port.openWireless(WIRELESS_PORT), SerialPort::OPEN_SUCCESS);
    port.flushInput();
    clock.jump(SerialPort::IDLE_LIMIT_MS - 1000);
    EXPECT_EQ(port.readPending(), 0) << "not yet beyond the limit";
    EXPECT_TRUE(port.isAlive());
    clock.jump(1001);
    EXPECT_EQ(port.readPending(), -1);
    EXPECT_EQ(port.getLinkType(), SerialPort::LINK_LOST);
    EXPECT_FALSE(port.isAlive());
    // Lost once: later reads find nothing.
    EXPECT_EQ(port.readPending(), 0);
    EXPECT_TRUE(port.close());
}

TEST_F(WirelessLink, arrivingDataKeepsTheLinkAlive)
{
    // A manikin that sends nothing of its own: only the frame below arrives.
    SimulatorOptions options = wirelessManikin(4);
    options.misbehaviour = Misbehaviour::Mute;
    startManikin(options);
    ASSERT_EQ(port.openWireless(WIRELESS_PORT), SerialPort::OPEN_SUCCESS);
    port.flushInput();
    simulator->send({0x7E, 0x15, 0x00, 0x01, 0x02});
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    clock.jump(SerialPort::IDLE_LIMIT_MS + 500);
    EXPECT_EQ(port.readPending(), 5);
    EXPECT_EQ(port.getLinkType(), SerialPort::LINK_WIRELESS);
    // The watch started again with the data.
    clock.jump(SerialPort::IDLE_LIMIT_MS - 100);
    EXPECT_EQ(port.readPending(), 0);
    EXPECT_TRUE(port.isAlive());
}

TEST_F(WirelessLink, aFailedSendLosesTheLink)
{
    startManikin(wirelessManikin(3));
    ASSERT_EQ(port.openWireless(WIRELESS_PORT), SerialPort::OPEN_SUCCESS);
    simulator->stop();
    // The first send after the peer went away may still be taken by the
    // system; the reset that answers it makes the next one fail.
    for (int i = 0; i < 50 && port.getLinkType() == SerialPort::LINK_WIRELESS; ++i) {
        port.setPulse(true);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_EQ(port.getLinkType(), SerialPort::LINK_LOST);
    EXPECT_FALSE(port.isAlive());
}

} // namespace

// Giving a COM port back when the manikin vanished without a farewell, and
// the pulse flag the callers of setPulse keep on the link.

#include "LinkTestSupport.h"
#include "comm/link/SerialPort.h"

#include <gtest/gtest.h>

using manikinsim::Handshake;
using manikinsim::SimulatorOptions;

namespace {

SimulatorOptions framedManikin()
{
    SimulatorOptions options;
    options.handshake = Handshake::Framed;
    options.kind = 3;
    return options;
}

} // namespace

TEST(SerialPortRelease, aVanishedManikinsPortIsGivenBackAndOpensAgainOnceItIsBack)
{
    auto simulator = linktest::startOnPseudoTerminal(framedManikin());
    ASSERT_TRUE(simulator);
    auto map = std::make_unique<linktest::ScopedPortMap>("5=" + simulator->devicePath());
    SerialPort port;
    ASSERT_EQ(port.open(linktest::SIM_COM_PORT), SerialPort::OPEN_SUCCESS);
    simulator->dropLink();

    // The farewell cannot be written, so close keeps the device; release does not.
    EXPECT_FALSE(port.release());
    EXPECT_FALSE(port.isConnected());
    EXPECT_EQ(port.getLinkType(), SerialPort::LINK_CLOSED);

    simulator->stop();
    simulator = linktest::startOnPseudoTerminal(framedManikin());
    ASSERT_TRUE(simulator);
    map.reset();
    map = std::make_unique<linktest::ScopedPortMap>("5=" + simulator->devicePath());
    EXPECT_EQ(port.open(linktest::SIM_COM_PORT), SerialPort::OPEN_SUCCESS);
    EXPECT_TRUE(port.release());
}

TEST(SerialPortRelease, thePulseFlagIsKeptUntilTheLinkIsReset)
{
    SerialPort port;
    EXPECT_FALSE(port.getPulseOn());
    port.setPulseOn(true);
    port.setPulse(true);
    EXPECT_TRUE(port.getPulseOn());
    port.reset();
    EXPECT_FALSE(port.getPulseOn());
}

// The simulated controller as the station meets it: on its own thread
// behind a pseudo-terminal, found by the port registry's scan and reached
// through the registry's port with the real clock.

#include "ControllerTestSupport.h"

#include "CPB/CPBComm.h"
#include "CPB/CPBConfiguration.h"
#include "CPB/CPBMemory.h"
#include "CPB/Pointer.h"
#include "comm/ports/CalibrateManager.h"
#include "config/PropertyModel.h"

#include <gtest/gtest.h>

using namespace cpbtest;

TEST(ControllerOnItsLine, scanFindsItAndATransferReachesItsMemory)
{
    kovatest::TempDir folder;
    kovatest::ScopedCwd inFolder(folder.path());
    controllersim::ControllerSimulator controller;
    ASSERT_TRUE(controller.start());
    ScopedPortMap map(std::to_string(CONTROLLER_PORT) + "=" + controller.devicePath());

    CalibrateManager manager;
    manager.scanComPorts();
    EXPECT_TRUE(manager.getIsCPB(CONTROLLER_PORT));
    EXPECT_EQ(manager.getCPBList(), std::vector<int>{CONTROLLER_PORT});

    SerialPort& port = *manager.getSerPort(CONTROLLER_PORT);
    CPBComm link(port);
    ASSERT_EQ(link.open(), CPBComm::OPEN_ANSWERED);
    CPBMemory memory(link);
    PropertyModel setup;
    setup.showLeanings = false;
    const Bytes configuration = CPBConfiguration::encode(setup);
    ASSERT_TRUE(memory.write(Pointer::CONFIGURATION, 0, configuration));
    Bytes readBack;
    ASSERT_TRUE(memory.read(Pointer::CONFIGURATION, 0, 3, readBack));
    EXPECT_EQ(readBack, (Bytes{0xFF, 0xAF, 0xE0}));
    EXPECT_TRUE(port.close());

    ASSERT_TRUE(controllersim::ControllerSimulator::waitUntil(
        [&] { return controller.device().ignoredFrames() >= 2; }, 2000))
        << "the scan's and the transfer's farewells";
    const auto device = controller.device();
    EXPECT_EQ(device.memory(0x51, 0x7FB0, 3), configuration);
    EXPECT_EQ(device.faultyRequests(), 0);
}

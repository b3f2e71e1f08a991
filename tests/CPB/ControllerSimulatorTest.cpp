// The simulated controller the link tests rely on: it must notice every
// request that breaks the link's rules, and answer only the others.

#include "controller-sim/ControllerDevice.h"

#include <gtest/gtest.h>

using namespace controllersim;

namespace {

const Bytes ACK = {0x55, 0x06, 0x5B};

// A request with its checksum, as the station builds it.
Bytes request(Bytes bytes)
{
    bytes.push_back(checksum(bytes, bytes.size()));
    return bytes;
}

} // namespace

TEST(ControllerSimulator, greetsTheStationThatAnswersItsIdentity)
{
    ControllerDevice device;
    EXPECT_EQ(device.receive({'?'}), (Bytes{'2', 'c', 0x37, 0x0D, 0x0A}));
    EXPECT_EQ(device.receive({0x20}), Bytes{});
    EXPECT_EQ(device.receive({0x43}), ACK);
    EXPECT_TRUE(device.identified());
    // The station's farewell frame is passed over.
    EXPECT_EQ(device.receive({0x7E, 0x07, 0x80, 0x00}), Bytes{});
    EXPECT_EQ(device.ignoredFrames(), 1);

    ControllerOptions mute;
    mute.greeting = false;
    ControllerDevice silent(mute);
    silent.receive({'?'});
    EXPECT_EQ(silent.receive({0x20, 0x43}), Bytes{});
}

TEST(ControllerSimulator, servesRequestsAndFlagsThoseThatBreakTheRules)
{
    const struct {
        const char* what;
        Bytes bytes;
        unsigned faults;
    } cases[] = {
        {"write", request({0x55, 0x01, 0x51, 0x7F, 0xB0, 0x02, 0x00, 0x01, 0x02}), 0},
        {"read", request({0x55, 0x02, 0x50, 0x03, 0x80, 0x10}), 0},
        {"bad checksum", {0x55, 0x02, 0x51, 0x7F, 0xB0, 0x03, 0xDB}, FAULT_CHECKSUM},
        {"length 0", request({0x55, 0x02, 0x51, 0x00, 0x00, 0x00}), FAULT_LENGTH},
        {"length 17", request({0x55, 0x02, 0x51, 0x00, 0x00, 0x11}), FAULT_LENGTH},
        {"crosses a page", request({0x55, 0x01, 0x51, 0x00, 0x3F, 0x02, 0x00, 0x01, 0x02}), FAULT_PAGE},
        {"unknown bank", request({0x55, 0x02, 0x52, 0x00, 0x00, 0x01}), FAULT_BANK},
        {"unknown command", {0x55, 0x09}, FAULT_COMMAND},
    };
    for (const auto& c : cases) {
        ControllerDevice device;
        const Bytes answer = device.receive(c.bytes);
        ASSERT_EQ(device.requests().size(), 1u) << c.what;
        EXPECT_EQ(device.requests()[0].faults, c.faults) << c.what;
        if (c.faults != 0)
            EXPECT_EQ(answer, Bytes{}) << c.what;
        else
            EXPECT_EQ(Bytes(answer.begin(), answer.begin() + 3), ACK) << c.what;
    }

    ControllerDevice device;
    device.receive(request({0x55, 0x01, 0x51, 0x7F, 0xB0, 0x02, 0x00, 0x01, 0x02}));
    EXPECT_EQ(device.memory(0x51, 0x7FAF, 4), (Bytes{0xFF, 0x01, 0x02, 0xFF}));
    EXPECT_EQ(device.receive(request({0x55, 0x02, 0x51, 0x7F, 0xB0, 0x02})),
              (Bytes{0x55, 0x06, 0x5B, 0x55, 0x02, 0x51, 0x7F, 0xB0, 0x02, 0x01, 0x02, 0xDC}));
}

TEST(ControllerSimulator, cutLineAnswersNothingMore)
{
    ControllerOptions options;
    options.cutAfterRequests = 1;
    ControllerDevice device(options);
    const Bytes read = request({0x55, 0x02, 0x51, 0x00, 0x00, 0x01});
    EXPECT_FALSE(device.receive(read).empty());
    EXPECT_TRUE(device.receive(read).empty());
    EXPECT_TRUE(device.lineCut());
    EXPECT_TRUE(device.receive({'?'}).empty());
}

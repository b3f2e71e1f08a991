// The controller's packages on the wire: requests as the station builds
// them, and the reader and reply checks over what a port has received.

#include "CPB/GetPackage.h"
#include "CPB/SendPackage.h"
#include "comm/link/SerialPort.h"

#include <gtest/gtest.h>

#include <deque>

namespace {

using Bytes = std::vector<std::uint8_t>;

// A port that is not open: its queue holds exactly what a test puts there.
struct ReceivedBytes {
    explicit ReceivedBytes(const Bytes& bytes) { port.readData.assign(bytes.begin(), bytes.end()); }
    Bytes queued() const { return Bytes(port.readData.begin(), port.readData.end()); }
    SerialPort port;
};

const CPBAdr CONFIGURATION(0x51, 0x7F, 0xB0);

} // namespace

TEST(SendPackage, writeAndReadRequestsCarryTheirChecksum)
{
    SerialPort port;
    const Bytes data = {0x01, 0x02};
    EXPECT_EQ(SendPackage(SendPackage::WRITE, CONFIGURATION, &data, port).build(),
              (Bytes{0x55, 0x01, 0x51, 0x7F, 0xB0, 0x02, 0x00, 0x01, 0x02, 0xDB}));
    EXPECT_EQ(SendPackage(SendPackage::READ, CONFIGURATION, nullptr, port, 3).build(),
              (Bytes{0x55, 0x02, 0x51, 0x7F, 0xB0, 0x03, 0xDA}));
    EXPECT_FALSE(SendPackage(SendPackage::READ, CONFIGURATION, nullptr, port, 3).send()) << "the port is not open";
}

TEST(GetPackage, readerFindsPackagesAndLeavesWhatHasNotArrived)
{
    struct Case {
        const char* what;
        Bytes received;
        int result;
        Bytes package;
        Bytes left;
    };
    const Case cases[] = {
        {"noise before an acknowledgement", {0x00, 0xFF, 0x55, 0x06, 0x5B}, 7, {0x55, 0x06, 0x5B}, {}},
        {"acknowledgement with a bad checksum", {0x55, 0x06, 0x5C}, 5, {}, {0x5C}},
        {"short package of kind 5", {0x55, 0x05, 0x5A}, 1, {0x55, 0x05, 0x5A}, {}},
        {"acknowledgement half there", {0x55, 0x06}, 4, {}, {0x55, 0x06}},
        {"sync byte alone", {0x13, 0x55}, 4, {}, {0x55}},
        {"no sync byte", {0x01, 0x02, 0x03}, 0, {}, {}},
        {"nothing", {}, 0, {}, {}},
        {"unknown kind stays", {0x55, 0x99, 0x00}, 1, {}, {0x55, 0x99, 0x00}},
        {"data reply, then an acknowledgement",
         {0x55, 0x02, 0x51, 0x7F, 0xB0, 0x01, 0xAA, 0x82, 0x55, 0x06, 0x5B},
         7,
         {0x55, 0x02, 0x51, 0x7F, 0xB0, 0x01, 0xAA, 0x82},
         {0x55, 0x06, 0x5B}},
        {"data reply still arriving", {0x55, 0x02, 0x51, 0x7F, 0xB0, 0x03, 0xAA, 0xBB},
         4, {}, {0x55, 0x02, 0x51, 0x7F, 0xB0, 0x03, 0xAA, 0xBB}},
        {"data reply header still arriving", {0x55, 0x02, 0x51, 0x7F}, 4, {}, {0x55, 0x02, 0x51, 0x7F}},
        {"data reply with a bad checksum", {0x55, 0x02, 0x51, 0x7F, 0xB0, 0x01, 0xAA, 0x83, 0x01}, 5, {}, {0x83, 0x01}},
    };
    for (const Case& c : cases) {
        ReceivedBytes line(c.received);
        Bytes package = {0xEE};
        EXPECT_EQ(GetPackage::read(line.port, package), c.result) << c.what;
        EXPECT_EQ(package, c.package) << c.what;
        EXPECT_EQ(line.queued(), c.left) << c.what;
    }
}

TEST(GetPackage, onlyAWholeAcknowledgementCounts)
{
    const std::pair<Bytes, int> cases[] = {
        {{0x55, 0x06, 0x5B}, 7},
        {{0xFF, 0x55, 0x06, 0x5B}, 7},
        {{0x55, 0x05, 0x5A}, 4},
        {{0x55, 0x06, 0x5C}, 4},
        {{0x55, 0x06}, 4},
        {{0x55, 0x02, 0x51, 0x7F, 0xB0, 0x01, 0xAA, 0x82}, 4},
        {{}, 4},
    };
    for (const auto& [received, result] : cases) {
        ReceivedBytes line(received);
        EXPECT_EQ(waitForAck(line.port), result) << ::testing::PrintToString(received);
    }
}

TEST(GetPackage, dataReplyMustAnswerTheRequest)
{
    // A reply to a read of 2 bytes at 51:7FB0 holding AA BB.
    const Bytes reply = {0x55, 0x02, 0x51, 0x7F, 0xB0, 0x02, 0xAA, 0xBB, 0x3E};
    const Bytes otherAddress = {0x55, 0x02, 0x51, 0x7F, 0xB1, 0x02, 0xAA, 0xBB, 0x3F};
    const Bytes otherLength = {0x55, 0x02, 0x51, 0x7F, 0xB0, 0x03, 0xAA, 0xBB, 0xCC, 0x0B};
    const Bytes badChecksum = {0x55, 0x02, 0x51, 0x7F, 0xB0, 0x02, 0xAA, 0xBB, 0x3D};
    const struct {
        const char* what;
        Bytes received;
        int result;
    } cases[] = {
        {"the reply", reply, 7},
        {"another address", otherAddress, 2},
        {"another length", otherLength, 3},
        {"bad checksum", badChecksum, 5},
        {"an acknowledgement", {0x55, 0x06, 0x5B}, 4},
        {"a short package", {0x55, 0x05, 0x5A}, 1},
        {"half a reply", Bytes(reply.begin(), reply.begin() + 7), 4},
        {"noise", {0x01, 0x02}, 0},
    };
    for (const auto& c : cases) {
        ReceivedBytes line(c.received);
        Bytes out = {0xEE};
        EXPECT_EQ(GetPackage::checkDataReply(CONFIGURATION, 2, out, line.port), c.result) << c.what;
        EXPECT_EQ(out, c.result == 7 ? (Bytes{0xAA, 0xBB, 0xEE}) : Bytes{0xEE}) << c.what;
    }
}

// The packet link to the hand-held controller, against the simulated
// controller on a pseudo-terminal whose answers arrive as the link waits.

#include "ControllerTestSupport.h"

#include "CPB/CPBComm.h"

#include <gtest/gtest.h>

#include <numeric>

using controllersim::ControllerOptions;

namespace {

using namespace cpbtest;

using Spans = std::vector<std::pair<int, int>>;

Bytes counting(std::size_t count, std::uint8_t first = 1)
{
    Bytes bytes(count);
    std::iota(bytes.begin(), bytes.end(), first);
    return bytes;
}

class ControllerLink : public PumpedController {
protected:
    CPBComm link{port};
};

} // namespace

TEST_F(ControllerLink, openWaitsForTheGreeting)
{
    EXPECT_EQ(link.open(), CPBComm::OPEN_ANSWERED);
    EXPECT_TRUE(device().identified());
}

TEST_F(ControllerLink, silentControllerIsGivenUpAfterItsWaits)
{
    ControllerOptions options;
    options.greeting = false;
    startController(options);
    EXPECT_EQ(link.open(), CPBComm::OPEN_NO_GREETING);
    // 50 ms, then ten more looks 30 ms apart: the last waits of the open.
    const auto& sleeps = clock->sleeps();
    ASSERT_GE(sleeps.size(), 11u);
    const std::vector<std::uint32_t> tail(sleeps.end() - 11, sleeps.end());
    EXPECT_EQ(tail, (std::vector<std::uint32_t>{50, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30}));
}

TEST_F(ControllerLink, portOutsideTheMapGivesThePortsOwnResult)
{
    SerialPort elsewhere;
    EXPECT_EQ(elsewhere.open(CONTROLLER_PORT + 1), SerialPort::OPEN_PORT_NOT_AVAILABLE);
    CPBComm unmapped(elsewhere);
    EXPECT_EQ(unmapped.open(), SerialPort::OPEN_PORT_NOT_AVAILABLE);
}

TEST_F(ControllerLink, requestsGoOutAsBuilt)
{
    ASSERT_EQ(link.open(), CPBComm::OPEN_ANSWERED);
    const std::size_t before = device().received().size();
    ASSERT_TRUE(link.write(CPBAdr(0x51, 0x7F, 0xB0), {0x01, 0x02}, 10));
    Bytes out;
    ASSERT_TRUE(link.read(CPBAdr(0x51, 0x7F, 0xB0), 3, out, 10));
    const Bytes received = device().received();
    EXPECT_EQ(Bytes(received.begin() + static_cast<std::ptrdiff_t>(before), received.end()),
              (Bytes{0x55, 0x01, 0x51, 0x7F, 0xB0, 0x02, 0x00, 0x01, 0x02, 0xDB,  //
                     0x55, 0x02, 0x51, 0x7F, 0xB0, 0x03, 0xDA}));
    EXPECT_EQ(out, (Bytes{0x01, 0x02, 0xFF}));
}

TEST_F(ControllerLink, blocksNeverCrossAPage)
{
    const struct {
        int offset;
        std::size_t size;
        Spans blocks;
    } cases[] = {
        {0x3C, 20, {{0x3C, 4}, {0x40, 12}, {0x4C, 4}}},
        {0x28, 40, {{0x28, 16}, {0x38, 8}, {0x40, 8}, {0x48, 8}}},
        {0x80, 33, {{0x80, 16}, {0x90, 16}, {0xA0, 1}}},
        {0x7F, 2, {{0x7F, 1}, {0x80, 1}}},
    };
    for (const auto& c : cases) {
        startController({});
        ASSERT_EQ(link.open(), CPBComm::OPEN_ANSWERED);
        const CPBAdr start = CPBAdr(0x51, 0, 0) + c.offset;
        const Bytes data = counting(c.size);
        ASSERT_TRUE(link.write(start, data, 10)) << c.offset;
        EXPECT_EQ(requestSpans(), c.blocks) << "write at " << c.offset;
        EXPECT_EQ(device().memory(0x51, static_cast<std::uint16_t>(c.offset), c.size), data);

        Bytes out = {0xEE};
        ASSERT_TRUE(link.read(start, static_cast<int>(c.size), out, 10)) << c.offset;
        Bytes expected = {0xEE};
        expected.insert(expected.end(), data.begin(), data.end());
        EXPECT_EQ(out, expected) << "read appends to what out holds";
        const Spans all = requestSpans();
        EXPECT_EQ(Spans(all.begin() + static_cast<std::ptrdiff_t>(c.blocks.size()), all.end()), c.blocks)
            << "read at " << c.offset;
    }
}

TEST_F(ControllerLink, blocksBreakingTheRulesAreNeverSent)
{
    ASSERT_EQ(link.open(), CPBComm::OPEN_ANSWERED);
    const struct {
        int offset;
        int length;
        const char* check;
    } cases[] = {
        {0x00, 0, "data.size() > 0 && data.size() <= MAXDATA"},
        {0x00, 17, "data.size() > 0 && data.size() <= MAXDATA"},
        {0x3C, 5, "startAdr.getAdr() % 64 + data.size() <= 64"},
    };
    for (const auto& c : cases) {
        const CPBAdr start = CPBAdr(0x51, 0, 0) + c.offset;
        EXPECT_FALSE(link.writeBlock(start, counting(static_cast<std::size_t>(c.length)), 10)) << c.check;
        Bytes out;
        EXPECT_FALSE(link.readBlock(start, out, c.length, 10)) << c.check;
        EXPECT_TRUE(out.empty());
    }
    EXPECT_FALSE(link.writeBlock(CPBAdr(0x51, 0, 0), {1}, 0)) << "no tries";
    EXPECT_TRUE(device().requests().empty());
    const std::string log = logText();
    for (const char* check : {"data.size() > 0 && data.size() <= MAXDATA", "startAdr.getAdr() % 64 + data.size() <= 64",
                              "len > 0 && len <= MAXDATA", "startAdr.getAdr() % 64 + len <= 64"})
        EXPECT_NE(log.find(check), std::string::npos) << check;
}

TEST_F(ControllerLink, retriesOutlastALineThatMisbehaves)
{
    const auto lostAcks = [](int k) { ControllerOptions o; o.lostAcknowledgements = k; return o; };
    const auto badReplies = [](int k) { ControllerOptions o; o.badChecksumReplies = k; return o; };
    const auto wrongAddress = [](int k) { ControllerOptions o; o.wrongAddressReplies = k; return o; };
    const auto wrongLength = [](int k) { ControllerOptions o; o.wrongLengthReplies = k; return o; };
    const auto noisy = [] { ControllerOptions o; o.noiseBeforePackages = true; return o; };
    const struct {
        const char* what;
        ControllerOptions options;
        bool reading;
        bool delivered;
        std::size_t requests;
    } cases[] = {
        {"3 acknowledgements lost", lostAcks(3), false, true, 4},
        {"9 acknowledgements lost", lostAcks(9), false, true, 10},
        {"10 acknowledgements lost", lostAcks(10), false, false, 10},
        {"read, 2 acknowledgements lost", lostAcks(2), true, true, 3},
        {"2 replies with a bad checksum", badReplies(2), true, true, 3},
        {"a reply for another address", wrongAddress(1), true, true, 2},
        {"a reply of another length", wrongLength(1), true, true, 2},
        {"10 replies for another address", wrongAddress(10), true, false, 10},
        {"noise before every package", noisy(), true, true, 1},
    };
    for (const auto& c : cases) {
        startController(c.options);
        controller->change([](controllersim::ControllerDevice& d) { d.setMemory(0x51, 0x7FB0, {0xA1, 0xB2, 0xC3}); });
        ASSERT_EQ(link.open(), CPBComm::OPEN_ANSWERED) << c.what;
        Bytes out;
        const bool done = c.reading ? link.read(CPBAdr(0x51, 0x7F, 0xB0), 3, out, 10)
                                    : link.write(CPBAdr(0x51, 0x7F, 0xB0), {0x01, 0x02, 0x03}, 10);
        EXPECT_EQ(done, c.delivered) << c.what;
        EXPECT_EQ(device().requests().size(), c.requests) << c.what;
        if (c.reading && c.delivered) {
            EXPECT_EQ(out, (Bytes{0xA1, 0xB2, 0xC3})) << c.what;
        }
    }
}

TEST_F(ControllerLink, aBlockThatIsNeverAcknowledgedCostsTenTries)
{
    ControllerOptions options;
    options.lostAcknowledgements = 1000;
    startController(options);
    ASSERT_EQ(link.open(), CPBComm::OPEN_ANSWERED);
    clock->forgetSleeps();
    EXPECT_FALSE(link.writeBlock(CPBAdr(0x51, 0, 0), {0x01}, 10));
    // Each try: ten more looks for the acknowledgement 30 ms apart, then a
    // purge and 30 ms before the next.
    const auto& sleeps = clock->sleeps();
    EXPECT_EQ(sleeps, std::vector<std::uint32_t>(10 * 11, 30));
    EXPECT_EQ(device().requests().size(), 10u);
}

TEST_F(ControllerLink, aCutLineEndsTheWriteAtTheBlockThatFailed)
{
    ControllerOptions options;
    options.cutAfterRequests = 1;
    startController(options);
    ASSERT_EQ(link.open(), CPBComm::OPEN_ANSWERED);
    EXPECT_FALSE(link.write(CPBAdr(0x51, 0, 0), counting(20), 10));
    EXPECT_EQ(device().memory(0x51, 0, 20), [] {
        Bytes expected = counting(16);
        expected.resize(20, 0xFF);
        return expected;
    }());
    EXPECT_FALSE(controller->lineOpen());
}

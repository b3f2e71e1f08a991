// Reading a search answer and the rules of the search that need no network.

#include "comm/ports/WirelessDiscovery.h"
#include "comm/ports/WirelessReply.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>

namespace {

std::string textOf(const std::string& bytes, std::size_t length)
{
    return WirelessReply::replyText(reinterpret_cast<const std::uint8_t*>(bytes.data()), length);
}

TEST(WirelessReply, theTextEndsAtTheFirstNulOrAtTheReceivedLength)
{
    const std::string full(99, 'x');
    const struct {
        std::string bytes;
        std::size_t length;
        std::string text;
    } cases[] = {
        {"Resus Kit", 9, "Resus Kit"},
        {std::string("Kit\0garbage", 11), 11, "Kit"},
        {full, 99, full},                                // a full buffer has no terminator
        {full + "yz", 101, full},                        // never more than the buffer holds
        {"", 0, ""},
        {std::string("\0\0", 2), 2, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(textOf(c.bytes, c.length), c.text) << c.bytes.size();
    EXPECT_EQ(WirelessReply::replyText(nullptr, 5), "");
}

TEST(WirelessReply, theNameRecordKeepsTheFirst32CharactersTerminated)
{
    const std::string forty(40, 'a');
    const WirelessReply reply = WirelessReply::fromText(forty, ::inet_addr("10.1.2.3"));
    EXPECT_EQ(reply.nameText(), forty.substr(0, 32));
    EXPECT_EQ(reply.name[32], '\0');
    EXPECT_EQ(reply.address, ::inet_addr("10.1.2.3"));
    EXPECT_EQ(WirelessReply::fromText("short", 0).nameText(), "short");
}

TEST(WirelessSearchRules, requestBroadcastAndSenders)
{
    const std::vector<std::uint8_t> request = WirelessDiscovery::request(::inet_addr("192.168.4.17"));
    const std::string expected("CPR 192.168.4.17\0", 17);
    EXPECT_EQ(std::string(request.begin(), request.end()), expected);

    EXPECT_EQ(WirelessDiscovery::broadcastAddress(::inet_addr("192.168.4.17"), ::inet_addr("255.255.255.0")),
              ::inet_addr("192.168.4.255"));
    EXPECT_EQ(WirelessDiscovery::broadcastAddress(::inet_addr("10.77.3.9"), ::inet_addr("255.255.240.0")),
              ::inet_addr("10.77.15.255"));

    const std::uint32_t own = ::inet_addr("10.77.0.1");
    EXPECT_FALSE(WirelessDiscovery::acceptsSender(own, own));
    EXPECT_FALSE(WirelessDiscovery::acceptsSender(::inet_addr("127.0.0.1"), own));
    EXPECT_TRUE(WirelessDiscovery::acceptsSender(::inet_addr("127.0.0.2"), own));
    EXPECT_TRUE(WirelessDiscovery::acceptsSender(::inet_addr("10.77.0.9"), own));
}

} // namespace

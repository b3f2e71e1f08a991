// The wireless manikin search inside the test program's own network: the
// station broadcasts from a veth interface, simulated manikins answer by
// unicast from loopback addresses of their own and listen there for the link.

#include "PrivateNetwork.h"

#include "comm/ports/CalibrateManager.h"
#include "comm/reader/ManikinReader.h"
#include "comm/link/SerialPort.h"
#include "comm/ports/WirelessDiscovery.h"
#include "manikin-sim/ManikinSimulator.h"
#include "manikin-sim/SearchResponder.h"
#include "platform/ManualClock.h"
#include "platform/ScopedClock.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <thread>

using manikinsim::ManikinSimulator;
using manikinsim::SearchResponder;
using manikinsim::SearchResponderOptions;
using manikinsim::SimulatorOptions;
using searchtest::StationInterface;

namespace {

std::uint32_t address(const char* text)
{
    return ::inet_addr(text);
}

// Where the search writes its diagnostics, read back as text.
class Diagnostics {
public:
    Diagnostics() : file_(std::tmpfile()) {}
    ~Diagnostics() { std::fclose(file_); }
    Diagnostics(const Diagnostics&) = delete;
    Diagnostics& operator=(const Diagnostics&) = delete;

    std::FILE* file() { return file_; }
    std::string text()
    {
        std::fflush(file_);
        std::rewind(file_);
        std::string result;
        char buffer[512];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file_)) > 0;)
            result.append(buffer, n);
        return result;
    }

private:
    std::FILE* file_;
};

// Answers the next search request from the station's own address, as if the
// station's broadcast came back to it.
class OwnEcho {
public:
    OwnEcho()
    {
        listen_ = socketAt(StationInterface::BROADCAST, 2000, true);
        answer_ = socketAt(StationInterface::ADDRESS, 0, false);
        thread_ = std::thread([this] { run(); });
    }
    ~OwnEcho()
    {
        stopping_ = true;
        thread_.join();
        ::close(listen_);
        ::close(answer_);
    }
    OwnEcho(const OwnEcho&) = delete;
    OwnEcho& operator=(const OwnEcho&) = delete;

private:
    static int socketAt(const char* text, std::uint16_t port, bool shared)
    {
        const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        const int yes = 1;
        if (shared)
            ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        sockaddr_in at{};
        at.sin_family = AF_INET;
        at.sin_port = htons(port);
        at.sin_addr.s_addr = address(text);
        EXPECT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&at), sizeof at), 0) << text;
        return fd;
    }
    void run()
    {
        while (!stopping_) {
            pollfd entry{listen_, POLLIN, 0};
            if (::poll(&entry, 1, 20) <= 0)
                continue;
            char buffer[128];
            sockaddr_in station{};
            socklen_t length = sizeof station;
            if (::recvfrom(listen_, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&station), &length) > 0)
                ::sendto(answer_, "me", 2, 0, reinterpret_cast<sockaddr*>(&station), sizeof station);
        }
    }

    int listen_ = -1;
    int answer_ = -1;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

class WirelessSearch : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!searchtest::inPrivateNetwork())
            GTEST_SKIP() << "no private network: " << searchtest::privateNetworkProblem();
    }

    void bringUpStation()
    {
        station = std::make_unique<StationInterface>();
        if (!station->isUp())
            GTEST_SKIP() << "no veth interface in the private network";
    }

    // A manikin answering the search from manikinAddress with the given bytes.
    SearchResponder& answerSearch(const std::string& manikinAddress, std::vector<std::uint8_t> reply)
    {
        auto responder = std::make_unique<SearchResponder>(
            SearchResponderOptions{StationInterface::BROADCAST, 2000, manikinAddress, std::move(reply)});
        std::string error;
        EXPECT_TRUE(responder->start(&error)) << error;
        responders.push_back(std::move(responder));
        return *responders.back();
    }

    // A whole wireless manikin: the link on manikinAddress:2000 and its search answer.
    ManikinSimulator& wirelessManikin(const std::string& manikinAddress, const std::string& name)
    {
        SimulatorOptions options;
        options.transport = manikinsim::Transport::Tcp;
        options.kind = 4;
        options.tcpAddress = manikinAddress;
        auto simulator = std::make_unique<ManikinSimulator>(options);
        std::string error;
        EXPECT_TRUE(simulator->start(&error)) << error;
        simulators[manikinAddress] = std::move(simulator);
        answerSearch(manikinAddress, SearchResponderOptions::text(name));
        return *simulators[manikinAddress];
    }

    std::unique_ptr<StationInterface> station;
    std::vector<std::unique_ptr<SearchResponder>> responders;
    std::map<std::string, std::unique_ptr<ManikinSimulator>> simulators;
    Diagnostics diagnostics;
};

TEST_F(WirelessSearch, aStationWithOnlyItsLoopbackSendsNothing)
{
    WirelessDiscovery discovery(diagnostics.file());
    std::vector<WirelessDiscovery::Interface> interfaces;
    ASSERT_EQ(discovery.listInterfaces(interfaces), 1);
    EXPECT_TRUE(interfaces[0].loopback);
    EXPECT_EQ(interfaces[0].broadcast, address("127.255.255.255"));

    EXPECT_TRUE(discovery.searchWireless().empty());
    const std::string text = diagnostics.text();
    EXPECT_NE(text.find("Found 1 interfaces\n"), std::string::npos);
    EXPECT_EQ(text.find("Broadcast sent"), std::string::npos) << text;
}

TEST_F(WirelessSearch, findsTheManikinsThatAnswerAndNotTheStationItself)
{
    bringUpStation();
    SearchResponder& alpha = answerSearch("127.0.0.2", SearchResponderOptions::text("Resus Kit Alpha"));
    answerSearch("127.0.0.3", SearchResponderOptions::text("Resus Kit Beta"));
    answerSearch("127.0.0.1", SearchResponderOptions::text("localhost"));
    OwnEcho echo;

    WirelessDiscovery discovery(diagnostics.file());
    const std::vector<WirelessReply> replies = discovery.searchWireless();

    std::map<std::uint32_t, std::string> found;
    for (const WirelessReply& reply : replies)
        found[reply.address] = reply.nameText();
    EXPECT_EQ(found, (std::map<std::uint32_t, std::string>{{address("127.0.0.2"), "Resus Kit Alpha"},
                                                           {address("127.0.0.3"), "Resus Kit Beta"}}));
    ASSERT_EQ(alpha.requests().size(), 1u);
    EXPECT_EQ(alpha.requests()[0], "CPR 10.77.0.1");
    const std::string text = diagnostics.text();
    EXPECT_NE(text.find("Broadcast sent to 10.77.0.255\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("Received response from 127.0.0.2: \"Resus Kit Alpha\"\r\n"), std::string::npos);
    EXPECT_NE(text.find("Received response from 10.77.0.1: \"me\"\r\n"), std::string::npos) << text;
}

TEST_F(WirelessSearch, aReplyIsReadAsTextOfAtMost99BytesAndNamedByIts32First)
{
    bringUpStation();
    const std::string full(99, 'F');
    answerSearch("127.0.0.2", SearchResponderOptions::text(full + "beyond the buffer"));
    answerSearch("127.0.0.3", SearchResponderOptions::text(std::string(40, 'n')));

    WirelessDiscovery discovery(diagnostics.file());
    const std::vector<WirelessReply> replies = discovery.searchWireless();

    ASSERT_EQ(replies.size(), 2u);
    for (const WirelessReply& reply : replies)
        EXPECT_EQ(reply.nameText().size(), 32u);
    const std::string text = diagnostics.text();
    EXPECT_NE(text.find("127.0.0.2: \"" + full + "\"\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("127.0.0.3: \"" + std::string(40, 'n') + "\"\r\n"), std::string::npos) << text;
}

TEST_F(WirelessSearch, withoutAnswersTheSearchWaitsItsTwoWindowsOnTheStationClock)
{
    bringUpStation();
    platform::ManualClock clock;
    platform::ScopedClock installed(clock);
    WirelessDiscovery discovery(diagnostics.file());
    EXPECT_TRUE(discovery.searchWireless().empty());
    EXPECT_NE(diagnostics.text().find("No packets received\r\n"), std::string::npos);
    // Two seconds for a first answer, then two seconds of collecting.
    EXPECT_GE(clock.sleptTotal(), 4000u);
    EXPECT_LE(clock.sleptTotal(), 4000u + 2 * WirelessDiscovery::POLL_STEP_MS);
}

TEST_F(WirelessSearch, theWirelessScanGivesFoundManikinsTheLowestFreeSlotsAndKeepsAHeldOne)
{
    bringUpStation();
    ManikinSimulator& held = wirelessManikin("127.0.0.2", "Resus Kit Alpha");
    CalibrateManager manager(std::make_unique<WirelessDiscovery>(diagnostics.file()));

    manager.scanWireless();
    ASSERT_EQ(manager.getSerPort(257)->getIpAddress(), address("127.0.0.2"));
    EXPECT_TRUE(manager.getIsValid(257));
    EXPECT_TRUE(manager.getIsCalibrated(257));
    EXPECT_STREQ(manager.getSerPort(257)->getManikinName(), "Resus Kit Alpha");
    EXPECT_EQ(manager.countReadyManikins(), 1);

    // A session holds 257 while a second manikin appears.
    manager.takePort(257);
    ManikinReader session(*manager.getSerPort(257));
    ASSERT_EQ(session.open(257), ManikinReader::OPEN_SUCCESS);
    const int connections = held.connections();
    wirelessManikin("127.0.0.3", "Resus Kit Beta");

    manager.scanWireless();
    EXPECT_EQ(manager.getSerPort(257)->getIpAddress(), address("127.0.0.2"));
    EXPECT_TRUE(manager.getSerPort(257)->isConnected());
    EXPECT_EQ(held.connections(), connections);
    EXPECT_EQ(manager.getSerPort(258)->getIpAddress(), address("127.0.0.3"));
    EXPECT_STREQ(manager.getSerPort(258)->getManikinName(), "Resus Kit Beta");
    EXPECT_TRUE(manager.getIsCalibrated(258));
    EXPECT_EQ(manager.getSerPort(259)->getIpAddress(), 0u);
    EXPECT_EQ(manager.portChoices(), (std::vector<PortChoice>{{258, "258 - Resus Kit Beta"}}));
    manager.getSerPort(257)->close();
}

} // namespace

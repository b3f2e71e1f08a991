#pragma once
// Finds the wireless manikins on every local IPv4 network: a UDP broadcast on
// port 2000 from each interface, then the unicast answers collected for a few
// seconds. The port registry's wireless scan runs it; tests replace it.

#include "comm/ports/WirelessReply.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

class WirelessDiscovery {
public:
    static constexpr std::uint16_t SEARCH_PORT = 2000;
    static constexpr std::size_t MAX_INTERFACES = 10;
    // How long to wait for the first answer, then how long to keep collecting.
    static constexpr std::uint32_t FIRST_REPLY_WAIT_MS = 2000;
    static constexpr std::uint32_t COLLECT_MS = 2000;
    static constexpr std::uint32_t POLL_STEP_MS = 10;

    // One local IPv4 interface; both addresses in network byte order.
    struct Interface {
        std::uint32_t address = 0;
        std::uint32_t broadcast = 0;
        bool loopback = false;
    };

    // The diagnostics of a search go to the given stream (standard output,
    // which the station does not show).
    explicit WirelessDiscovery(std::FILE* diagnostics = stdout);
    virtual ~WirelessDiscovery() = default;
    WirelessDiscovery(const WirelessDiscovery&) = delete;
    WirelessDiscovery& operator=(const WirelessDiscovery&) = delete;

    // The IPv4 interfaces that are up, at most MAX_INTERFACES; -1 when the
    // interface list cannot be read.
    int listInterfaces(std::vector<Interface>& interfaces);
    // Broadcasts the request on every interface but the loopback one and
    // returns the answers in the order they arrived.
    virtual std::vector<WirelessReply> searchWireless();
    // Writes the last socket error with its text.
    void printSocketError();

    // (address AND netmask) OR (NOT netmask), all in network byte order.
    static std::uint32_t broadcastAddress(std::uint32_t address, std::uint32_t netmask);
    // The request datagram: "CPR " and the sending interface's dotted address,
    // with its terminating NUL.
    static std::vector<std::uint8_t> request(std::uint32_t ownAddress);
    // Answers from the interface's own address (our own broadcast coming back)
    // and from 127.0.0.1 are not manikins.
    static bool acceptsSender(std::uint32_t sender, std::uint32_t ownAddress);
    static std::string dotted(std::uint32_t address);

private:
    // Broadcasts on one interface and appends its answers; false when the
    // search has to end (no socket, or the interface's address cannot be bound).
    bool searchInterface(const Interface& interface, std::vector<WirelessReply>& replies);
    void collectReplies(int socket, std::uint32_t ownAddress, std::vector<WirelessReply>& replies);
    void print(const char* format, ...) __attribute__((format(printf, 2, 3)));

    std::FILE* diagnostics_;
};

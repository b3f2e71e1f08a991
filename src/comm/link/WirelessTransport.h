#pragma once
// A link to a wireless manikin over TCP: connects to its address, identifies
// it by the wireless handshake, reads without blocking and counts a manikin
// silent for ten seconds as lost.

#include "comm/link/LinkTransport.h"
#include "comm/reader/Stopwatch.h"

#include <memory>

struct LinkState;

namespace platform {
class TcpClient;
} // namespace platform

class WirelessTransport final : public LinkTransport {
public:
    // ipAddress in network byte order.
    WirelessTransport(LinkState& state, std::uint32_t ipAddress);
    ~WirelessTransport() override;

    int open() override;
    LinkSteps identifySteps() override;
    bool close() override;
    bool isOpen() const override { return socket != nullptr; }
    bool isAlive() override;
    int readPending() override;
    bool send(const std::vector<std::uint8_t>& bytes) override;

private:
    LinkState& state;
    const std::uint32_t ipAddress;
    std::unique_ptr<platform::TcpClient> socket;
    Stopwatch idleWatch;
};

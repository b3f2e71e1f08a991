#include "comm/ports/WirelessDiscovery.h"

#include "platform/Clock.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstdarg>
#include <cstring>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// Closes a socket when the search leaves it.
class SocketCloser {
public:
    explicit SocketCloser(int fd) : fd_(fd) {}
    ~SocketCloser()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    SocketCloser(const SocketCloser&) = delete;
    SocketCloser& operator=(const SocketCloser&) = delete;

private:
    int fd_;
};

const std::uint32_t LOCALHOST = htonl(INADDR_LOOPBACK);

sockaddr_in socketAddress(std::uint32_t address, std::uint16_t port)
{
    sockaddr_in result{};
    result.sin_family = AF_INET;
    result.sin_addr.s_addr = address;
    result.sin_port = htons(port);
    return result;
}

} // namespace

WirelessDiscovery::WirelessDiscovery(std::FILE* diagnostics)
    : diagnostics_(diagnostics)
{
}

std::uint32_t WirelessDiscovery::broadcastAddress(std::uint32_t address, std::uint32_t netmask)
{
    return (address & netmask) | ~netmask;
}

std::vector<std::uint8_t> WirelessDiscovery::request(std::uint32_t ownAddress)
{
    const std::string text = "CPR " + dotted(ownAddress);
    std::vector<std::uint8_t> bytes(text.begin(), text.end());
    bytes.push_back(0);
    return bytes;
}

bool WirelessDiscovery::acceptsSender(std::uint32_t sender, std::uint32_t ownAddress)
{
    return sender != ownAddress && sender != LOCALHOST;
}

std::string WirelessDiscovery::dotted(std::uint32_t address)
{
    char text[INET_ADDRSTRLEN] = {};
    in_addr value{};
    value.s_addr = address;
    ::inet_ntop(AF_INET, &value, text, sizeof text);
    return text;
}

void WirelessDiscovery::print(const char* format, ...)
{
    if (diagnostics_ == nullptr)
        return;
    va_list arguments;
    va_start(arguments, format);
    std::vfprintf(diagnostics_, format, arguments);
    va_end(arguments);
    std::fflush(diagnostics_);
}

void WirelessDiscovery::printSocketError()
{
    const int error = errno;
    const char* text = error != 0 ? std::strerror(error) : nullptr;
    if (text != nullptr && *text != '\0')
        print("WSAGetLastError %d: %s\n", error, text);
    else
        print("WSAGetLastError %d\n", error);
}

int WirelessDiscovery::listInterfaces(std::vector<Interface>& interfaces)
{
    interfaces.clear();
    print("Scanning Interfaces . . .\n\n");
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) != 0) {
        print("WSAIoctl fails with error %d\n", errno);
        return -1;
    }
    for (const ifaddrs* entry = list; entry != nullptr && interfaces.size() < MAX_INTERFACES;
         entry = entry->ifa_next) {
        if (entry->ifa_addr == nullptr || entry->ifa_addr->sa_family != AF_INET || entry->ifa_netmask == nullptr)
            continue;
        if ((entry->ifa_flags & IFF_UP) == 0)
            continue;
        Interface item;
        item.address = reinterpret_cast<const sockaddr_in*>(entry->ifa_addr)->sin_addr.s_addr;
        const std::uint32_t netmask = reinterpret_cast<const sockaddr_in*>(entry->ifa_netmask)->sin_addr.s_addr;
        item.broadcast = broadcastAddress(item.address, netmask);
        item.loopback = (entry->ifa_flags & IFF_LOOPBACK) != 0;
        interfaces.push_back(item);
    }
    ::freeifaddrs(list);
    print("Found %d interfaces\n", static_cast<int>(interfaces.size()));
    return static_cast<int>(interfaces.size());
}

std::vector<WirelessReply> WirelessDiscovery::searchWireless()
{
    std::vector<WirelessReply> replies;
    std::vector<Interface> interfaces;
    if (listInterfaces(interfaces) < 0)
        return replies;
    print("Using broadcast address: \n");
    for (const Interface& interface : interfaces)
        print("%s\n", dotted(interface.broadcast).c_str());
    print("Using UDP port %d\n\n", SEARCH_PORT);
    for (const Interface& interface : interfaces) {
        if (!searchInterface(interface, replies))
            break;
    }
    return replies;
}

bool WirelessDiscovery::searchInterface(const Interface& interface, std::vector<WirelessReply>& replies)
{
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_UDP);
    if (fd < 0) {
        print("Failed to create socket\r\n");
        printSocketError();
        return false;
    }
    SocketCloser closer(fd);
    // The broadcast never goes to the loopback network.
    if (interface.address == LOCALHOST || interface.loopback)
        return true;

    const sockaddr_in own = socketAddress(interface.address, SEARCH_PORT);
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&own), sizeof own) != 0) {
        print("Failed to bind socket\r\n");
        printSocketError();
        return false;
    }
    const int on = 1;
    const unsigned char loopOff = 0;
    ::setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
    ::setsockopt(fd, IPPROTO_IP, IP_MULTICAST_LOOP, &loopOff, sizeof loopOff);

    const std::vector<std::uint8_t> datagram = request(interface.address);
    const sockaddr_in target = socketAddress(interface.broadcast, SEARCH_PORT);
    const ssize_t sent = ::sendto(fd, datagram.data(), datagram.size(), 0,
                                  reinterpret_cast<const sockaddr*>(&target), sizeof target);
    if (sent != static_cast<ssize_t>(datagram.size())) {
        print("Packet failed to be sent\r\n");
        printSocketError();
    } else {
        print("Broadcast sent to %s\r\n", dotted(interface.broadcast).c_str());
    }
    collectReplies(fd, interface.address, replies);
    return true;
}

void WirelessDiscovery::collectReplies(int fd, std::uint32_t ownAddress, std::vector<WirelessReply>& replies)
{
    platform::Clock& clock = platform::Clock::instance();
    // Readiness is asked with zero-time polls and the waits go through the
    // station's sleeper, so the GUI thread's clock governs the whole window.
    // A poll says "readable" also for an empty datagram, which a byte count
    // would hide in front of the answers behind it.
    auto waiting = [fd]() -> int {
        pollfd entry{fd, POLLIN, 0};
        const int ready = ::poll(&entry, 1, 0);
        if (ready < 0)
            return -1;
        return (ready > 0 && (entry.revents & (POLLIN | POLLERR)) != 0) ? 1 : 0;
    };

    const std::uint32_t firstWaitStart = clock.tickCount();
    while (waiting() == 0 && clock.tickCount() - firstWaitStart < FIRST_REPLY_WAIT_MS)
        clock.sleep(POLL_STEP_MS);

    int received = 0;
    const std::uint32_t collectStart = clock.tickCount();
    while (clock.tickCount() - collectStart < COLLECT_MS) {
        const int state = waiting();
        if (state < 0) {
            print("ioctlsocket failed\r\n");
            printSocketError();
            break;
        }
        if (state == 0) {
            clock.sleep(POLL_STEP_MS);
            continue;
        }
        std::uint8_t buffer[WirelessReply::MAX_REPLY_SIZE] = {};
        sockaddr_in sender{};
        socklen_t senderLength = sizeof sender;
        const ssize_t length = ::recvfrom(fd, buffer, sizeof buffer, MSG_DONTWAIT,
                                          reinterpret_cast<sockaddr*>(&sender), &senderLength);
        if (length < 0) {
            print("Packet arrived, but failed to be received\r\n");
            printSocketError();
            break;
        }
        ++received;
        const std::string text = WirelessReply::replyText(buffer, static_cast<std::size_t>(length));
        print("Received response from %s: \"%s\"\r\n", dotted(sender.sin_addr.s_addr).c_str(), text.c_str());
        if (acceptsSender(sender.sin_addr.s_addr, ownAddress))
            replies.push_back(WirelessReply::fromText(text, sender.sin_addr.s_addr));
    }
    if (received == 0)
        print("No packets received\r\n");
}

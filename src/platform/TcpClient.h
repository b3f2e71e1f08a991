#pragma once
// A TCP client connection over POSIX sockets, as a wireless manikin link uses
// it: connect, short blocking receives during the handshake, then non-blocking
// reads polled from the timer ticks.

#include <cstddef>
#include <cstdint>

namespace platform {

class TcpClient {
public:
    TcpClient() = default;
    ~TcpClient();
    TcpClient(const TcpClient&) = delete;
    TcpClient& operator=(const TcpClient&) = delete;

    // Connects to an IPv4 address (network byte order) and port. A connect
    // that hangs gives up after connectTimeoutMs.
    bool connect(std::uint32_t ipv4Address, std::uint16_t port, int connectTimeoutMs = 3000);
    bool isOpen() const { return fd_ >= 0; }

    bool setReceiveTimeout(int milliseconds);
    bool setNoDelay(bool on);
    bool setNonBlocking();

    // Bytes sent, or -1 on a failure (never raises SIGPIPE).
    long send(const std::uint8_t* bytes, std::size_t length);
    // Bytes received; 0 when the peer closed or (non-blocking, or after the
    // receive time-out) nothing is there; -1 on a failure.
    long receive(std::uint8_t* buffer, std::size_t capacity);
    // The number of bytes waiting to be received, or -1 on a failure.
    long bytesAvailable() const;

    // Shuts the connection down both ways and closes it; false on a failure
    // other than the connection being gone already.
    bool shutdownAndClose();

private:
    int fd_ = -1;
};

} // namespace platform

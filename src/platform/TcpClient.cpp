#include "platform/TcpClient.h"

#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <string>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>
#include <utility>

namespace platform {

namespace {

timeval toTimeval(int milliseconds)
{
    timeval value{};
    value.tv_sec = milliseconds / 1000;
    value.tv_usec = (milliseconds % 1000) * 1000;
    return value;
}

} // namespace

TcpClient::~TcpClient()
{
    if (fd_ >= 0)
        ::close(fd_);
}

bool TcpClient::connect(std::uint32_t ipv4Address, std::uint16_t port, int connectTimeoutMs)
{
    if (fd_ >= 0)
        return false;
    // The address goes through the resolver as dotted text, the way the
    // manikin's address is kept and shown.
    in_addr address{};
    address.s_addr = ipv4Address;
    char dotted[INET_ADDRSTRLEN] = {};
    if (::inet_ntop(AF_INET, &address, dotted, sizeof dotted) == nullptr)
        return false;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_protocol = IPPROTO_TCP;
    hints.ai_flags = AI_NUMERICHOST | AI_NUMERICSERV;
    addrinfo* found = nullptr;
    const std::string service = std::to_string(port);
    if (::getaddrinfo(dotted, service.c_str(), &hints, &found) != 0 || found == nullptr)
        return false;
    const int fd = ::socket(found->ai_family, found->ai_socktype | SOCK_CLOEXEC, found->ai_protocol);
    if (fd < 0) {
        ::freeaddrinfo(found);
        return false;
    }
    // A blocking connect honours the send time-out, so an address that never
    // answers cannot hang the station.
    const timeval limit = toTimeval(connectTimeoutMs);
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
    int result;
    do {
        result = ::connect(fd, found->ai_addr, found->ai_addrlen);
    } while (result != 0 && errno == EINTR);
    ::freeaddrinfo(found);
    if (result != 0) {
        ::close(fd);
        return false;
    }
    const timeval none{};
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &none, sizeof none);
    fd_ = fd;
    return true;
}

bool TcpClient::setReceiveTimeout(int milliseconds)
{
    const timeval value = toTimeval(milliseconds);
    return fd_ >= 0 && ::setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &value, sizeof value) == 0;
}

bool TcpClient::setNoDelay(bool on)
{
    const int flag = on ? 1 : 0;
    return fd_ >= 0 && ::setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &flag, sizeof flag) == 0;
}

bool TcpClient::setNonBlocking()
{
    if (fd_ < 0)
        return false;
    const int flags = ::fcntl(fd_, F_GETFL);
    return flags >= 0 && ::fcntl(fd_, F_SETFL, flags | O_NONBLOCK) == 0;
}

long TcpClient::send(const std::uint8_t* bytes, std::size_t length)
{
    if (fd_ < 0)
        return -1;
    for (;;) {
        const ssize_t n = ::send(fd_, bytes, length, MSG_NOSIGNAL);
        if (n >= 0)
            return static_cast<long>(n);
        if (errno != EINTR)
            return -1;
    }
}

long TcpClient::receive(std::uint8_t* buffer, std::size_t capacity)
{
    if (fd_ < 0)
        return -1;
    for (;;) {
        const ssize_t n = ::recv(fd_, buffer, capacity, 0);
        if (n >= 0)
            return static_cast<long>(n);
        if (errno == EINTR)
            continue;
        return errno == EAGAIN || errno == EWOULDBLOCK ? 0 : -1;
    }
}

long TcpClient::bytesAvailable() const
{
    int count = 0;
    if (fd_ < 0 || ::ioctl(fd_, FIONREAD, &count) != 0)
        return -1;
    return count;
}

bool TcpClient::shutdownAndClose()
{
    if (fd_ < 0)
        return true;
    const int fd = std::exchange(fd_, -1);
    const bool shutdownOk = ::shutdown(fd, SHUT_RDWR) == 0 || errno == ENOTCONN || errno == ENOTSOCK;
    const bool closeOk = ::close(fd) == 0;
    return shutdownOk && closeOk;
}

} // namespace platform

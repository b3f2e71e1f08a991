#include "manikin-sim/SearchResponder.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace manikinsim {

namespace {

constexpr const char REQUEST_PREFIX[] = "CPR ";
constexpr std::size_t MAX_REQUEST = 256;

bool fail(std::string* error, const std::string& what)
{
    if (error)
        *error = what + ": " + std::strerror(errno);
    return false;
}

void closeFd(int& fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

bool parseAddress(const std::string& text, std::uint16_t port, sockaddr_in& address)
{
    address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    return ::inet_pton(AF_INET, text.c_str(), &address.sin_addr) == 1;
}

} // namespace

SearchResponder::SearchResponder(SearchResponderOptions options)
    : options_(std::move(options))
{
}

SearchResponder::~SearchResponder()
{
    stop();
}

bool SearchResponder::start(std::string* error)
{
    if (thread_.joinable())
        return true;
    sockaddr_in listen{};
    sockaddr_in manikin{};
    if (!parseAddress(options_.listenAddress, options_.port, listen)
        || !parseAddress(options_.manikinAddress, 0, manikin)) {
        errno = EINVAL;
        return fail(error, "address");
    }
    if ((ntohl(manikin.sin_addr.s_addr) >> 24) != 127) {
        errno = EADDRNOTAVAIL;
        return fail(error, "not a loopback address " + options_.manikinAddress);
    }

    listenFd_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (listenFd_ < 0)
        return fail(error, "socket");
    // Several manikins listen on one broadcast address.
    const int yes = 1;
    ::setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    if (::bind(listenFd_, reinterpret_cast<sockaddr*>(&listen), sizeof listen) != 0) {
        const bool result = fail(error, "listen on " + options_.listenAddress);
        closeFd(listenFd_);
        return result;
    }
    replyFd_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (replyFd_ < 0 || ::bind(replyFd_, reinterpret_cast<sockaddr*>(&manikin), sizeof manikin) != 0) {
        const bool result = fail(error, "answer from " + options_.manikinAddress);
        closeFd(replyFd_);
        closeFd(listenFd_);
        return result;
    }
    stopping_ = false;
    thread_ = std::thread([this] { run(); });
    return true;
}

void SearchResponder::stop()
{
    stopping_ = true;
    if (thread_.joinable())
        thread_.join();
    closeFd(replyFd_);
    closeFd(listenFd_);
}

int SearchResponder::requestsAnswered() const
{
    std::lock_guard lock(mutex_);
    return answered_;
}

std::vector<std::string> SearchResponder::requests() const
{
    std::lock_guard lock(mutex_);
    return requests_;
}

void SearchResponder::run()
{
    while (!stopping_) {
        pollfd entry{listenFd_, POLLIN, 0};
        if (::poll(&entry, 1, 20) > 0)
            answerOne();
    }
}

void SearchResponder::answerOne()
{
    char buffer[MAX_REQUEST] = {};
    sockaddr_in station{};
    socklen_t length = sizeof station;
    const ssize_t received =
        ::recvfrom(listenFd_, buffer, sizeof buffer - 1, 0, reinterpret_cast<sockaddr*>(&station), &length);
    if (received <= 0)
        return;
    const std::string request(buffer, ::strnlen(buffer, static_cast<std::size_t>(received)));
    {
        std::lock_guard lock(mutex_);
        requests_.push_back(request);
    }
    if (request.compare(0, std::strlen(REQUEST_PREFIX), REQUEST_PREFIX) != 0)
        return;
    const ssize_t sent = ::sendto(replyFd_, options_.reply.data(), options_.reply.size(), 0,
                                  reinterpret_cast<const sockaddr*>(&station), sizeof station);
    if (sent == static_cast<ssize_t>(options_.reply.size())) {
        std::lock_guard lock(mutex_);
        ++answered_;
    }
}

} // namespace manikinsim

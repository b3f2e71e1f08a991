#include "controller-sim/ControllerSimulator.h"

#include "pseudo-terminal/PseudoTerminal.h"

#include <cerrno>
#include <chrono>
#include <poll.h>
#include <unistd.h>

namespace controllersim {

namespace {

void closeFd(int& fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

void writeAll(int fd, const Bytes& bytes)
{
    std::size_t written = 0;
    for (int tries = 0; written < bytes.size() && tries < 1000; ++tries) {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n > 0)
            written += static_cast<std::size_t>(n);
        else if (n < 0 && errno != EAGAIN && errno != EINTR)
            return;
        else
            std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
}

} // namespace

ControllerSimulator::ControllerSimulator(ControllerOptions options)
    : device_(options)
{
}

ControllerSimulator::~ControllerSimulator()
{
    stop();
}

bool ControllerSimulator::open(std::string* error)
{
    std::lock_guard lock(mutex_);
    if (masterFd_ >= 0)
        return true;
    simtools::PseudoTerminalEnds ends;
    if (!simtools::openPseudoTerminal(ends, error))
        return false;
    masterFd_ = ends.device;
    slaveFd_ = ends.terminal;
    devicePath_ = ends.path;
    return true;
}

bool ControllerSimulator::start(std::string* error)
{
    if (thread_.joinable())
        return true;
    if (!open(error))
        return false;
    stopping_ = false;
    thread_ = std::thread([this] { serve(); });
    return true;
}

void ControllerSimulator::stop()
{
    stopping_ = true;
    if (thread_.joinable())
        thread_.join();
    std::lock_guard lock(mutex_);
    closeLine();
}

void ControllerSimulator::closeLine()
{
    closeFd(masterFd_);
    closeFd(slaveFd_);
}

bool ControllerSimulator::lineOpen() const
{
    std::lock_guard lock(mutex_);
    return masterFd_ >= 0;
}

void ControllerSimulator::serve()
{
    while (!stopping_) {
        int fd = -1;
        {
            std::lock_guard lock(mutex_);
            fd = masterFd_;
        }
        if (fd < 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            continue;
        }
        pollfd entry{fd, POLLIN, 0};
        ::poll(&entry, 1, 1);
        pump();
    }
}

void ControllerSimulator::pump()
{
    std::lock_guard lock(mutex_);
    if (masterFd_ < 0)
        return;
    std::uint8_t buffer[512];
    for (;;) {
        const ssize_t n = ::read(masterFd_, buffer, sizeof buffer);
        if (n <= 0)
            break;
        writeAll(masterFd_, device_.receive(buffer, static_cast<std::size_t>(n)));
        if (device_.lineCut()) {
            closeLine();
            return;
        }
    }
}

ControllerDevice ControllerSimulator::device() const
{
    std::lock_guard lock(mutex_);
    return device_;
}

void ControllerSimulator::change(const std::function<void(ControllerDevice&)>& edit)
{
    std::lock_guard lock(mutex_);
    edit(device_);
}

bool ControllerSimulator::waitUntil(const std::function<bool()>& condition, int timeoutMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

} // namespace controllersim

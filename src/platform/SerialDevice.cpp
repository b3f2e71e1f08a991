#include "platform/SerialDevice.h"

#include <array>
#include <cerrno>
#include <utility>

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace platform {

namespace {

// The driver answers these for a device that has no modem lines at all.
bool isMissingModemLines(int error)
{
    return error == ENOTTY || error == EINVAL;
}

// A terminal whose device went away (an unplugged adapter, a closed
// pseudo-terminal peer) reads as empty for ever; only its poll state tells.
bool isHungUp(int fd)
{
    pollfd entry{fd, POLLIN, 0};
    return ::poll(&entry, 1, 0) > 0 && (entry.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
}

bool setLine(int fd, int line, bool on)
{
    if (::ioctl(fd, on ? TIOCMBIS : TIOCMBIC, &line) == 0)
        return true;
    return isMissingModemLines(errno);
}

} // namespace

SerialDevice::~SerialDevice()
{
    close();
}

unsigned SerialDevice::speedConstant(int baudRate)
{
    static constexpr std::array<std::pair<int, speed_t>, 8> speeds = {{
        {1200, B1200}, {2400, B2400}, {4800, B4800}, {9600, B9600},
        {19200, B19200}, {38400, B38400}, {57600, B57600}, {115200, B115200},
    }};
    for (const auto& [rate, constant] : speeds)
        if (rate == baudRate)
            return constant;
    return 0;
}

SerialDevice::OpenResult SerialDevice::open(const std::string& path)
{
    close();
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT ? OpenResult::NotFound : OpenResult::Failed;
    // Not shared: later opens of the same terminal are refused while we hold it.
    ::ioctl(fd, TIOCEXCL);
    fd_ = fd;
    path_ = path;
    return OpenResult::Opened;
}

bool SerialDevice::close()
{
    if (fd_ < 0)
        return true;
    const int fd = std::exchange(fd_, -1);
    path_.clear();
    // The exclusive mode belongs to the terminal, not to our descriptor: a
    // terminal that outlives it (a pseudo-terminal whose other end stays
    // open) would refuse an ordinary user's next open.
    ::ioctl(fd, TIOCNXCL);
    return ::close(fd) == 0;
}

SerialDevice::SettingsResult SerialDevice::configure(int baudRate, bool dtrOn, bool rtsOn)
{
    termios settings{};
    if (fd_ < 0 || ::tcgetattr(fd_, &settings) != 0)
        return SettingsResult::ReadFailed;
    const speed_t speed = speedConstant(baudRate);
    if (speed == 0)
        return SettingsResult::WriteFailed;
    ::cfmakeraw(&settings);
    settings.c_cflag &= ~(PARENB | CSTOPB | CSIZE | CRTSCTS | HUPCL);
    settings.c_cflag |= CS8 | CREAD | CLOCAL;
    settings.c_iflag &= ~(IXON | IXOFF | IXANY | INPCK | IGNPAR | PARMRK);
    settings.c_cc[VMIN] = 0;
    settings.c_cc[VTIME] = 0;
    if (::cfsetispeed(&settings, speed) != 0 || ::cfsetospeed(&settings, speed) != 0)
        return SettingsResult::WriteFailed;
    if (::tcsetattr(fd_, TCSANOW, &settings) != 0)
        return SettingsResult::WriteFailed;
    if (!setLine(fd_, TIOCM_DTR, dtrOn) || !setLine(fd_, TIOCM_RTS, rtsOn))
        return SettingsResult::WriteFailed;
    return SettingsResult::Ok;
}

bool SerialDevice::setModemControl(bool dtrOn, bool rtsOn)
{
    termios settings{};
    if (fd_ < 0 || ::tcgetattr(fd_, &settings) != 0)
        return false;
    return setLine(fd_, TIOCM_DTR, dtrOn) && setLine(fd_, TIOCM_RTS, rtsOn);
}

bool SerialDevice::makeReadsImmediate()
{
    if (fd_ < 0)
        return false;
    const int flags = ::fcntl(fd_, F_GETFL);
    return flags >= 0 && ::fcntl(fd_, F_SETFL, flags | O_NONBLOCK) == 0;
}

bool SerialDevice::modemStatus(bool& cts)
{
    if (fd_ < 0)
        return false;
    int lines = 0;
    if (::ioctl(fd_, TIOCMGET, &lines) == 0) {
        cts = (lines & TIOCM_CTS) != 0;
        return true;
    }
    if (!isMissingModemLines(errno))
        return false;
    // A pseudo-terminal has no modem lines; the peer on its other side is as
    // good as a device that holds CTS up. A file that is no terminal at all
    // is not a device.
    termios settings{};
    if (::tcgetattr(fd_, &settings) != 0)
        return false;
    cts = true;
    return true;
}

long SerialDevice::read(std::uint8_t* buffer, std::size_t capacity)
{
    if (fd_ < 0)
        return -1;
    for (;;) {
        const ssize_t n = ::read(fd_, buffer, capacity);
        if (n > 0)
            return static_cast<long>(n);
        if (n == 0)
            return isHungUp(fd_) ? -1 : 0;
        if (errno == EINTR)
            continue;
        return errno == EAGAIN || errno == EWOULDBLOCK ? 0 : -1;
    }
}

long SerialDevice::write(const std::uint8_t* bytes, std::size_t length)
{
    if (fd_ < 0)
        return -1;
    for (;;) {
        const ssize_t n = ::write(fd_, bytes, length);
        if (n >= 0)
            return static_cast<long>(n);
        if (errno == EINTR)
            continue;
        return errno == EAGAIN || errno == EWOULDBLOCK ? 0 : -1;
    }
}

} // namespace platform

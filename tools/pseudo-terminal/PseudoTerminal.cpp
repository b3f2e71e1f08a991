#include "pseudo-terminal/PseudoTerminal.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace simtools {

namespace {

bool fail(int& fd, std::string* error, const char* what)
{
    if (error != nullptr)
        *error = std::string(what) + ": " + std::strerror(errno);
    if (fd >= 0)
        ::close(fd);
    fd = -1;
    return false;
}

} // namespace

bool openPseudoTerminal(PseudoTerminalEnds& ends, std::string* error)
{
    int device = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (device < 0)
        return fail(device, error, "posix_openpt");
    if (::grantpt(device) != 0 || ::unlockpt(device) != 0)
        return fail(device, error, "unlockpt");
    char name[128] = {};
    if (::ptsname_r(device, name, sizeof name) != 0)
        return fail(device, error, "ptsname");
    const int terminal = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (terminal < 0)
        return fail(device, error, "open terminal");
    termios raw{};
    ::tcgetattr(terminal, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(terminal, TCSANOW, &raw);
    ::fcntl(device, F_SETFL, ::fcntl(device, F_GETFL) | O_NONBLOCK);
    ends = {device, terminal, name};
    return true;
}

} // namespace simtools

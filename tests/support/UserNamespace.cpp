#include "UserNamespace.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sched.h>
#include <unistd.h>

namespace kovatest {

namespace {

bool writeProcFile(const char* path, const std::string& text)
{
    const int fd = ::open(path, O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool written = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    ::close(fd);
    return written;
}

} // namespace

bool enterUserNamespace(int otherNamespaces, std::string& problem)
{
    const uid_t uid = ::getuid();
    const gid_t gid = ::getgid();
    if (::unshare(CLONE_NEWUSER | otherNamespaces) != 0) {
        problem = std::string("cannot make the namespaces: ") + std::strerror(errno);
        return false;
    }
    writeProcFile("/proc/self/setgroups", "deny");
    if (!writeProcFile("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1")
        || !writeProcFile("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1")) {
        problem = "cannot map the user into the namespace";
        return false;
    }
    return true;
}

} // namespace kovatest

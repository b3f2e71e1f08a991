#include "SmallDisk.h"

#include "UserNamespace.h"

#include <fcntl.h>
#include <sched.h>
#include <stdexcept>
#include <sys/mount.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace kovatest {

namespace {

bool entered = false;
std::string problem = "the private mounts were never entered";

const char* const FILLER = "filler";

} // namespace

bool enterPrivateMounts()
{
    if (!enterUserNamespace(CLONE_NEWNS, problem))
        return false;
    // What is mounted here stays here.
    ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr);
    entered = true;
    problem.clear();
    return true;
}

bool inPrivateMounts() { return entered; }

const std::string& privateMountsProblem() { return problem; }

SmallDisk::SmallDisk(std::size_t bytes, const std::filesystem::path& folder) : path_(folder)
{
    if (path_.empty()) {
        std::string pattern = (std::filesystem::temp_directory_path() / "kova-disk-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("cannot create a folder for the small disk");
        path_ = pattern;
        ownFolder_ = true;
    }
    if (!entered)
        return;
    const std::string options = "size=" + std::to_string(bytes) + ",mode=0700";
    mounted_ = ::mount("tmpfs", path_.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) == 0;
}

SmallDisk::~SmallDisk()
{
    if (mounted_)
        ::umount2(path_.c_str(), MNT_DETACH);
    std::error_code ignored;
    if (ownFolder_)
        std::filesystem::remove_all(path_, ignored);
}

void SmallDisk::fill()
{
    const std::filesystem::path filler = path_ / FILLER;
    const int fd = ::open(filler.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (fd < 0)
        return;
    // Large pieces first, then single bytes for what a page leaves.
    static const char zeros[4096] = {};
    for (std::size_t piece : {sizeof zeros, std::size_t{1}}) {
        while (::write(fd, zeros, piece) == static_cast<ssize_t>(piece)) {
        }
    }
    ::close(fd);
}

void SmallDisk::makeRoom()
{
    std::error_code ignored;
    std::filesystem::remove(path_ / FILLER, ignored);
}

std::size_t SmallDisk::freeBytes() const
{
    struct statvfs info {};
    if (::statvfs(path_.c_str(), &info) != 0)
        return 0;
    return static_cast<std::size_t>(info.f_bavail) * info.f_frsize;
}

} // namespace kovatest

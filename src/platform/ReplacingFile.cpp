#include "platform/ReplacingFile.h"

#include <cctype>
#include <cerrno>
#include <filesystem>
#include <string_view>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {
const char* const TEMPORARY_MARK = ".tmp";
// mkstemp's six characters leave room for so many names that only a folder
// being swept at the very same moment makes a try fail; a few are plenty.
constexpr int OPEN_TRIES = 16;

int lockWaiting(int fd)
{
    int rc;
    do {
        rc = ::flock(fd, LOCK_EX);
    } while (rc != 0 && errno == EINTR);
    return rc;
}

// Closes the descriptor and removes the file, keeping the errno of the failure.
void discard(int fd, const std::string& name)
{
    const int savedErrno = errno;
    ::close(fd);
    ::unlink(name.c_str());
    errno = savedErrno;
}
} // namespace

ReplacingFile::ReplacingFile(std::string target, mode_t mode, bool dataSync)
    : target_(std::move(target)), mode_(mode), dataSync_(dataSync)
{
}

ReplacingFile::~ReplacingFile()
{
    const int savedErrno = errno;
    release();
    errno = savedErrno;
}

void ReplacingFile::release()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    // Removed while still locked, so no sweep can meet it half gone.
    if (!committed_ && !kept_ && !temporary_.empty())
        ::unlink(temporary_.c_str());
    if (lockFd_ >= 0)
        ::close(lockFd_);
    lockFd_ = -1;
}

bool ReplacingFile::open()
{
    release();
    temporary_.clear();
    committed_ = false;
    kept_ = false;
    for (int attempt = 0; attempt < OPEN_TRIES; ++attempt) {
        std::string name = target_ + TEMPORARY_MARK + "XXXXXX";
        const int fd = ::mkostemp(name.data(), O_CLOEXEC | (dataSync_ ? O_DSYNC : 0));
        if (fd < 0)
            return false;
        struct stat info {};
        if (lockWaiting(fd) != 0 || ::fstat(fd, &info) != 0) {
            discard(fd, name);
            return false;
        }
        // A sweep that came between the creation and the lock has taken the
        // name away; the next try makes another.
        if (info.st_nlink == 0) {
            ::close(fd);
            continue;
        }
        const int lockFd = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
        if (lockFd < 0) {
            discard(fd, name);
            return false;
        }
        // The new file gets the old one's permissions, not mkstemp's 0600.
        ::fchmod(fd, mode_);
        fd_ = fd;
        lockFd_ = lockFd;
        temporary_ = std::move(name);
        return true;
    }
    errno = EEXIST;
    return false;
}

bool ReplacingFile::write(const void* data, std::size_t size)
{
    return fd_ >= 0 && writeAll(fd_, data, size);
}

bool ReplacingFile::finish()
{
    if (fd_ < 0)
        return false;
    const bool synced = ::fsync(fd_) == 0;
    const bool closed = ::close(fd_) == 0;
    fd_ = -1;
    return synced && closed;
}

bool ReplacingFile::commit()
{
    if (fd_ >= 0 || lockFd_ < 0 || committed_ || ::rename(temporary_.c_str(), target_.c_str()) != 0)
        return false;
    committed_ = true;
    ::close(lockFd_);
    lockFd_ = -1;
    syncFolderOf(target_);
    return true;
}

bool ReplacingFile::stageAs(const std::string& name)
{
    if (fd_ >= 0 || lockFd_ < 0 || committed_ || ::rename(temporary_.c_str(), name.c_str()) != 0)
        return false;
    temporary_ = name;
    syncFolderOf(name);
    return true;
}

// The base, ".tmp", then letters and digits only.
bool ReplacingFile::isTemporaryOf(std::string_view name, std::string_view base)
{
    if (name.size() < base.size() + 4 || name.substr(0, base.size()) != base
        || name.substr(base.size(), 4) != TEMPORARY_MARK)
        return false;
    for (char c : name.substr(base.size() + 4))
        if (!std::isalnum(static_cast<unsigned char>(c)))
            return false;
    return true;
}

int ReplacingFile::removeStale(const std::string& target)
{
    const std::filesystem::path path(target);
    const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
    const std::string base = path.filename().string();
    std::vector<std::string> candidates;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (isTemporaryOf(it->path().filename().string(), base))
            candidates.push_back(it->path().string());
    }
    int removed = 0;
    for (const std::string& candidate : candidates) {
        if (withUnheldFile(candidate, [&] { return ::unlink(candidate.c_str()) == 0; }))
            ++removed;
    }
    return removed;
}

bool writeAll(int fd, const void* data, std::size_t size)
{
    const auto* bytes = static_cast<const unsigned char*>(data);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t wrote = ::write(fd, bytes + done, size - done);
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote <= 0)
            return false;
        done += static_cast<std::size_t>(wrote);
    }
    return true;
}

bool withUnheldFile(const std::string& path, const std::function<bool()>& action)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0)
        return false;
    // Only a plain file that no writer holds, and only while the name still
    // means the file locked here: a writer may have renamed it into place
    // since it was opened.
    struct stat held {};
    struct stat named {};
    const bool unheld = ::fstat(fd, &held) == 0 && S_ISREG(held.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0
                        && ::lstat(path.c_str(), &named) == 0 && named.st_dev == held.st_dev
                        && named.st_ino == held.st_ino;
    const bool done = unheld && action();
    ::close(fd);
    return done;
}

void syncFolderOf(const std::string& file)
{
    const std::filesystem::path folder = std::filesystem::path(file).parent_path();
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace platform

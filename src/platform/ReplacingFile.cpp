#include "platform/ReplacingFile.h"

#include <atomic>
#include <cctype>
#include <cerrno>
#include <filesystem>
#include <string_view>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
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

void closeKeepingErrno(int fd)
{
    const int savedErrno = errno;
    ::close(fd);
    errno = savedErrno;
}

// Six letters and digits as mkstemp draws them, from the system's random
// source: processes forked from one another never draw the same.
std::string randomCharacters()
{
    static constexpr std::string_view CHARACTERS = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    unsigned char bytes[6] = {};
    std::size_t got = 0;
    while (got < sizeof bytes) {
        const ssize_t read = ::getrandom(bytes + got, sizeof bytes - got, 0);
        if (read < 0 && errno == EINTR)
            continue;
        if (read <= 0)
            break;
        got += static_cast<std::size_t>(read);
    }
    // Without the random source a name still differs from try to try.
    static std::atomic<unsigned> fallback{0};
    std::string text;
    for (std::size_t i = 0; i < sizeof bytes; ++i) {
        const unsigned value = got == sizeof bytes ? bytes[i] : (::getpid() * 31u + fallback++ * 7u + i);
        text += CHARACTERS[value % CHARACTERS.size()];
    }
    return text;
}

ReplacingFile::TestSeam& testSeam()
{
    static ReplacingFile::TestSeam seam;
    return seam;
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
    const int flags = O_CLOEXEC | (dataSync_ ? O_DSYNC : 0);
    // Made without a name, locked, and named only then: no sweep ever meets
    // the temporary unlocked. A file system that cannot make a file without
    // a name gets it named at once and locked right after.
    if (!testSeam().namedAtOnce && openUnnamed(flags))
        return true;
    return openNamed(flags);
}

bool ReplacingFile::openUnnamed(int flags)
{
    const std::filesystem::path target(target_);
    const std::string folder = target.has_parent_path() ? target.parent_path().string() : std::string(".");
    const int fd = ::open(folder.c_str(), O_TMPFILE | O_RDWR | flags, 0600);
    if (fd < 0)
        return false;
    if (testSeam().beforeLock)
        testSeam().beforeLock();
    if (lockWaiting(fd) != 0) {
        closeKeepingErrno(fd);
        return false;
    }
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    for (int attempt = 0; attempt < OPEN_TRIES; ++attempt) {
        std::string name = target_ + TEMPORARY_MARK + randomCharacters();
        bool named = ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0;
        // Without /proc the descriptor itself, where the system allows it.
        if (!named && errno == ENOENT)
            named = ::linkat(fd, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH) == 0;
        if (!named && errno == EEXIST)
            continue;
        if (!named) {
            closeKeepingErrno(fd);
            return false;
        }
        return adopt(fd, std::move(name));
    }
    ::close(fd);
    errno = EEXIST;
    return false;
}

bool ReplacingFile::openNamed(int flags)
{
    for (int attempt = 0; attempt < OPEN_TRIES; ++attempt) {
        std::string name = target_ + TEMPORARY_MARK + "XXXXXX";
        const int fd = ::mkostemp(name.data(), flags);
        if (fd < 0)
            return false;
        if (testSeam().beforeLock)
            testSeam().beforeLock();
        struct stat info {};
        if (lockWaiting(fd) != 0 || ::fstat(fd, &info) != 0) {
            discard(fd, name);
            return false;
        }
        // A sweep that came between the creation and the lock has taken the
        // name away (removed the file, or moved it elsewhere); the next try
        // makes another, and the name is left to whatever holds it now.
        struct stat named {};
        if (::lstat(name.c_str(), &named) != 0 || named.st_dev != info.st_dev || named.st_ino != info.st_ino) {
            ::close(fd);
            continue;
        }
        return adopt(fd, std::move(name));
    }
    errno = EEXIST;
    return false;
}

bool ReplacingFile::adopt(int fd, std::string name)
{
    const int lockFd = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
    if (lockFd < 0) {
        discard(fd, name);
        return false;
    }
    // The new file gets the old one's permissions, not the creation's 0600.
    ::fchmod(fd, mode_);
    fd_ = fd;
    lockFd_ = lockFd;
    temporary_ = std::move(name);
    return true;
}

void ReplacingFile::setTestSeam(TestSeam seam) { testSeam() = std::move(seam); }

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
    int unreadable = 0;
    return withUnheldFile(path, action, unreadable);
}

bool withUnheldFile(const std::string& path, const std::function<bool()>& action, int& unreadable)
{
    unreadable = 0;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) {
        // Gone since it was listed, or a link in its place: nothing to judge.
        if (errno != ENOENT && errno != ELOOP)
            unreadable = errno;
        return false;
    }
    // Only a plain file that no writer holds, and only while the name still
    // means the file locked here: a writer may have renamed it into place
    // since it was opened.
    struct stat held {};
    struct stat named {};
    if (::fstat(fd, &held) != 0) {
        unreadable = errno;
        ::close(fd);
        return false;
    }
    const bool unheld = S_ISREG(held.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0
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

#include "Database/stored-sessions/LostAndFound.h"

#include "Rodezir/LogStream.h"
#include "platform/ReplacingFile.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

// A name taken so often is no name for a file of ours.
constexpr int MOST_NUMBERS = 10000;

std::string reason(int error) { return errorReason(static_cast<unsigned long>(error)); }

void closeKeepingErrno(int fd)
{
    const int savedErrno = errno;
    ::close(fd);
    errno = savedErrno;
}

} // namespace

void LostAndFound::log(std::string text)
{
    while (!text.empty() && text.back() == '\n')
        text.pop_back();
    LogStream::instance() << "Start-up: " << text << "\n";
}

LostAndFound::LostAndFound(std::string dataFolder)
    : dataFolder_(std::move(dataFolder)), folder_((fs::path(dataFolder_) / NAME).string())
{
}

LostAndFound::~LostAndFound()
{
    sync();
    for (const auto& [name, fd] : sources_)
        ::close(fd);
    if (fd_ >= 0)
        ::close(fd_);
    if (dataFd_ >= 0)
        ::close(dataFd_);
}

bool LostAndFound::openFolder()
{
    if (opened_)
        return usable_;
    opened_ = true;
    dataFd_ = ::open(dataFolder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dataFd_ < 0) {
        log("the data folder " + dataFolder_ + " could not be opened; nothing is set aside: " + reason(errno));
        return false;
    }
    const bool made = ::mkdirat(dataFd_, NAME, 0700) == 0;
    if (!made && errno != EEXIST) {
        log(folder_ + " could not be made; nothing is set aside: " + reason(errno));
        return false;
    }
    // Only a folder of its own: a link, or a folder another user made,
    // could lead the files out of the data folder or out of reach.
    struct stat found {};
    std::string unusable;
    if (::fstatat(dataFd_, NAME, &found, AT_SYMLINK_NOFOLLOW) != 0)
        unusable = reason(errno);
    else if (S_ISLNK(found.st_mode))
        unusable = "it is a symbolic link, not a folder of the data folder";
    else if (!S_ISDIR(found.st_mode))
        unusable = "it is not a folder";
    else if ((fd_ = ::openat(dataFd_, NAME, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC)) < 0)
        unusable = errno == ELOOP || errno == ENOTDIR ? "it is no longer a folder" : reason(errno);
    else if (::fstat(fd_, &found) != 0)
        unusable = reason(errno);
    else if (found.st_uid != ::geteuid())
        unusable = "it belongs to another user";
    if (!unusable.empty()) {
        log(folder_ + " is not used, so nothing is set aside: " + unusable);
        return false;
    }
    if (made)
        touched(dataFd_);
    usable_ = true;
    return true;
}

int LostAndFound::sourceFolder(const std::string& path)
{
    const fs::path parent = fs::path(path).parent_path();
    const std::string folder = parent.empty() ? std::string(".") : parent.string();
    if (const auto known = sources_.find(folder); known != sources_.end())
        return known->second;
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0)
        sources_[folder] = fd;
    return fd;
}

bool LostAndFound::setAside(const std::string& path, const std::string& why)
{
    if (!openFolder())
        return false;
    const int from = sourceFolder(path);
    const std::string name = fs::path(path).filename().string();
    int error = from < 0 ? errno : 0;
    for (int number = 0; error == 0 && number < MOST_NUMBERS; ++number) {
        const std::string destination = number == 0 ? name : name + "." + std::to_string(number);
        int rc = ::renameat2(from, name.c_str(), fd_, destination.c_str(), RENAME_NOREPLACE);
        if (rc != 0 && (errno == EINVAL || errno == ENOSYS)) {
            // A file system that cannot refuse to replace: looked at first.
            struct stat taken {};
            if (::fstatat(fd_, destination.c_str(), &taken, AT_SYMLINK_NOFOLLOW) == 0)
                continue;
            rc = ::renameat(from, name.c_str(), fd_, destination.c_str());
        }
        if (rc != 0 && errno == EXDEV)
            rc = moveAcross(from, name, destination) ? 0 : -1;
        if (rc != 0 && errno == EEXIST)
            continue;
        if (rc != 0) {
            error = errno;
            break;
        }
        touched(from);
        touched(fd_);
        log(path + " set aside as " + (fs::path(folder_) / destination).string() + ": " + why);
        return true;
    }
    log(path + " could not be set aside into " + folder_ + ": " + reason(error == 0 ? EEXIST : error));
    return false;
}

// Another file system: a copy, on the disk and named there before the
// original goes.
bool LostAndFound::moveAcross(int from, const std::string& name, const std::string& destination)
{
    const int in = ::openat(from, name.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (in < 0)
        return false;
    struct stat info {};
    const int out = ::fstat(in, &info) == 0
                        ? ::openat(fd_, destination.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                                   info.st_mode & 0777)
                        : -1;
    if (out < 0) {
        closeKeepingErrno(in);
        return false;
    }
    std::vector<char> block(1 << 16);
    bool copied = true;
    for (;;) {
        const ssize_t got = ::read(in, block.data(), block.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            copied = got == 0;
            break;
        }
        if (!platform::writeAll(out, block.data(), static_cast<std::size_t>(got))) {
            copied = false;
            break;
        }
    }
    copied = copied && ::fsync(out) == 0;
    copied = ::close(out) == 0 && copied;
    closeKeepingErrno(in);
    if (!copied || ::fsync(fd_) != 0 || ::unlinkat(from, name.c_str(), 0) != 0) {
        const int savedErrno = errno;
        ::unlinkat(fd_, destination.c_str(), 0);
        errno = savedErrno == EEXIST ? EIO : savedErrno;
        return false;
    }
    return true;
}

void LostAndFound::renamedIn(const std::string& path)
{
    const int folder = sourceFolder(path);
    if (folder >= 0)
        touched(folder);
    else
        platform::syncFolderOf(path);
}

void LostAndFound::touched(int folder)
{
    struct stat info {};
    if (::fstat(folder, &info) == 0)
        unsynced_.emplace(std::make_pair(info.st_dev, info.st_ino), folder);
    else
        ::fsync(folder);
}

void LostAndFound::sync()
{
    for (const auto& [identity, fd] : unsynced_)
        ::fsync(fd);
    unsynced_.clear();
}

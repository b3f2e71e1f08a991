#include "platform/ReplacingFile.h"

#include <cerrno>
#include <filesystem>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

ReplacingFile::ReplacingFile(std::string target, std::string temporary, mode_t mode, bool dataSync)
    : target_(std::move(target)), temporary_(std::move(temporary)), mode_(mode), dataSync_(dataSync)
{
}

ReplacingFile::~ReplacingFile()
{
    const int savedErrno = errno;
    if (fd_ >= 0)
        ::close(fd_);
    if (!committed_ && !temporary_.empty())
        ::unlink(temporary_.c_str());
    errno = savedErrno;
}

bool ReplacingFile::open()
{
    fd_ = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | (dataSync_ ? O_DSYNC : 0), mode_);
    if (fd_ < 0)
        return false;
    // The creation mask must not narrow what the old file allowed.
    ::fchmod(fd_, mode_);
    return true;
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
    if (fd_ >= 0 || ::rename(temporary_.c_str(), target_.c_str()) != 0)
        return false;
    committed_ = true;
    syncFolderOf(target_);
    return true;
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

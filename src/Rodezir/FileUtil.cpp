#include "Rodezir/FileUtil.h"

#include "Rodezir/LogStream.h"
#include "platform/Clock.h"
#include "platform/ReplacingFile.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <new>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace FileUtil {

namespace {

BusyIndicator* busyIndicator = nullptr;

// Shows the busy indicator from the first retry until the open returns.
class BusyWhileRetrying {
public:
    ~BusyWhileRetrying()
    {
        if (shown_ && busyIndicator)
            busyIndicator->end();
    }
    void show()
    {
        if (!shown_ && busyIndicator)
            busyIndicator->begin();
        shown_ = true;
    }

private:
    bool shown_ = false;
};

int openFlags(Access access, Disposition disposition, bool writeThrough)
{
    static constexpr int accessFlags[] = {O_RDONLY, O_WRONLY, O_RDWR};
    static constexpr int dispositionFlags[] = {0, O_CREAT, O_CREAT | O_TRUNC};
    int flags = accessFlags[static_cast<int>(access)] | dispositionFlags[static_cast<int>(disposition)] | O_CLOEXEC;
    if (writeThrough)
        flags |= O_DSYNC;
    return flags;
}

// One attempt: the file opened and locked so that no other opener shares it.
FileHandle tryOpen(const std::string& path, int flags, int& error)
{
    // Truncation waits until the lock is ours, so a held file is never cut.
    const bool truncate = (flags & O_TRUNC) != 0;
    const int fd = ::open(path.c_str(), flags & ~O_TRUNC, 0644);
    if (fd < 0) {
        error = errno;
        return INVALID_FILE_HANDLE;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || (truncate && ::ftruncate(fd, 0) != 0)) {
        error = errno;
        ::close(fd);
        return INVALID_FILE_HANDLE;
    }
    return fd;
}

void logError(const std::string& text) { LogStream::instance() << text << "\n"; }

bool seekToStart(FileHandle handle)
{
    if (::lseek(handle, 0, SEEK_SET) == 0)
        return true;
    logError("Could not seek to 0 on file handle");
    return false;
}

bool writeAndReport(FileHandle handle, const void* data, std::size_t size)
{
    if (platform::writeAll(handle, data, size))
        return true;
    logError("Could not write all of the data into file via handle");
    return false;
}

// The file a path finally names, so that replacing it keeps a symbolic link.
std::string resolvedTarget(const std::string& path)
{
    std::error_code ec;
    if (std::filesystem::is_symlink(path, ec)) {
        const auto target = std::filesystem::canonical(path, ec);
        if (!ec)
            return target.string();
    }
    return path;
}

struct ReadResult {
    std::unique_ptr<unsigned char[]> block;
    std::size_t size = 0;
    bool complete = false;
};

ReadResult readHandle(FileHandle handle, bool quiet)
{
    ReadResult result;
    struct stat info {};
    if (::fstat(handle, &info) != 0 || info.st_size < 0) {
        if (!quiet)
            logError("Could not determine size of file handle");
        return result;
    }
    const auto fileSize = static_cast<std::size_t>(info.st_size);
    result.block.reset(new (std::nothrow) unsigned char[fileSize == 0 ? 1 : fileSize]);
    if (!result.block) {
        if (!quiet)
            logError("Could not read all of file from handle");
        return result;
    }
    if (::lseek(handle, 0, SEEK_SET) != 0) {
        if (!quiet)
            logError("Could not seek to 0 on file handle");
        result.block.reset();
        return result;
    }
    while (result.size < fileSize) {
        const ssize_t got = ::read(handle, result.block.get() + result.size, fileSize - result.size);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        result.size += static_cast<std::size_t>(got);
    }
    result.complete = result.size == fileSize;
    if (!result.complete && !quiet)
        logError("Could not read all of file from handle");
    return result;
}

ReadResult readPath(const std::string& path, bool quiet)
{
    const FileHandle handle = openForReading(path, 1, 0, true);
    if (handle == INVALID_FILE_HANDLE) {
        if (!quiet)
            logError("Could not open file '" + path + "'");
        return {};
    }
    ReadResult result = readHandle(handle, quiet);
    if (::close(handle) != 0) {
        if (!quiet)
            logError("Could not close file '" + path + "'");
        return {};
    }
    return result;
}

} // namespace

void setBusyIndicator(BusyIndicator* indicator) { busyIndicator = indicator; }

FileHandle openFile(Access access, Disposition disposition, const std::string& path, int attempts, unsigned waitMs,
                    bool quiet, bool writeThrough)
{
    const int flags = openFlags(access, disposition, writeThrough);
    BusyWhileRetrying busy;
    for (int attempt = 0; attempt < attempts; ++attempt) {
        if (attempt > 0) {
            busy.show();
            platform::Clock::instance().sleep(waitMs);
        }
        int error = 0;
        const FileHandle handle = tryOpen(path, flags, error);
        if (handle != INVALID_FILE_HANDLE)
            return handle;
        if (!quiet)
            LogStream::instance() << "Could not access file '" << path << "' error: " << errorText(static_cast<unsigned long>(error)) << "\n";
    }
    return INVALID_FILE_HANDLE;
}

FileHandle openForWriting(const std::string& path, int attempts, unsigned waitMs, bool quiet, bool writeThrough)
{
    return openFile(Access::Write, Disposition::OpenAlways, path, attempts, waitMs, quiet, writeThrough);
}

FileHandle openForReading(const std::string& path, int attempts, unsigned waitMs, bool quiet)
{
    return openFile(Access::Read, Disposition::OpenExisting, path, attempts, waitMs, quiet, false);
}

bool closeFile(FileHandle handle)
{
    if (handle >= 0 && ::close(handle) == 0)
        return true;
    logError("Could not close file from handle ");
    return false;
}

std::unique_ptr<unsigned char[]> readWholeFile(const std::string& path, std::size_t& size, bool quiet)
{
    ReadResult result = readPath(path, quiet);
    size = result.size;
    return std::move(result.block);
}

std::unique_ptr<unsigned char[]> readAllFromHandle(std::size_t& size, FileHandle handle, bool quiet)
{
    ReadResult result = readHandle(handle, quiet);
    size = result.size;
    return std::move(result.block);
}

namespace {

bool takeComplete(ReadResult result, std::unique_ptr<unsigned char[]>& block, std::size_t& size)
{
    if (!result.block || !result.complete)
        return false;
    block = std::move(result.block);
    size = result.size;
    return true;
}

bool fillBuffer(ReadResult result, mem_buffer& buffer, std::unique_ptr<unsigned char[]>& block)
{
    std::size_t size = 0;
    if (!takeComplete(std::move(result), block, size))
        return false;
    buffer = mem_buffer(block.get(), size);
    return true;
}

} // namespace

bool readWhole(const std::string& path, std::unique_ptr<unsigned char[]>& block, std::size_t& size, bool quiet)
{
    return takeComplete(readPath(path, quiet), block, size);
}

bool readWholeFromHandle(FileHandle handle, std::unique_ptr<unsigned char[]>& block, std::size_t& size, bool quiet)
{
    return takeComplete(readHandle(handle, quiet), block, size);
}

bool readFile(const std::string& path, mem_buffer& buffer, std::unique_ptr<unsigned char[]>& block, bool quiet)
{
    return fillBuffer(readPath(path, quiet), buffer, block);
}

bool readFromHandle(mem_buffer& buffer, std::unique_ptr<unsigned char[]>& block, FileHandle handle, bool quiet)
{
    return fillBuffer(readHandle(handle, quiet), buffer, block);
}

bool writeFile(const std::string& path, const void* data, std::size_t size, bool flush)
{
    const std::string target = resolvedTarget(path);
    // Holding the file itself keeps every other opener out while it is
    // replaced. A file that is not there yet is not made here: its name
    // appears only with the rename of the whole new file, so a program
    // killed half-way never leaves it empty or cut short.
    std::error_code ec;
    FileHandle held = INVALID_FILE_HANDLE;
    if (std::filesystem::exists(target, ec)) {
        held = openFile(Access::Write, Disposition::OpenExisting, target, 10, 200, false, false);
        if (held == INVALID_FILE_HANDLE) {
            logError("Could not open file '" + path + "' for saving");
            return false;
        }
    }
    struct stat info {};
    const mode_t mode = held != INVALID_FILE_HANDLE && ::fstat(held, &info) == 0 ? (info.st_mode & 07777) : 0644;

    platform::ReplacingFile replacing(target, mode, flush);
    bool result = replacing.open();
    if (!result) {
        LogStream::instance() << "Could not create a temporary file beside '" << path << "' error: " << errorText(static_cast<unsigned long>(errno)) << "\n";
        logError("Could not open file '" + path + "' for saving");
    } else {
        result = platform::writeAll(replacing.fd(), data, size);
        if (!result)
            logError("Could not write all of the data into file '" + path + "'");
        // The new bytes are on the disk before they replace the old ones.
        if (result && !replacing.finish()) {
            logError("Error while writing data to file '" + path + "'");
            result = false;
        }
        if (result && !replacing.commit()) {
            LogStream::instance() << "Could not replace file '" << path << "' error: " << errorText(static_cast<unsigned long>(errno)) << "\n";
            result = false;
        }
    }
    if (held != INVALID_FILE_HANDLE && ::close(held) != 0) {
        logError("Could not close file '" + path + "'");
        return false;
    }
    return result;
}

bool writeToHandle(FileHandle handle, const void* data, std::size_t size)
{
    if (!seekToStart(handle))
        return false;
    return writeAndReport(handle, data, size);
}

} // namespace FileUtil

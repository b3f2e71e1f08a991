#pragma once
// Replaces a file's contents as a whole: the new bytes go to a temporary file
// beside it, reach the disk, and only then take the file's name, so a failure
// at any step leaves the previous file as it was.

#include <cstddef>
#include <string>

#include <sys/types.h>

namespace platform {

class ReplacingFile {
public:
    // The new contents are written to `temporary` (beside `target`) with the
    // given permissions; an uncommitted temporary file is removed on destruction.
    ReplacingFile(std::string target, std::string temporary, mode_t mode = 0644, bool dataSync = false);
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    // Creates the temporary file; false with errno set when it cannot.
    bool open();
    // The temporary file's descriptor while it is open, else -1.
    int fd() const { return fd_; }
    const std::string& temporaryPath() const { return temporary_; }
    // Writes all the bytes, carrying on after interrupted and short writes.
    bool write(const void* data, std::size_t size);
    // Puts the bytes on the disk and closes the temporary file.
    bool finish();
    // Renames the finished temporary file over the target and makes the
    // folder's new entry durable; false with errno set when the rename fails.
    bool commit();

private:
    std::string target_;
    std::string temporary_;
    mode_t mode_;
    bool dataSync_;
    int fd_ = -1;
    bool committed_ = false;
};

// Writes a whole descriptor's worth of bytes; false when the device refuses some.
bool writeAll(int fd, const void* data, std::size_t size);

// Makes the entries of the folder holding `file` durable (after a rename into it).
void syncFolderOf(const std::string& file);

} // namespace platform

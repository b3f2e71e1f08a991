#pragma once
// Whole-file reading and writing with exclusive opening: a file is opened
// with an advisory lock that no other opener may share, retried while another
// holder keeps it; every failure is one line in the error log unless the
// caller asked for quiet operation. Nothing here throws.

#include "Rodezir/mem_buffer.h"

#include <cstddef>
#include <memory>
#include <string>

namespace FileUtil {

using FileHandle = int;
inline constexpr FileHandle INVALID_FILE_HANDLE = -1;

enum class Access { Read, Write, ReadWrite };
enum class Disposition { OpenExisting, OpenAlways, CreateAlways };

// Shown while an open is being retried (the GUI installs a wait cursor).
class BusyIndicator {
public:
    virtual ~BusyIndicator() = default;
    virtual void begin() = 0;
    virtual void end() = 0;
};
// Installs the indicator (null: none); the caller keeps ownership.
void setBusyIndicator(BusyIndicator* indicator);

// Opens `path` exclusively, making up to `attempts` attempts `waitMs` apart
// (the waits go through the program's clock). Each failed attempt logs
// "Could not access file '<path>' error: <text>" unless quiet.
FileHandle openFile(Access access, Disposition disposition, const std::string& path, int attempts, unsigned waitMs,
                    bool quiet, bool writeThrough);
FileHandle openForWriting(const std::string& path, int attempts, unsigned waitMs, bool quiet, bool writeThrough);
FileHandle openForReading(const std::string& path, int attempts, unsigned waitMs, bool quiet);
bool closeFile(FileHandle handle);

// The whole file in a new block, or null. A short read still returns the
// block, with `size` telling how much of it is valid (and a log line).
std::unique_ptr<unsigned char[]> readWholeFile(const std::string& path, std::size_t& size, bool quiet);
std::unique_ptr<unsigned char[]> readAllFromHandle(std::size_t& size, FileHandle handle, bool quiet);

// The whole file into `block` with its size: true only when every byte was
// read; otherwise both stay untouched.
bool readWhole(const std::string& path, std::unique_ptr<unsigned char[]>& block, std::size_t& size, bool quiet);
bool readWholeFromHandle(FileHandle handle, std::unique_ptr<unsigned char[]>& block, std::size_t& size, bool quiet);

// The same with `buffer` over the block (begin = position = the block's
// start, end = start + size); on failure both stay untouched.
bool readFile(const std::string& path, mem_buffer& buffer, std::unique_ptr<unsigned char[]>& block, bool quiet = false);
bool readFromHandle(mem_buffer& buffer, std::unique_ptr<unsigned char[]>& block, FileHandle handle, bool quiet = false);

// Replaces the file with `size` bytes: an existing file is opened
// exclusively (10 attempts 200 ms apart), the data goes to a temporary file
// beside it, is flushed to disk and renamed over it, so a failed write leaves
// the old file as it was, and a new file's name appears only with the whole
// file. True when everything was written.
bool writeFile(const std::string& path, const void* data, std::size_t size, bool flush);
// Writes from the start of the file; neither cuts nor closes it.
bool writeToHandle(FileHandle handle, const void* data, std::size_t size);

} // namespace FileUtil

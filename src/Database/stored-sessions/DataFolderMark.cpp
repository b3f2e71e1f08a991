#include "Database/stored-sessions/DataFolderMark.h"

#include "Database/stored-sessions/RecordsIdentity.h"
#include "Rodezir/LogStream.h"
#include "platform/ReplacingFile.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <climits>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::string_view HEADING = "Kova CPR data folder";
constexpr std::string_view RECORDS_KEY = "records=";
constexpr std::string_view DATABASE_KEY = "database=";
constexpr std::string_view CLAIMED_KEY = "claimed=";
// Seconds up to the year 9999: nothing bigger is a moment of a claim.
constexpr std::int64_t LATEST_CLAIM = 253402300799;

std::string pathIn(const std::string& folder, const char* name) { return (std::filesystem::path(folder) / name).string(); }

// The next line of `bytes` from `at`, without its "\n"; false when no
// line end follows.
bool nextLine(std::string_view bytes, std::size_t& at, std::string_view& line)
{
    const std::size_t end = bytes.find('\n', at);
    if (end == std::string_view::npos)
        return false;
    line = bytes.substr(at, end - at);
    at = end + 1;
    return true;
}

bool valueOf(std::string_view line, std::string_view key, std::string_view& value)
{
    if (line.substr(0, key.size()) != key)
        return false;
    value = line.substr(key.size());
    return true;
}

bool isPrintable(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte >= 0x20 && byte != 0x7F;
    });
}

bool readWhole(const std::string& path, std::string& bytes, std::string& reason)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) {
        reason = errorText(static_cast<unsigned long>(errno));
        return false;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        reason = "it is not a file";
        ::close(fd);
        return false;
    }
    char block[512];
    for (;;) {
        const ssize_t got = ::read(fd, block, sizeof block);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            reason = errorText(static_cast<unsigned long>(errno));
            ::close(fd);
            return false;
        }
        if (got == 0)
            break;
        bytes.append(block, static_cast<std::size_t>(got));
        if (bytes.size() > DataFolderMark::MAX_FILE_SIZE) {
            reason = "it is too long";
            ::close(fd);
            return false;
        }
    }
    ::close(fd);
    return true;
}

// Gives the finished mark the marker's name unless one has it: a hard link
// fails where the name is taken. A file system without hard links gets the
// name by an exclusive create instead.
bool takeName(const std::string& temporary, const std::string& marker, const std::string& text)
{
    if (::link(temporary.c_str(), marker.c_str()) == 0)
        return true;
    if (errno != EPERM && errno != ENOTSUP && errno != EOPNOTSUPP && errno != ENOSYS)
        return false;
    const int fd = ::open(marker.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd < 0)
        return false;
    const bool written = platform::writeAll(fd, text.data(), text.size()) && ::fsync(fd) == 0;
    const int saved = errno;
    ::close(fd);
    if (!written) {
        ::unlink(marker.c_str());
        errno = saved;
    }
    return written;
}

} // namespace

std::string DataFolderMark::text() const
{
    return std::string(HEADING) + "\n" + std::string(RECORDS_KEY) + records + "\n" + std::string(DATABASE_KEY)
           + printable(database) + "\n" + std::string(CLAIMED_KEY) + std::to_string(claimed) + "\n";
}

std::optional<DataFolderMark> DataFolderMark::parse(std::string_view bytes)
{
    if (bytes.size() > MAX_FILE_SIZE)
        return std::nullopt;
    std::size_t at = 0;
    std::string_view heading;
    std::string_view records;
    std::string_view database;
    std::string_view claimed;
    std::string_view line;
    if (!nextLine(bytes, at, heading) || heading != HEADING || !nextLine(bytes, at, line)
        || !valueOf(line, RECORDS_KEY, records) || !nextLine(bytes, at, line)
        || !valueOf(line, DATABASE_KEY, database) || !nextLine(bytes, at, line)
        || !valueOf(line, CLAIMED_KEY, claimed) || at != bytes.size())
        return std::nullopt;
    if (!RecordsIdentity::isIdentity(records) || database.size() > MAX_DATABASE_TEXT || !isPrintable(database))
        return std::nullopt;
    // Decimal digits only: no sign, no blanks, no leading zero.
    if (claimed.empty() || claimed.size() > 12 || claimed.find_first_not_of("0123456789") != std::string_view::npos
        || (claimed.size() > 1 && claimed.front() == '0'))
        return std::nullopt;
    DataFolderMark mark;
    const auto [end, error] = std::from_chars(claimed.data(), claimed.data() + claimed.size(), mark.claimed);
    if (error != std::errc() || end != claimed.data() + claimed.size() || mark.claimed > LATEST_CLAIM)
        return std::nullopt;
    mark.records = std::string(records);
    mark.database = std::string(database);
    return mark;
}

DataFolderMark::Reading DataFolderMark::read(const std::string& folder, DataFolderMark& mark, std::string& reason)
{
    const std::string path = pathIn(folder, FILE_NAME);
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 && errno == ENOENT)
        return Reading::Missing;
    std::string bytes;
    if (!readWhole(path, bytes, reason))
        return Reading::Damaged;
    const std::optional<DataFolderMark> parsed = parse(bytes);
    if (!parsed) {
        reason = "it is not a mark of this station's kind";
        return Reading::Damaged;
    }
    mark = *parsed;
    return Reading::Read;
}

DataFolderMark::Reading DataFolderMark::claim(const std::string& folder, DataFolderMark& mark, std::string& reason)
{
    std::string temporary = pathIn(folder, FILE_NAME) + ".XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        reason = errorText(static_cast<unsigned long>(errno));
        return Reading::Missing;
    }
    // The file system's own clock at the claim: a file server's clock may
    // differ from the station's, and the files' times are the server's.
    struct stat info {};
    const std::int64_t now = static_cast<std::int64_t>(std::time(nullptr));
    mark.claimed = ::fstat(fd, &info) == 0 ? std::min<std::int64_t>(now, info.st_mtime) : now;
    const std::string text = mark.text();
    bool written = ::fchmod(fd, 0644) == 0 && platform::writeAll(fd, text.data(), text.size()) && ::fsync(fd) == 0;
    int saved = errno;
    written = ::close(fd) == 0 && written;
    const std::string marker = pathIn(folder, FILE_NAME);
    if (written) {
        written = takeName(temporary, marker, text);
        saved = errno;
    }
    ::unlink(temporary.c_str());
    if (written) {
        platform::syncFolderOf(marker);
        return Reading::Made;
    }
    if (saved == EEXIST)
        return read(folder, mark, reason);
    reason = errorText(static_cast<unsigned long>(saved));
    errno = saved;
    return Reading::Missing;
}

std::string DataFolderMark::printable(std::string_view text)
{
    std::string shown(text.substr(0, MAX_DATABASE_TEXT));
    for (char& c : shown) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F)
            c = '?';
    }
    return shown;
}

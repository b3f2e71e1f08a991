#include "platform/RegistryStore.h"

#include "platform/ReplacingFile.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

bool machineIsWritable = false;

// A hive file larger than this is not a registry we wrote.
constexpr off_t MAX_HIVE_FILE = 64 * 1024 * 1024;

const char* hiveName(RegistryRoot root) { return root == RegistryRoot::Machine ? "machine" : "user"; }

// A file descriptor closed with its owner.
class Fd {
public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    ~Fd()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Closes now and tells whether everything reached the file.
    bool close()
    {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

// The advisory lock of one hive for the length of one operation. Without a
// lock file (a read-only folder) readers go on unlocked: no writer can be
// changing a folder nobody may write to.
class HiveLock {
public:
    HiveLock(const std::filesystem::path& file, bool exclusive)
        : fd_(::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644))
    {
        if (!fd_.valid())
            return;
        int rc;
        do {
            rc = ::flock(fd_.get(), exclusive ? LOCK_EX : LOCK_SH);
        } while (rc != 0 && errno == EINTR);
        locked_ = rc == 0;
    }
    bool locked() const { return locked_; }

private:
    Fd fd_;
    bool locked_ = false;
};

enum class LoadResult { Good, Damaged, Unreadable };

LoadResult loadHive(const std::filesystem::path& file, RegistryHive& hive)
{
    hive = RegistryHive();
    Fd fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.valid())
        return errno == ENOENT ? LoadResult::Good : LoadResult::Unreadable;
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0 || info.st_size > MAX_HIVE_FILE)
        return LoadResult::Unreadable;
    std::string text;
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd.get(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return LoadResult::Unreadable;
        if (got == 0)
            break;
        if (text.size() + static_cast<std::size_t>(got) > static_cast<std::size_t>(MAX_HIVE_FILE))
            return LoadResult::Unreadable;
        text.append(buffer, static_cast<std::size_t>(got));
    }
    return hive.fromText(text) ? LoadResult::Good : LoadResult::Damaged;
}

// Temporary file, flushed to disk, renamed over the hive file: the old file
// stays whole until the new one is complete.
bool saveHive(const std::filesystem::path& file, const RegistryHive& hive, bool keepDamaged)
{
    platform::ReplacingFile replacing(file.string());
    const std::string text = hive.toText();
    if (!replacing.open() || !replacing.write(text.data(), text.size()) || !replacing.finish())
        return false;
    if (keepDamaged) {
        const std::filesystem::path damaged = file.string() + ".damaged";
        if (::access(damaged.c_str(), F_OK) != 0 && ::link(file.c_str(), damaged.c_str()) != 0)
            return false;
    }
    return replacing.commit();
}

std::filesystem::path lockFile(const std::filesystem::path& folder, RegistryRoot root)
{
    return folder / (std::string(hiveName(root)) + ".lock");
}

} // namespace

RegistryStore::RegistryStore(std::filesystem::path folder) : folder_(std::move(folder)) {}

RegistryStore& RegistryStore::instance()
{
    static RegistryStore store;
    return store;
}

std::filesystem::path RegistryStore::defaultFolder()
{
    const char* dir = std::getenv("KOVA_REGISTRY_DIR");
    if (dir && *dir)
        return dir;
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home && *home ? home : ".") / ".config" / "kovacpr" / "registry";
}

void RegistryStore::setMachineWritable(bool writable) { machineIsWritable = writable; }

bool RegistryStore::machineWritable() { return machineIsWritable; }

std::filesystem::path RegistryStore::folder() const { return folder_.empty() ? defaultFolder() : folder_; }

std::filesystem::path RegistryStore::hiveFile(RegistryRoot root) const
{
    return folder() / (std::string(hiveName(root)) + ".reg");
}

int RegistryStore::removeStaleTemporaries() const
{
    return ReplacingFile::removeStale(hiveFile(RegistryRoot::Machine).string())
        + ReplacingFile::removeStale(hiveFile(RegistryRoot::User).string());
}

template <class Read>
long RegistryStore::readHive(RegistryRoot root, Read&& read) const
{
    const std::filesystem::path base = folder();
    std::error_code ec;
    std::optional<HiveLock> lock;
    if (std::filesystem::is_directory(base, ec))
        lock.emplace(lockFile(base, root), false);
    RegistryHive hive;
    if (loadHive(hiveFile(root), hive) == LoadResult::Unreadable)
        return ERROR_READ_FAULT;
    return read(static_cast<const RegistryHive&>(hive));
}

template <class Change>
long RegistryStore::changeHive(RegistryRoot root, Change&& change)
{
    if (root == RegistryRoot::Machine && !machineIsWritable)
        return ERROR_ACCESS_DENIED;
    const std::filesystem::path base = folder();
    std::error_code ec;
    std::filesystem::create_directories(base, ec);
    HiveLock lock(lockFile(base, root), true);
    if (!lock.locked())
        return ERROR_WRITE_FAULT;
    RegistryHive hive;
    const LoadResult loaded = loadHive(hiveFile(root), hive);
    // A file we could not read is never replaced: it may hold everything.
    if (loaded == LoadResult::Unreadable)
        return ERROR_READ_FAULT;
    const RegistryHive before = hive;
    const long result = change(hive);
    if (result != ERROR_SUCCESS || (hive == before && loaded == LoadResult::Good))
        return result;
    return saveHive(hiveFile(root), hive, loaded == LoadResult::Damaged) ? ERROR_SUCCESS : ERROR_WRITE_FAULT;
}

long RegistryStore::openKey(RegistryRoot root, std::string_view path) const
{
    return readHive(root, [&](const RegistryHive& hive) { return hive.keyExists(path) ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND; });
}

long RegistryStore::createKey(RegistryRoot root, std::string_view path)
{
    return changeHive(root, [&](RegistryHive& hive) {
        hive.createKey(path);
        return ERROR_SUCCESS;
    });
}

long RegistryStore::deleteKey(RegistryRoot root, std::string_view path)
{
    return changeHive(root, [&](RegistryHive& hive) {
        if (RegistryHive::canonicalPath(path).empty())
            return ERROR_ACCESS_DENIED;
        if (!hive.keyExists(path))
            return ERROR_FILE_NOT_FOUND;
        if (hive.hasSubKeys(path))
            return ERROR_ACCESS_DENIED;
        hive.removeKey(path);
        return ERROR_SUCCESS;
    });
}

long RegistryStore::setValue(RegistryRoot root, std::string_view path, std::string_view name, const RegistryValue& value)
{
    return changeHive(root, [&](RegistryHive& hive) {
        RegistryHive::Key* key = hive.findKey(path);
        if (!key)
            return ERROR_FILE_NOT_FOUND;
        key->values[RegistryHive::fold(name)] = RegistryHive::Value{std::string(name), value};
        return ERROR_SUCCESS;
    });
}

long RegistryStore::queryValue(RegistryRoot root, std::string_view path, std::string_view name, RegistryValue& value) const
{
    return readHive(root, [&](const RegistryHive& hive) {
        const RegistryHive::Key* key = hive.findKey(path);
        if (!key)
            return ERROR_FILE_NOT_FOUND;
        auto it = key->values.find(RegistryHive::fold(name));
        if (it == key->values.end())
            return ERROR_FILE_NOT_FOUND;
        value = it->second.value;
        return ERROR_SUCCESS;
    });
}

long RegistryStore::deleteValue(RegistryRoot root, std::string_view path, std::string_view name)
{
    return changeHive(root, [&](RegistryHive& hive) {
        RegistryHive::Key* key = hive.findKey(path);
        if (!key || key->values.erase(RegistryHive::fold(name)) == 0)
            return ERROR_FILE_NOT_FOUND;
        return ERROR_SUCCESS;
    });
}

std::vector<std::string> RegistryStore::subKeyNames(RegistryRoot root, std::string_view path) const
{
    std::vector<std::string> names;
    readHive(root, [&](const RegistryHive& hive) {
        names = hive.subKeyNames(path);
        return ERROR_SUCCESS;
    });
    return names;
}

std::vector<std::string> RegistryStore::valueNames(RegistryRoot root, std::string_view path) const
{
    std::vector<std::string> names;
    readHive(root, [&](const RegistryHive& hive) {
        if (const RegistryHive::Key* key = hive.findKey(path))
            for (const auto& [folded, value] : key->values)
                names.push_back(value.name);
        return ERROR_SUCCESS;
    });
    return names;
}

std::optional<std::string> RegistryStore::getString(RegistryRoot root, std::string_view path, std::string_view name) const
{
    RegistryValue value;
    if (queryValue(root, path, name, value) != ERROR_SUCCESS || value.type != REG_SZ)
        return std::nullopt;
    std::string text(value.data.begin(), value.data.end());
    return text.substr(0, std::strlen(text.c_str()));
}

std::optional<std::uint32_t> RegistryStore::getDword(RegistryRoot root, std::string_view path, std::string_view name) const
{
    RegistryValue value;
    if (queryValue(root, path, name, value) != ERROR_SUCCESS || value.type != REG_DWORD || value.data.size() != 4)
        return std::nullopt;
    return static_cast<std::uint32_t>(value.data[0]) | static_cast<std::uint32_t>(value.data[1]) << 8
        | static_cast<std::uint32_t>(value.data[2]) << 16 | static_cast<std::uint32_t>(value.data[3]) << 24;
}

long RegistryStore::setString(RegistryRoot root, std::string_view path, std::string_view name, std::string_view text)
{
    RegistryValue value{REG_SZ, std::vector<unsigned char>(text.begin(), text.end())};
    value.data.push_back(0);
    return changeHive(root, [&](RegistryHive& hive) {
        hive.createKey(path).values[RegistryHive::fold(name)] = RegistryHive::Value{std::string(name), value};
        return ERROR_SUCCESS;
    });
}

long RegistryStore::setDword(RegistryRoot root, std::string_view path, std::string_view name, std::uint32_t dword)
{
    RegistryValue value{REG_DWORD, {static_cast<unsigned char>(dword), static_cast<unsigned char>(dword >> 8),
                                    static_cast<unsigned char>(dword >> 16), static_cast<unsigned char>(dword >> 24)}};
    return changeHive(root, [&](RegistryHive& hive) {
        hive.createKey(path).values[RegistryHive::fold(name)] = RegistryHive::Value{std::string(name), value};
        return ERROR_SUCCESS;
    });
}

} // namespace platform

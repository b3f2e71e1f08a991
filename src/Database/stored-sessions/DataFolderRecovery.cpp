#include "Database/stored-sessions/DataFolderRecovery.h"

#include "Database/stored-sessions/DataFileRemoval.h"
#include "Database/Database.h"
#include "Database/DatabaseError.h"
#include "Database/SessionRecord.h"
#include "Database/SqlIdentifier.h"
#include "Database/stored-sessions/DataFileChange.h"
#include "Database/stored-sessions/DataFolderOwner.h"
#include "Database/stored-sessions/UnfinishedExports.h"
#include "Rodezir/LogStream.h"
#include "platform/MessageBox.h"
#include "platform/ReplacingFile.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <set>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr std::string_view DATA_EXTENSION = ".dat";

// One line; a database's reason comes with its own line end.
void log(std::string text)
{
    while (!text.empty() && text.back() == '\n')
        text.pop_back();
    LogStream::instance() << "Start-up: " << text << "\n";
}

bool endsWith(std::string_view text, std::string_view end)
{
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

// The serial identifier a data file's name carries; empty for another name.
std::string serialOf(std::string_view dataFileName)
{
    if (!endsWith(dataFileName, DATA_EXTENSION) || dataFileName.size() == DATA_EXTENSION.size())
        return {};
    return std::string(dataFileName.substr(0, dataFileName.size() - DATA_EXTENSION.size()));
}

long long rowsOf(DatabaseConnection& connection, const std::string& serial)
{
    const auto rows = connection.query("SELECT COUNT(*) FROM " + quoteIdentifier("Session") + " WHERE "
                                           + quoteIdentifier("Serialidentifier") + " = ?",
                                       {serial}, {SqlType::Integer});
    const auto* count = rows.empty() ? nullptr : std::get_if<long long>(&rows.front().front());
    return count ? *count : 0;
}

std::set<std::string> storedSerials(DatabaseConnection& connection)
{
    std::set<std::string> serials;
    for (const auto& row :
         connection.query("SELECT " + quoteIdentifier("Serialidentifier") + " FROM " + quoteIdentifier("Session"), {},
                          {SqlType::Text})) {
        if (const auto* serial = std::get_if<std::string>(&row.front()))
            serials.insert(*serial);
    }
    return serials;
}

bool renameDurably(const std::string& from, const std::string& to)
{
    if (::rename(from.c_str(), to.c_str()) != 0)
        return false;
    platform::syncFolderOf(to);
    return true;
}

// The plain files directly in the folder, by name.
std::vector<std::string> fileNames(const std::string& folder)
{
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (it->symlink_status(ec).type() == fs::file_type::regular)
            names.push_back(it->path().filename().string());
    }
    return names;
}

class FolderRecovery {
public:
    FolderRecovery(const std::string& folder, DatabaseConnection* rows, std::time_t start, std::int64_t claimed)
        : folder_(folder), rows_(rows), start_(start), claimed_(claimed)
    {
    }

    void run()
    {
        // Changes first: finishing one gives a data file its name back.
        for (const std::string& name : fileNames(folder_)) {
            std::string dataFileName;
            std::string fingerprint;
            if (rows_ && DataFileChange::parsePendingName(name, dataFileName, fingerprint)
                && !serialOf(dataFileName).empty())
                finishChange(name, dataFileName, fingerprint);
            else if (rows_ && endsWith(name, DataFileRemoval::ASIDE_MARK))
                finishRemoval(name);
            else if (isDataFileTemporary(name) && writtenAfterClaim(name))
                platform::withUnheldFile(path(name), [&] {
                    return DataFolderRecovery::setAside(path(name), folder_, "a data file's unfinished temporary");
                });
        }
        if (rows_)
            setAsideUnnamed();
    }

private:
    std::string path(const std::string& name) const { return (fs::path(folder_) / name).string(); }

    // A file the folder held before its records claimed it may be another
    // database's: only what its own rows name is theirs to set right.
    bool writtenAfterClaim(const std::string& name) const
    {
        struct stat info {};
        return ::lstat(path(name).c_str(), &info) == 0 && static_cast<std::int64_t>(info.st_mtime) > claimed_;
    }

    static bool isDataFileTemporary(const std::string& name)
    {
        const std::size_t mark = name.rfind(".tmp");
        return mark != std::string::npos && !serialOf(name.substr(0, mark)).empty()
               && platform::ReplacingFile::isTemporaryOf(name, name.substr(0, mark));
    }

    void finishChange(const std::string& name, const std::string& dataFileName, const std::string& fingerprint)
    {
        platform::withUnheldFile(path(name), [&] {
            std::string stored;
            try {
                stored = DataFileChange::rowsFingerprint(*rows_, serialOf(dataFileName));
            } catch (const DatabaseError& error) {
                log("the rows of " + path(name) + " could not be read; it stays: " + error.what());
                return false;
            }
            if (stored != fingerprint && !writtenAfterClaim(name))
                return false;
            if (stored != fingerprint)
                return DataFolderRecovery::setAside(path(name), folder_, "its session's row was never stored");
            if (!renameDurably(path(name), path(dataFileName))) {
                log(path(name) + " could not become " + dataFileName + ": "
                    + errorText(static_cast<unsigned long>(errno)));
                return false;
            }
            log(path(name) + " became " + dataFileName + ": its session's row was stored");
            return true;
        });
    }

    void finishRemoval(const std::string& name)
    {
        const std::string dataFileName = name.substr(0, name.size() - DataFileRemoval::ASIDE_MARK.size());
        const std::string serial = serialOf(dataFileName);
        if (serial.empty())
            return;
        platform::withUnheldFile(path(name), [&] {
            long long rows = 0;
            try {
                rows = rowsOf(*rows_, serial);
            } catch (const DatabaseError& error) {
                log("the row of " + path(name) + " could not be read; it stays: " + error.what());
                return false;
            }
            if (rows == 0 && !writtenAfterClaim(name))
                return false;
            if (rows == 0) {
                if (::unlink(path(name).c_str()) != 0) {
                    log(path(name) + " could not be removed: " + errorText(static_cast<unsigned long>(errno)));
                    return false;
                }
                log(path(name) + " removed: its session was deleted");
                return true;
            }
            std::error_code ec;
            if (fs::exists(fs::symlink_status(path(dataFileName), ec)))
                return DataFolderRecovery::setAside(path(name), folder_,
                                                    "its session was not deleted, and has a newer data file");
            if (!renameDurably(path(name), path(dataFileName))) {
                log(path(name) + " could not go back: " + errorText(static_cast<unsigned long>(errno)));
                return false;
            }
            log(path(name) + " went back to " + dataFileName + ": its session was not deleted");
            return true;
        });
    }

    void setAsideUnnamed()
    {
        std::set<std::string> serials;
        try {
            serials = storedSerials(*rows_);
        } catch (const DatabaseError& error) {
            log("the stored sessions could not be read; no data file is set aside: " + std::string(error.what()));
            return;
        }
        for (const std::string& name : fileNames(folder_)) {
            const std::string serial = serialOf(name);
            if (serial.empty() || serials.count(serial) != 0)
                continue;
            struct stat info {};
            const bool old = ::lstat(path(name).c_str(), &info) == 0
                             && info.st_mtime <= start_ - DataFolderRecovery::UNNAMED_FILE_AGE;
            if (!old || !writtenAfterClaim(name))
                continue;
            platform::withUnheldFile(path(name), [&] {
                return DataFolderRecovery::setAside(path(name), folder_, "no stored session names it");
            });
        }
    }

    std::string folder_;
    DatabaseConnection* rows_;
    std::time_t start_;
    std::int64_t claimed_;
};

// Another file system: a copy, on the disk before the original goes.
bool moveAcross(const std::string& from, const fs::path& to)
{
    std::error_code ec;
    if (!fs::copy_file(from, to, fs::copy_options::none, ec))
        return false;
    const int fd = ::open(to.c_str(), O_RDONLY | O_CLOEXEC);
    const bool synced = fd >= 0 && ::fsync(fd) == 0;
    if (fd >= 0)
        ::close(fd);
    if (!synced || ::unlink(from.c_str()) != 0) {
        fs::remove(to, ec);
        return false;
    }
    return true;
}

} // namespace

void DataFolderRecovery::run(std::time_t start)
{
    std::string folder;
    if (!readDataFolder(folder))
        return;
    // Without the records nothing tells whose the folder's files are.
    if (!databaseOpen || !theDatabase.isOpen()) {
        log("the records are not open: the data folder " + folder + " is left as it is");
        return;
    }
    const DataFolderOwner::Finding owner = DataFolderOwner::examine(folder, theDatabase, true);
    if (!owner.permitsWriting()) {
        log(owner.logText());
        platform::messageBox(owner.message(), DataFolderOwner::caption(), platform::MB_OK | platform::MB_ICONWARNING);
        return;
    }
    if (owner.standing == DataFolderOwner::Standing::Unclaimed)
        log(owner.logText());
    recoverDataFolder(folder, &theDatabase, start, owner.sweepsAfter());
    sweepUnfinishedExports(folder);
}

void DataFolderRecovery::recoverDataFolder(const std::string& folder, DatabaseConnection* rows, std::time_t start,
                                           std::int64_t claimed)
{
    FolderRecovery(folder, rows, start, claimed).run();
}

void DataFolderRecovery::sweepUnfinishedExports(const std::string& dataFolder)
{
    for (const UnfinishedExports::Target& target : UnfinishedExports::list()) {
        std::vector<std::string> targets{target.path};
        std::error_code ec;
        if (fs::is_symlink(target.path, ec)) {
            const fs::path resolved = fs::canonical(target.path, ec);
            if (!ec)
                targets.push_back(resolved.string());
        }
        bool left = false;
        for (const std::string& path : targets) {
            const fs::path folder = fs::path(path).has_parent_path() ? fs::path(path).parent_path() : fs::path(".");
            const std::string base = fs::path(path).filename().string();
            for (const std::string& name : fileNames(folder.string())) {
                if (!platform::ReplacingFile::isTemporaryOf(name, base))
                    continue;
                const std::string temporary = (folder / name).string();
                left |= !platform::withUnheldFile(temporary, [&] {
                    return setAside(temporary, dataFolder, "an unfinished export to " + path);
                });
            }
        }
        if (!left)
            UnfinishedExports::forget(target.name);
    }
}

bool DataFolderRecovery::setAside(const std::string& path, const std::string& dataFolder, const std::string& why)
{
    const fs::path folder = fs::path(dataFolder) / LOST_AND_FOUND;
    std::error_code ec;
    fs::create_directories(folder, ec);
    const std::string name = fs::path(path).filename().string();
    fs::path destination = folder / name;
    for (int number = 1; fs::exists(fs::symlink_status(destination, ec)); ++number)
        destination = folder / (name + "." + std::to_string(number));
    bool moved = ::rename(path.c_str(), destination.c_str()) == 0;
    if (!moved && errno == EXDEV)
        moved = moveAcross(path, destination);
    if (!moved) {
        log(path + " could not be set aside into " + folder.string() + ": "
            + errorText(static_cast<unsigned long>(errno)));
        return false;
    }
    platform::syncFolderOf(destination.string());
    platform::syncFolderOf(path);
    log(path + " set aside as " + destination.string() + ": " + why);
    return true;
}

#include "Database/stored-sessions/DataFolderRecovery.h"

#include "Database/stored-sessions/DataFileRemoval.h"
#include "Database/Database.h"
#include "Database/DatabaseError.h"
#include "Database/SessionRecord.h"
#include "Database/SessionTable.h"
#include "Database/SqlIdentifier.h"
#include "Database/stored-sessions/DataFileChange.h"
#include "Database/stored-sessions/DataFolderOwner.h"
#include "Database/stored-sessions/UnfinishedExports.h"
#include "Rodezir/LogStream.h"
#include "platform/MessageBox.h"
#include "platform/ReplacingFile.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <set>
#include <string_view>
#include <sys/stat.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr std::string_view DATA_EXTENSION = ".dat";

// One line; a database's reason comes with its own line end.
void log(const std::string& text) { LostAndFound::log(text); }

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

std::string reason(int error) { return errorReason(static_cast<unsigned long>(error)); }

// The files a sweep could not read, each told once.
class Unreadable {
public:
    void note(const std::string& path, int error)
    {
        if (error != 0 && told_.insert(path).second)
            log(path + " could not be read; it stays: " + reason(error));
    }

private:
    std::set<std::string> told_;
};

// The plain files directly in the folder, by name.
std::vector<std::string> fileNames(const std::string& folder, Unreadable& unreadable)
{
    std::vector<std::string> names;
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    for (const fs::directory_iterator end; !ec && it != end; it.increment(ec)) {
        std::error_code statError;
        const fs::file_type type = it->symlink_status(statError).type();
        if (statError && statError != std::errc::no_such_file_or_directory)
            unreadable.note(it->path().string(), statError.value());
        else if (type == fs::file_type::regular)
            names.push_back(it->path().filename().string());
    }
    // A folder that is not there holds nothing to set right.
    if (ec && ec != std::errc::no_such_file_or_directory)
        unreadable.note(folder, ec.value());
    return names;
}

// Runs `action` on a file no living writer holds (see withUnheldFile),
// telling when the file could not be read.
bool withUnheldFile(const std::string& path, Unreadable& unreadable, const std::function<bool()>& action)
{
    int error = 0;
    const bool done = platform::withUnheldFile(path, action, error);
    unreadable.note(path, error);
    return done;
}

// Whether the file was last written `age` seconds or more before the start;
// false, and told when it cannot be read, for a file that cannot be looked at.
bool writtenBefore(const std::string& path, std::time_t start, std::time_t age, Unreadable& unreadable)
{
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) {
        if (errno != ENOENT)
            unreadable.note(path, errno);
        return false;
    }
    return info.st_mtime <= start - age;
}

class FolderRecovery {
public:
    FolderRecovery(const std::string& folder, DatabaseConnection* rows, std::time_t start, std::int64_t claimed,
                   LostAndFound& lostAndFound)
        : folder_(folder), rows_(rows), start_(start), claimed_(claimed), lostAndFound_(lostAndFound)
    {
    }

    void run()
    {
        // Changes first: finishing one gives a data file its name back.
        for (const std::string& name : fileNames(folder_, unreadable_)) {
            std::string dataFileName;
            std::string fingerprint;
            if (rows_ && DataFileChange::parsePendingName(name, dataFileName, fingerprint)
                && !serialOf(dataFileName).empty())
                finishChange(name, dataFileName, fingerprint);
            else if (rows_ && endsWith(name, DataFileRemoval::ASIDE_MARK))
                finishRemoval(name);
            else if (isDataFileTemporary(name) && writtenAfterClaim(name) && unfinishedLongAgo(name))
                withUnheldFile(path(name), unreadable_,
                               [&] { return setAside(name, "a data file's unfinished temporary"); });
        }
        if (rows_)
            setAsideUnnamed();
    }

private:
    std::string path(const std::string& name) const { return (fs::path(folder_) / name).string(); }

    // Durable with the start's other moves.
    bool rename(const std::string& from, const std::string& to)
    {
        if (::rename(path(from).c_str(), path(to).c_str()) != 0)
            return false;
        lostAndFound_.renamedIn(path(to));
        return true;
    }

    bool setAside(const std::string& name, const std::string& why)
    {
        return lostAndFound_.setAside(path(name), why);
    }

    // A writer that lives may have made the file a moment ago and not yet
    // hold it; one that wrote it before this start and some minutes before
    // has died or given it up.
    bool unfinishedLongAgo(const std::string& name)
    {
        return writtenBefore(path(name), start_, DataFolderRecovery::UNFINISHED_FILE_AGE, unreadable_);
    }

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
        withUnheldFile(path(name), unreadable_, [&] {
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
                return unfinishedLongAgo(name) && setAside(name, "its session's row was never stored");
            if (!rename(name, dataFileName)) {
                log(path(name) + " could not become " + dataFileName + ": " + reason(errno));
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
        withUnheldFile(path(name), unreadable_, [&] {
            long long rows = 0;
            try {
                rows = rowsOf(*rows_, serial);
            } catch (const DatabaseError& error) {
                log("the row of " + path(name) + " could not be read; it stays: " + error.what());
                return false;
            }
            // Kept, not removed: the rows read here may not be the records
            // the file was stored with.
            if (rows == 0 && !writtenAfterClaim(name))
                return false;
            if (rows == 0)
                return setAside(name, "its session was deleted");
            std::error_code ec;
            if (fs::exists(fs::symlink_status(path(dataFileName), ec)))
                return setAside(name, "its session was not deleted, and has a newer data file");
            if (!rename(name, dataFileName)) {
                log(path(name) + " could not go back: " + reason(errno));
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
            serials = SessionTable::storedSerials(*rows_);
        } catch (const DatabaseError& error) {
            log("the stored sessions could not be read; no data file is set aside: " + std::string(error.what()));
            return;
        }
        for (const std::string& name : fileNames(folder_, unreadable_)) {
            const std::string serial = serialOf(name);
            if (serial.empty() || serials.count(serial) != 0)
                continue;
            if (!writtenBefore(path(name), start_, DataFolderRecovery::UNNAMED_FILE_AGE, unreadable_)
                || !writtenAfterClaim(name))
                continue;
            withUnheldFile(path(name), unreadable_, [&] { return setAside(name, "no stored session names it"); });
        }
    }

    std::string folder_;
    DatabaseConnection* rows_;
    std::time_t start_;
    std::int64_t claimed_;
    LostAndFound& lostAndFound_;
    Unreadable unreadable_;
};

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
    // One lost-and-found for the whole start, on the disk before it goes on.
    LostAndFound lostAndFound(folder);
    recoverDataFolder(folder, &theDatabase, start, owner.sweepsAfter(), lostAndFound);
    sweepUnfinishedExports(lostAndFound, start);
}

void DataFolderRecovery::recoverDataFolder(const std::string& folder, DatabaseConnection* rows, std::time_t start,
                                           std::int64_t claimed)
{
    LostAndFound lostAndFound(folder);
    recoverDataFolder(folder, rows, start, claimed, lostAndFound);
}

void DataFolderRecovery::recoverDataFolder(const std::string& folder, DatabaseConnection* rows, std::time_t start,
                                           std::int64_t claimed, LostAndFound& lostAndFound)
{
    FolderRecovery(folder, rows, start, claimed, lostAndFound).run();
}

void DataFolderRecovery::sweepUnfinishedExports(const std::string& dataFolder, std::time_t start)
{
    LostAndFound lostAndFound(dataFolder);
    sweepUnfinishedExports(lostAndFound, start);
}

void DataFolderRecovery::sweepUnfinishedExports(LostAndFound& lostAndFound, std::time_t start)
{
    Unreadable unreadable;
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
            for (const std::string& name : fileNames(folder.string(), unreadable)) {
                if (!platform::ReplacingFile::isTemporaryOf(name, base))
                    continue;
                const std::string temporary = (folder / name).string();
                left |= !writtenBefore(temporary, start, UNFINISHED_FILE_AGE, unreadable)
                        || !withUnheldFile(temporary, unreadable, [&] {
                               return lostAndFound.setAside(temporary, "an unfinished export to " + path);
                           });
            }
        }
        if (!left)
            UnfinishedExports::forget(target.name);
    }
}

bool DataFolderRecovery::setAside(const std::string& path, const std::string& dataFolder, const std::string& why)
{
    return LostAndFound(dataFolder).setAside(path, why);
}

#include "Database/stored-sessions/DataFolderOwner.h"

#include "Database/Database.h"
#include "Database/DatabaseError.h"
#include "Database/SessionRecord.h"
#include "Database/SessionTable.h"
#include "Database/stored-sessions/RecordsIdentity.h"
#include "Rodezir/LogStream.h"
#include "Rodezir/gstringUtil.h"
#include "gettext/Gettext.h"
#include "platform/MessageBox.h"

#include <filesystem>
#include <limits>
#include <set>

namespace fs = std::filesystem;

namespace {

const char* const FOREIGN_MESSAGE =
    "The data folder\n%hs\nbelongs to other training records:\n%hs\nThe training records of this station are\n%hs\n"
    "Nothing in that folder is changed, and no session is stored, deleted or imported there, until this station "
    "has a data folder of its own.";
const char* const DAMAGED_MESSAGE =
    "The data folder\n%hs\ncarries a mark of the training records it belongs to that cannot be read (%hs), so it "
    "may belong to other training records.\nThe training records of this station are\n%hs\n"
    "Nothing in that folder is changed, and no session is stored, deleted or imported there, until this station "
    "has a data folder of its own.";
const char* const UNKNOWN_MESSAGE =
    "The data folder\n%hs\nbelongs to the training records\n%hs\nThe identity of this station's training records "
    "cannot be read (%hs), so they may be other records.\n"
    "Nothing in that folder is changed, and no session is stored, deleted or imported there, until it can be read.";

std::string recordsText(const std::string& identity, const std::string& database)
{
    const std::string name = identity.empty() ? std::string("of unknown identity") : identity;
    return database.empty() ? name : name + " (" + DataFolderMark::printable(database) + ")";
}

// A line of the reason without its line end.
std::string oneLine(std::string text)
{
    while (!text.empty() && (text.back() == '\n' || text.back() == '.'))
        text.pop_back();
    return text;
}

// The data files of the folder, with what a change or a delete left beside
// them (their names start with the data file's), that the records do not
// name. Other files (the records' own SQLite file among them) are nothing a
// sweep would ever take, and are not counted.
int countUnnamed(const std::string& folder, DatabaseConnection& records)
{
    std::set<std::string> serials;
    try {
        serials = SessionTable::storedSerials(records);
    } catch (const DatabaseError&) {
    }
    int unnamed = 0;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (it->symlink_status(ec).type() != fs::file_type::regular)
            continue;
        const std::string name = it->path().filename().string();
        const std::size_t dot = name.find(".dat");
        if (dot == std::string::npos || serials.count(name.substr(0, dot)) != 0)
            continue;
        ++unnamed;
    }
    return unnamed;
}

// The log is for what went wrong: a claim is told only when it leaves files alone.
void logClaim(const DataFolderOwner::Finding& finding, DatabaseConnection& records)
{
    const int unnamed = countUnnamed(finding.folder, records);
    if (unnamed == 0)
        return;
    LogStream::instance() << "The data folder " << finding.folder << " had no mark of its records; it is now those of "
                          << recordsText(finding.records, finding.database) << ". " << unnamed
                          << " files there that these records do not name were there before, and are left as they "
                             "are: they may be another records database's.\n";
}

} // namespace

bool DataFolderOwner::Finding::permitsWriting() const
{
    return standing == Standing::Own || standing == Standing::Claimed || standing == Standing::Unclaimed;
}

std::int64_t DataFolderOwner::Finding::sweepsAfter() const
{
    if (standing == Standing::Own || standing == Standing::Claimed)
        return mark.claimed;
    return std::numeric_limits<std::int64_t>::max();
}

std::wstring DataFolderOwner::Finding::message() const
{
    const std::string mine = recordsText(records, database);
    switch (standing) {
    case Standing::Foreign:
        return formatWide(Gettext::translate(FOREIGN_MESSAGE).c_str(), cStr(folder),
                          cStr(recordsText(mark.records, mark.database)), cStr(mine));
    case Standing::Damaged:
        return formatWide(Gettext::translate(DAMAGED_MESSAGE).c_str(), cStr(folder), cStr(oneLine(reason)),
                          cStr(mine));
    case Standing::Unknown:
        return formatWide(Gettext::translate(UNKNOWN_MESSAGE).c_str(), cStr(folder),
                          cStr(recordsText(mark.records, mark.database)), cStr(oneLine(reason)));
    default:
        return {};
    }
}

std::string DataFolderOwner::Finding::logText() const
{
    const std::string mine = recordsText(records, database);
    switch (standing) {
    case Standing::Foreign:
        return "the data folder " + folder + " belongs to other records, " + recordsText(mark.records, mark.database)
               + "; this station's records are " + mine + ": nothing in it is changed";
    case Standing::Damaged:
        return "the data folder " + folder + " carries a mark that cannot be read (" + oneLine(reason)
               + "), so it may be other records'; this station's records are " + mine + ": nothing in it is changed";
    case Standing::Unknown:
        return "the data folder " + folder + " belongs to the records " + recordsText(mark.records, mark.database)
               + ", and this station's records have no identity that can be read (" + oneLine(reason)
               + "): nothing in it is changed";
    case Standing::Unclaimed:
        return "the data folder " + folder + " could not be marked as the folder of the records " + mine + " ("
               + oneLine(reason) + "): no file these records do not name is set aside";
    default:
        return {};
    }
}

DataFolderOwner::Finding DataFolderOwner::examine(const std::string& folder, DatabaseConnection& records,
                                                  bool makeIdentity)
{
    Finding finding;
    finding.folder = folder;
    try {
        finding.records = makeIdentity ? RecordsIdentity::ensure(records) : RecordsIdentity::read(records);
        if (finding.records.empty())
            finding.reason = "the records hold no identity";
    } catch (const DatabaseError& error) {
        finding.reason = error.what();
    }
    finding.database = RecordsIdentity::databaseOf(records);
    switch (DataFolderMark::read(folder, finding.mark, finding.reason)) {
    case DataFolderMark::Reading::Damaged:
        finding.standing = Standing::Damaged;
        return finding;
    case DataFolderMark::Reading::Read:
        if (finding.records.empty())
            finding.standing = Standing::Unknown;
        else
            finding.standing = finding.mark.records == finding.records ? Standing::Own : Standing::Foreign;
        return finding;
    default:
        break;
    }
    if (finding.records.empty()) {
        finding.standing = Standing::Unclaimed;
        return finding;
    }
    finding.mark.records = finding.records;
    finding.mark.database = finding.database;
    switch (DataFolderMark::claim(folder, finding.mark, finding.reason)) {
    case DataFolderMark::Reading::Made:
        finding.standing = Standing::Claimed;
        logClaim(finding, records);
        break;
    case DataFolderMark::Reading::Read:
        // Another station claimed it first.
        finding.standing = finding.mark.records == finding.records ? Standing::Own : Standing::Foreign;
        break;
    case DataFolderMark::Reading::Damaged:
        finding.standing = Standing::Damaged;
        break;
    case DataFolderMark::Reading::Missing:
        finding.standing = Standing::Unclaimed;
        break;
    }
    return finding;
}

bool DataFolderOwner::permitsWriting(std::wstring& refusal)
{
    std::string folder;
    if (!readDataFolder(folder) || !databaseOpen || !theDatabase.isOpen())
        return true;
    const Finding finding = examine(folder, theDatabase, false);
    if (finding.permitsWriting())
        return true;
    refusal = finding.message();
    LogStream::instance() << "Nothing is written: " << finding.logText() << ".\n";
    return false;
}

bool DataFolderOwner::permitsWritingOrTell()
{
    std::wstring refusal;
    if (permitsWriting(refusal))
        return true;
    platform::messageBox(refusal, caption(), platform::MB_OK | platform::MB_ICONWARNING);
    return false;
}

std::wstring DataFolderOwner::caption() { return Gettext::translate("Data folder of other training records"); }

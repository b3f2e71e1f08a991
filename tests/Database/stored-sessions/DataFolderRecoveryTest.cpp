// What a killed station left in its data folder, set right at the next
// start: changes of data files finished or set aside by whether their rows
// were committed, deletes finished or undone by whether the row is gone,
// temporaries and old data files no row names set aside into lost-and-found,
// the files of living writers and foreign names left alone, and the
// temporaries of unfinished exports swept. On SQLite and on PostgreSQL.

#include "TablesFixture.h"

#include "Database/stored-sessions/DataFileRemoval.h"
#include "Database/DatabaseTransaction.h"
#include "Database/stored-sessions/DataFileChange.h"
#include "Database/stored-sessions/DataFolderRecovery.h"
#include "Database/stored-sessions/UnfinishedExports.h"
#include "Rodezir/LogStream.h"
#include "platform/RegistryStore.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <sys/file.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// A file another program holds as a living writer does.
class Held {
public:
    explicit Held(const fs::path& path) : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC))
    {
        locked_ = fd_ >= 0 && ::flock(fd_, LOCK_EX | LOCK_NB) == 0;
    }
    ~Held() { ::close(fd_); }
    bool locked() const { return locked_; }

private:
    int fd_;
    bool locked_ = false;
};

class DataFolderRecoveryTest : public TablesFixture {
protected:
    void SetUp() override
    {
        TablesFixture::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        LogStream::destroy();
        data = makeDataFolder();
    }
    void TearDown() override
    {
        LogStream::destroy();
        TablesFixture::TearDown();
    }

    void storeRow(const std::string& serial, const std::string& note)
    {
        SessionRecord record;
        record.Serialidentifier = serial;
        record.Note = note;
        record.Done = true;
        record.CompDepth = 51.3;
        record.InterfaceFrequency = 1.0 / 3.0;
        addSessionRow(record);
    }
    // The name a change of the serial's data file has when its transaction
    // leaves the rows as `change` makes them; committed or rolled back.
    std::string pendingName(const std::string& serial, const std::function<void()>& change, bool commit)
    {
        DatabaseTransaction transaction(theDatabase);
        change();
        const std::string name = serial + ".dat" + std::string(DataFileChange::PENDING_MARK)
                                 + DataFileChange::rowsFingerprint(theDatabase, serial);
        if (commit)
            transaction.commit();
        return name;
    }
    void put(const std::string& name, const std::string& contents, int hoursOld = 0)
    {
        kovatest::writeFile(data / name, contents);
        fs::last_write_time(data / name, fs::file_time_type::clock::now() - std::chrono::hours(hoursOld));
    }
    std::map<std::string, std::string> files(const fs::path& folder) const
    {
        std::map<std::string, std::string> found;
        for (const auto& entry : fs::directory_iterator(folder))
            if (entry.is_regular_file())
                found[entry.path().filename().string()] = kovatest::readFile(entry.path());
        return found;
    }
    std::string log() const { return kovatest::readFile(LogStream::instance().path()); }

    fs::path data;
};

TEST_F(DataFolderRecoveryTest, everyLeftoverIsFinishedOrSetAsideAndLivingWritersAreLeftAlone)
{
    // A re-store whose row was committed, and one whose row was not.
    storeRow("committed00001", "old note");
    put("committed00001.dat", "old file");
    put(pendingName("committed00001", [&] {
            exec("UPDATE \"Session\" SET \"Note\" = 'new note' WHERE \"Serialidentifier\" = 'committed00001'");
        }, true),
        "new file");
    storeRow("rolledback0001", "old note");
    put("rolledback0001.dat", "old file");
    put(pendingName("rolledback0001", [&] {
            exec("UPDATE \"Session\" SET \"Note\" = 'new note' WHERE \"Serialidentifier\" = 'rolledback0001'");
        }, false),
        "new file");
    // A first store (and import) killed before its row came, and one after.
    put(pendingName("neverstored001", [&] { storeRow("neverstored001", "new"); }, false), "unstored file");
    put(pendingName("newlystored001", [&] { storeRow("newlystored001", "new"); }, true), "stored file");
    // Deletes killed before and after their row went.
    storeRow("keptrow0000001", "kept");
    put("keptrow0000001.dat.removing", "kept file");
    put("deletedrow0001.dat.removing", "deleted file");
    storeRow("keptandnewer01", "kept");
    put("keptandnewer01.dat", "newer file");
    put("keptandnewer01.dat.removing", "older file");
    // Temporaries of killed writers, data files no row names, a living
    // writer's temporary, and names that are not the station's.
    put("keptrow0000001.dat.tmpA1b2C3", "half a file");
    put("orphan00000001.dat", "an old orphan", 2);
    put("orphan00000002.dat", "a new orphan");
    put("committed00001.dat.tmpLive01", "being written");
    const Held writer(data / "committed00001.dat.tmpLive01");
    ASSERT_TRUE(writer.locked());
    const std::map<std::string, std::string> foreign = {
        {"kovacpr.db-journal", "journal"}, {"notes.txt", "notes"}, {"x.dat.tmp.bak", "backup"}};
    for (const auto& [name, contents] : foreign)
        put(name, contents, 2);

    DataFolderRecovery::recoverDataFolder(data.string(), &theDatabase, std::time(nullptr));

    std::map<std::string, std::string> expected = foreign;
    expected.insert({{"committed00001.dat", "new file"},
                     {"rolledback0001.dat", "old file"},
                     {"newlystored001.dat", "stored file"},
                     {"keptrow0000001.dat", "kept file"},
                     {"keptandnewer01.dat", "newer file"},
                     {"orphan00000002.dat", "a new orphan"},
                     {"committed00001.dat.tmpLive01", "being written"}});
    EXPECT_EQ(files(data), expected);
    const std::map<std::string, std::string> setAside = files(data / DataFolderRecovery::LOST_AND_FOUND);
    std::multiset<std::string> contents;
    for (const auto& [name, text] : setAside)
        contents.insert(text);
    EXPECT_EQ(contents, (std::multiset<std::string>{"new file", "unstored file", "older file", "half a file",
                                                   "an old orphan"}));
    // One line a file.
    const std::string text = log();
    std::size_t lines = 0;
    for (std::size_t at = text.find("Start-up: "); at != std::string::npos; at = text.find("Start-up: ", at + 1))
        ++lines;
    EXPECT_EQ(lines, 9u) << text;
    for (const char* step : {"became committed00001.dat", "became newlystored001.dat",
                             "went back to keptrow0000001.dat", "deletedrow0001.dat.removing removed", "set aside as"})
        EXPECT_NE(text.find(step), std::string::npos) << step;
}

TEST_F(DataFolderRecoveryTest, withoutTheRecordsOnlyTemporariesAreSetAside)
{
    storeRow("committed00001", "note");
    const std::string pending = pendingName("committed00001", [] {}, true);
    put(pending, "new file");
    put("committed00001.dat.removing", "aside");
    put("orphan00000001.dat", "an old orphan", 2);
    put("committed00001.dat.tmpA1b2C3", "half a file");

    DataFolderRecovery::recoverDataFolder(data.string(), nullptr, std::time(nullptr));

    EXPECT_EQ(files(data), (std::map<std::string, std::string>{{pending, "new file"},
                                                               {"committed00001.dat.removing", "aside"},
                                                               {"orphan00000001.dat", "an old orphan"}}));
    EXPECT_EQ(files(data / DataFolderRecovery::LOST_AND_FOUND),
              (std::map<std::string, std::string>{{"committed00001.dat.tmpA1b2C3", "half a file"}}));
}

TEST_F(DataFolderRecoveryTest, theTemporariesOfUnfinishedExportsAreSweptAndTheExportForgotten)
{
    const fs::path exports = folder.path() / "exports";
    fs::create_directories(exports);
    const fs::path target = exports / "course.sdb";
    kovatest::writeFile(target, "an earlier export");
    kovatest::writeFile(exports / "course.sdb.tmpQ1w2E3", "half an export");
    kovatest::writeFile(exports / "other.sdb.tmpQ1w2E3", "not this export's");
    {
        const UnfinishedExports::During exporting(target.string());
        const auto listed = UnfinishedExports::list();
        ASSERT_EQ(listed.size(), 1u);
        EXPECT_EQ(listed[0].path, target.string());
    }
    EXPECT_TRUE(UnfinishedExports::list().empty()) << "an export that ended forgets its target";
    // A killed one never did.
    platform::RegistryStore::instance().setString(platform::RegistryRoot::User, UnfinishedExports::KEY, "4242-1",
                                                  target.string());

    DataFolderRecovery::sweepUnfinishedExports(data.string());

    EXPECT_EQ(files(exports), (std::map<std::string, std::string>{{"course.sdb", "an earlier export"},
                                                                  {"other.sdb.tmpQ1w2E3", "not this export's"}}));
    EXPECT_EQ(files(data / DataFolderRecovery::LOST_AND_FOUND),
              (std::map<std::string, std::string>{{"course.sdb.tmpQ1w2E3", "half an export"}}));
    EXPECT_TRUE(UnfinishedExports::list().empty());
}

} // namespace

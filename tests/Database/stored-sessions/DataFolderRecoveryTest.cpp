// What a killed station left in its data folder, set right at the next
// start: changes of data files finished or set aside by whether their rows
// were committed, deletes finished or undone by whether the row is gone,
// temporaries and old data files no row names set aside into lost-and-found
// (and only into a folder of the station's own), the files of living writers
// (also of those that made them a moment ago) and foreign names left alone,
// unreadable files told, and the temporaries of unfinished exports swept. On
// SQLite and on PostgreSQL.

#include "TablesFixture.h"

#include "Database/stored-sessions/DataFileRemoval.h"
#include "Database/DatabaseTransaction.h"
#include "Database/stored-sessions/DataFileChange.h"
#include "Database/stored-sessions/DataFolderRecovery.h"
#include "Database/stored-sessions/UnfinishedExports.h"
#include "Rodezir/LogStream.h"
#include "platform/RegistryStore.h"
#include "platform/ReplacingFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <map>
#include <sstream>
#include <set>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

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
    // The lines of the log that hold `text`.
    std::vector<std::string> logLines(const std::string& text) const
    {
        std::vector<std::string> found;
        std::istringstream lines(log());
        for (std::string line; std::getline(lines, line);)
            if (line.find(text) != std::string::npos)
                found.push_back(line);
        return found;
    }

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
        "new file", 1);
    // A first store (and import) killed before its row came, and one after.
    put(pendingName("neverstored001", [&] { storeRow("neverstored001", "new"); }, false), "unstored file", 1);
    put(pendingName("newlystored001", [&] { storeRow("newlystored001", "new"); }, true), "stored file");
    // Deletes killed before and after their row went: a start-up removes
    // nothing, not even a file whose row is gone.
    storeRow("keptrow0000001", "kept");
    put("keptrow0000001.dat.removing", "kept file");
    put("deletedrow0001.dat.removing", "deleted file");
    storeRow("keptandnewer01", "kept");
    put("keptandnewer01.dat", "newer file");
    put("keptandnewer01.dat.removing", "older file");
    // Temporaries of killed writers, data files no row names, a living
    // writer's temporary, and names that are not the station's.
    put("keptrow0000001.dat.tmpA1b2C3", "half a file", 1);
    put("orphan00000001.dat", "an old orphan", 2);
    put("orphan00000002.dat", "a new orphan");
    put("committed00001.dat.tmpLive01", "being written", 1);
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
                                                   "an old orphan", "deleted file"}));
    // One line a file.
    const std::string text = log();
    std::size_t lines = 0;
    for (std::size_t at = text.find("Start-up: "); at != std::string::npos; at = text.find("Start-up: ", at + 1))
        ++lines;
    EXPECT_EQ(lines, 9u) << text;
    const std::string deleted = "deletedrow0001.dat.removing set aside as "
                                + (data / DataFolderRecovery::LOST_AND_FOUND / "deletedrow0001.dat.removing").string()
                                + ": its session was deleted";
    for (const std::string& step : {std::string("became committed00001.dat"), std::string("became newlystored001.dat"),
                                    std::string("went back to keptrow0000001.dat"), deleted})
        EXPECT_NE(text.find(step), std::string::npos) << step;
}

TEST_F(DataFolderRecoveryTest, withoutTheRecordsOnlyTemporariesAreSetAside)
{
    storeRow("committed00001", "note");
    const std::string pending = pendingName("committed00001", [] {}, true);
    put(pending, "new file");
    put("committed00001.dat.removing", "aside");
    put("orphan00000001.dat", "an old orphan", 2);
    put("committed00001.dat.tmpA1b2C3", "half a file", 1);

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
    fs::last_write_time(exports / "course.sdb.tmpQ1w2E3", fs::file_time_type::clock::now() - std::chrono::hours(1));
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

    DataFolderRecovery::sweepUnfinishedExports(data.string(), std::time(nullptr));

    EXPECT_EQ(files(exports), (std::map<std::string, std::string>{{"course.sdb", "an earlier export"},
                                                                  {"other.sdb.tmpQ1w2E3", "not this export's"}}));
    EXPECT_EQ(files(data / DataFolderRecovery::LOST_AND_FOUND),
              (std::map<std::string, std::string>{{"course.sdb.tmpQ1w2E3", "half an export"}}));
    EXPECT_TRUE(UnfinishedExports::list().empty());
}

TEST_F(DataFolderRecoveryTest, aLostAndFoundThatIsNoFolderOfTheStationsOwnIsNeverUsed)
{
    const fs::path outside = folder.path() / "outside";
    fs::create_directories(outside);
    struct Case {
        const char* what;
        std::function<void(const fs::path&)> make;
        const char* why;
    };
    const std::vector<Case> cases = {
        {"a link to a folder outside", [&](const fs::path& at) { fs::create_directory_symlink(outside, at); },
         "symbolic link"},
        {"a plain file", [](const fs::path& at) { kovatest::writeFile(at, "not a folder"); }, "not a folder"},
        {"another user's folder",
         [](const fs::path& at) {
             fs::create_directory(at);
             if (::chown(at.c_str(), ::geteuid() + 1, ::getegid()) != 0)
                 fs::remove(at);
         },
         "belongs to another user"},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i].what);
        const fs::path stations = folder.path() / ("data" + std::to_string(i));
        fs::create_directories(stations);
        const fs::path lostAndFound = stations / DataFolderRecovery::LOST_AND_FOUND;
        cases[i].make(lostAndFound);
        if (!fs::exists(fs::symlink_status(lostAndFound)))
            continue; // no other user's folder without the right to give it away
        const std::map<std::string, std::string> strays = {
            {"stray00000001.dat.tmpA1b2C3", "a temporary"},
            {"stray00000002.dat", "an old orphan"},
            {"stray00000003.dat.pending-0123456789abcdef", "a change never stored"}};
        for (const auto& [name, contents] : strays) {
            kovatest::writeFile(stations / name, contents);
            fs::last_write_time(stations / name, fs::file_time_type::clock::now() - std::chrono::hours(2));
        }

        DataFolderRecovery::recoverDataFolder(stations.string(), &theDatabase, std::time(nullptr));

        EXPECT_TRUE(fs::is_empty(outside));
        std::map<std::string, std::string> left = files(stations);
        left.erase(DataFolderRecovery::LOST_AND_FOUND);
        EXPECT_EQ(left, strays);
        const std::vector<std::string> told = logLines(lostAndFound.string());
        ASSERT_EQ(told.size(), 1u) << log();
        EXPECT_NE(told[0].find("nothing is set aside"), std::string::npos) << told[0];
        EXPECT_NE(told[0].find(cases[i].why), std::string::npos) << told[0];
    }
}

TEST_F(DataFolderRecoveryTest, whatAWriterMadeAMomentAgoIsLeftToItUntilLongAfter)
{
    // Made, and not yet locked by their writers: a temporary, a change whose
    // row is not committed yet, and an export's temporary.
    put("fresh000000001.dat.tmpA1b2C3", "being written");
    const std::string pending = pendingName("fresh000000002", [&] { storeRow("fresh000000002", "new"); }, false);
    put(pending, "being stored");
    const fs::path target = folder.path() / "course.sdb";
    kovatest::writeFile(folder.path() / "course.sdb.tmpQ1w2E3", "being exported");
    platform::RegistryStore::instance().setString(platform::RegistryRoot::User, UnfinishedExports::KEY, "4242-1",
                                                  target.string());
    const std::time_t now = std::time(nullptr);

    DataFolderRecovery::recoverDataFolder(data.string(), &theDatabase, now);
    DataFolderRecovery::sweepUnfinishedExports(data.string(), now);

    EXPECT_EQ(files(data), (std::map<std::string, std::string>{{"fresh000000001.dat.tmpA1b2C3", "being written"},
                                                               {pending, "being stored"}}));
    EXPECT_TRUE(fs::exists(folder.path() / "course.sdb.tmpQ1w2E3"));
    EXPECT_EQ(UnfinishedExports::list().size(), 1u);
    EXPECT_FALSE(fs::exists(data / DataFolderRecovery::LOST_AND_FOUND));

    // A start some minutes on finds them given up.
    const std::time_t later = now + DataFolderRecovery::UNFINISHED_FILE_AGE + 1;
    DataFolderRecovery::recoverDataFolder(data.string(), &theDatabase, later);
    DataFolderRecovery::sweepUnfinishedExports(data.string(), later);

    EXPECT_TRUE(files(data).empty());
    EXPECT_EQ(files(data / DataFolderRecovery::LOST_AND_FOUND).size(), 3u);
    EXPECT_TRUE(UnfinishedExports::list().empty());
}

// Stores in other processes whose lock comes a millisecond after their
// temporary (a loaded machine, a network folder), while another station's
// start-up sweeps the folder over and over: every store gets its file.
TEST_F(DataFolderRecoveryTest, storesWhoseLockComesLateAreNeverTakenByAnotherStationsStart)
{
    constexpr int WRITERS = 4;
    constexpr int STORES = 60;
    for (const bool namedAtOnce : {false, true}) {
        SCOPED_TRACE(namedAtOnce ? "temporaries named at once" : "temporaries named once locked");
        std::vector<pid_t> writers;
        for (int writer = 0; writer < WRITERS; ++writer) {
            const pid_t child = ::fork();
            ASSERT_GE(child, 0);
            if (child != 0) {
                writers.push_back(child);
                continue;
            }
            platform::ReplacingFile::setTestSeam({[] { ::usleep(1000); }, namedAtOnce});
            int failed = 0;
            for (int store = 0; store < STORES; ++store) {
                const std::string file = (data / ("w" + std::to_string(namedAtOnce) + std::to_string(writer) + "s"
                                                  + std::to_string(store) + ".dat"))
                                             .string();
                // As a data file's change goes: a temporary, named after its
                // rows, then given the file's name.
                platform::ReplacingFile change(file);
                const bool stored = change.open() && change.write("stored", 6) && change.finish()
                                    && change.stageAs(file + std::string(DataFileChange::PENDING_MARK)
                                                      + "0123456789abcdef")
                                    && change.commit();
                failed += stored ? 0 : 1;
            }
            ::_exit(failed > 0 ? 1 : 0);
        }
        int sweeps = 0;
        for (std::size_t finished = 0; finished < writers.size();) {
            DataFolderRecovery::recoverDataFolder(data.string(), &theDatabase, std::time(nullptr));
            ++sweeps;
            finished = 0;
            for (const pid_t writer : writers)
                finished += ::waitpid(writer, nullptr, WNOHANG) == 0 ? 0 : 1;
        }
        EXPECT_GT(sweeps, 1);
        for (int writer = 0; writer < WRITERS; ++writer)
            for (int store = 0; store < STORES; ++store) {
                const std::string name =
                    "w" + std::to_string(namedAtOnce) + std::to_string(writer) + "s" + std::to_string(store) + ".dat";
                EXPECT_EQ(kovatest::readFile(data / name), "stored") << name;
            }
        EXPECT_FALSE(fs::exists(data / DataFolderRecovery::LOST_AND_FOUND));
    }
}

// Run by a user the file's permissions bind (root gives its child another
// user's rights), a sweep tells the file it cannot read and goes on.
TEST_F(DataFolderRecoveryTest, aFileThatCannotBeReadIsToldOnceAndStays)
{
    const fs::path station = folder.path() / "station";
    fs::create_directories(station);
    for (const fs::path& open : {folder.path(), data, station})
        fs::permissions(open, fs::perms::all);
    const std::string unreadable = "unread00000001.dat.tmpA1b2C3";
    const std::string readable = "readable000001.dat.tmpA1b2C3";
    put(unreadable, "kept from the station", 2);
    put(readable, "half a file", 2);
    fs::permissions(data / unreadable, fs::perms::none);
    fs::permissions(data / readable, fs::perms::all);
    LogStream::destroy();

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(77);
        if (::access((data / unreadable).c_str(), R_OK) == 0 || ::chdir(station.c_str()) != 0)
            ::_exit(77);
        DataFolderRecovery::recoverDataFolder(data.string(), nullptr, std::time(nullptr));
        LogStream::destroy();
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 77)
        GTEST_SKIP() << "no user here whose rights a file's permissions bind";
    ASSERT_EQ(WEXITSTATUS(status), 0);

    const std::string text = kovatest::readFile(station / "errors.txt");
    std::vector<std::string> told;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);)
        if (line.find((data / unreadable).string()) != std::string::npos)
            told.push_back(line);
    ASSERT_EQ(told.size(), 1u) << text;
    EXPECT_EQ(told[0], "Start-up: " + (data / unreadable).string() + " could not be read; it stays: Permission denied");
    fs::permissions(data / unreadable, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(files(data), (std::map<std::string, std::string>{{unreadable, "kept from the station"}}));
    EXPECT_EQ(files(data / DataFolderRecovery::LOST_AND_FOUND),
              (std::map<std::string, std::string>{{readable, "half a file"}}));
}

} // namespace

// Which records a data folder belongs to: two stations whose records are two
// databases on one data folder, a station moved to a new database over its
// old folder, an unmarked folder holding another database's files, and a
// damaged mark. The folder's files stay whole and untouched by the records
// it does not belong to, and every write of those is refused with the
// message. Station one runs on the test's data source (SQLite, or the shared
// PostgreSQL server), the other stations on SQLite files of their own.

#include "TablesFixture.h"

#include "Database/DatabaseTransaction.h"
#include "Database/stored-sessions/DataFileChange.h"
#include "Database/stored-sessions/DataFolderMark.h"
#include "Database/stored-sessions/DataFolderOwner.h"
#include "Database/stored-sessions/DataFolderRecovery.h"
#include "Database/stored-sessions/RecordsIdentity.h"
#include "Rodezir/LogStream.h"
#include "Rodezir/gstringUtil.h"
#include "platform/ReplacingFile.h"

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <filesystem>
#include <map>
#include <thread>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr std::time_t HOUR = 60 * 60;

class DataFolderOwnerTest : public TablesFixture {
protected:
    void SetUp() override
    {
        TablesFixture::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        LogStream::destroy();
        data = makeDataFolder();
        stationOne = RecordsIdentity::read(theDatabase);
        ASSERT_TRUE(RecordsIdentity::isIdentity(stationOne)) << "the schema draws the records' identity";
    }
    void TearDown() override
    {
        LogStream::destroy();
        TablesFixture::TearDown();
    }

    // A records database of another station: an SQLite file of its own.
    std::string otherRecords(const std::string& name)
    {
        const std::string file = folder.file(name);
        DatabaseConnection setup;
        EXPECT_TRUE(setup.open("Driver=SQLite3;Database=" + file)) << setup.lastError();
        for (const auto& statement : schemaStatements("sqlite"))
            setup.execute(statement);
        return file;
    }
    // A start of the station on its records: station one with `file` empty.
    void start(const std::string& file, std::time_t at = std::time(nullptr))
    {
        theDatabase.close();
        databaseOpen = false;
        // The driver manager keeps what it read of the data sources for a
        // while, so the other stations connect to their file straight away.
        if (file.empty()) {
            openRecords();
        } else {
            ASSERT_TRUE(theDatabase.open("Driver=SQLite3;Database=" + file + ";Timeout=5000")) << theDatabase.lastError();
            databaseOpen = true;
        }
        DataFolderRecovery::run(at);
    }
    static void storeRow(const std::string& serial)
    {
        SessionRecord record;
        record.Serialidentifier = serial;
        record.Done = true;
        addSessionRow(record);
    }
    // A session stored as the station stores one, when its data folder takes it.
    bool store(const std::string& serial, const std::string& note)
    {
        std::wstring refusal;
        if (!DataFolderOwner::permitsWriting(refusal))
            return false;
        SessionRecord record;
        record.Serialidentifier = serial;
        record.Note = note;
        record.Done = true;
        DataFileChange file(record.dataFileName().value());
        DatabaseTransaction whole(theDatabase);
        addSessionRow(record);
        std::string reason;
        if (!file.open() || !platform::writeAll(file.fd(), note.data(), note.size()) || !file.finishWriting()
            || !file.bindToRows(theDatabase, serial, reason))
            return false;
        whole.commit();
        return file.commit();
    }
    void put(const std::string& name, const std::string& contents, std::time_t age = 0)
    {
        kovatest::writeFile(data / name, contents);
        fs::last_write_time(data / name, fs::file_time_type::clock::now() - std::chrono::seconds(age));
    }
    // Every file of the data folder and its lost-and-found but the mark.
    std::map<std::string, std::string> files() const
    {
        std::map<std::string, std::string> found;
        for (const auto& entry : fs::recursive_directory_iterator(data))
            if (entry.is_regular_file() && entry.path().filename() != DataFolderMark::FILE_NAME)
                found[fs::relative(entry.path(), data).string()] = kovatest::readFile(entry.path());
        return found;
    }
    std::string log() const { return kovatest::readFile(LogStream::instance().path()); }
    std::wstring refusal()
    {
        std::wstring text;
        EXPECT_FALSE(DataFolderOwner::permitsWriting(text));
        return text;
    }
    static bool holds(const std::wstring& text, const std::string& part)
    {
        return text.find(toWide(part)) != std::wstring::npos;
    }

    fs::path data;
    std::string stationOne;
};

// The scenario: station one's records name old data files and a
// data file its delete moved aside; the other station, started first on its
// own records over the same folder, must take none of them.
TEST_F(DataFolderOwnerTest, twoDatabasesOnOneFolderKeepEachOthersFilesWhole)
{
    for (const char* serial : {"aaaaaaaaaaaaa1", "aaaaaaaaaaaaa2", "aaaaaaaaaaaaa3"}) {
        storeRow(serial);
        put(std::string(serial) + ".dat", std::string("one's ") + serial, 2 * HOUR);
    }
    // Moved aside by a delete killed before the row went.
    storeRow("aaaaaaaaaaaaa4");
    put("aaaaaaaaaaaaa4.dat.removing", "one's kept", 2 * HOUR);
    const std::string other = otherRecords("other.db");
    std::map<std::string, std::string> expected = files();

    // The other station comes first and claims the unmarked folder.
    start(other);
    const std::string stationTwo = RecordsIdentity::read(theDatabase);
    ASSERT_NE(stationTwo, stationOne);
    ASSERT_TRUE(store("bbbbbbbbbbbbb1", "two's session"));
    expected["bbbbbbbbbbbbb1.dat"] = "two's session";
    for (int round = 0; round < 3; ++round) {
        asker.asked.clear();
        start("");
        EXPECT_EQ(files(), expected) << "round " << round;
        ASSERT_EQ(asker.asked.size(), 1u) << "round " << round;
        const std::wstring message = asker.asked[0].text;
        EXPECT_EQ(asker.asked[0].caption, L"Data folder of other training records");
        for (const std::string& part : {data.string(), stationOne, stationTwo, std::string("SQLite")})
            EXPECT_TRUE(holds(message, part)) << part << " in " << toNarrow(message);
        EXPECT_EQ(refusal(), message) << "station one's stores are refused with the message";
        EXPECT_EQ(count("Session"), 4);

        asker.asked.clear();
        start(other);
        EXPECT_EQ(files(), expected) << "round " << round;
        EXPECT_TRUE(asker.asked.empty());
        EXPECT_EQ(count("Session"), 1);
    }
    EXPECT_NE(log().find("the data folder " + data.string() + "/ belongs to other records, " + stationTwo),
              std::string::npos)
        << log();
    EXPECT_FALSE(fs::exists(data / DataFolderRecovery::LOST_AND_FOUND));
}

TEST_F(DataFolderOwnerTest, aStationMovedToANewDatabaseOverItsOldFolderChangesNothingThere)
{
    start("");
    ASSERT_TRUE(store("aaaaaaaaaaaaa1", "one's session"));
    // Left by a delete killed after its row went, and a store killed before
    // its row came, after the claim.
    put("aaaaaaaaaaaaa2.dat.removing", "one's deleted");
    put("aaaaaaaaaaaaa3.dat", "one's unnamed", 2 * HOUR);
    const std::map<std::string, std::string> before = files();

    const std::string moved = otherRecords("new.db");
    for (int round = 0; round < 2; ++round) {
        asker.asked.clear();
        start(moved, std::time(nullptr) + 2 * HOUR);
        EXPECT_EQ(files(), before);
        ASSERT_EQ(asker.asked.size(), 1u);
        EXPECT_TRUE(holds(asker.asked[0].text, stationOne));
        EXPECT_FALSE(store("ccccccccccccc1", "new session"));
        EXPECT_EQ(count("Session"), 0);
    }
}

// The first start after an upgrade, over files of another database: the
// folder becomes these records', and only what is written after that is
// theirs to sweep.
TEST_F(DataFolderOwnerTest, anUnmarkedFolderIsClaimedAndWhatItHeldBeforeIsLeftAlone)
{
    storeRow("aaaaaaaaaaaaa1");
    put("aaaaaaaaaaaaa1.dat", "own");
    const std::map<std::string, std::string> foreign = {
        {"fffffffffffff1.dat", "another's session"},
        {"fffffffffffff2.dat.removing", "another's delete"},
        {"fffffffffffff3.dat.pending-0123456789abcdef", "another's store"},
        {"fffffffffffff4.dat.tmpA1b2C3", "another's temporary"},
    };
    for (const auto& [name, contents] : foreign)
        put(name, contents, 3 * HOUR);
    std::map<std::string, std::string> expected = foreign;
    expected["aaaaaaaaaaaaa1.dat"] = "own";
    // A SQLite station keeps its records file in the data folder: no data
    // file, nothing a sweep would take, so not one of those left alone.
    put("kovacpr.db", "the records", 3 * HOUR);
    expected["kovacpr.db"] = "the records";

    for (int round = 0; round < 3; ++round) {
        start("", std::time(nullptr) + round * 2 * HOUR);
        EXPECT_EQ(files(), expected) << "round " << round;
    }
    EXPECT_TRUE(asker.asked.empty());
    EXPECT_NE(log().find("4 files there that these records do not name were there before, and are left as they are"),
              std::string::npos)
        << log();

    DataFolderMark mark;
    std::string reason;
    ASSERT_EQ(DataFolderMark::read(data.string(), mark, reason), DataFolderMark::Reading::Read);
    EXPECT_EQ(mark.records, stationOne);
    // Strays written after the claim are the records' own.
    put("eeeeeeeeeeeee1.dat", "stray after the claim");
    put("eeeeeeeeeeeee2.dat.tmpQ1w2E3", "temporary after the claim");
    for (const char* name : {"eeeeeeeeeeeee1.dat", "eeeeeeeeeeeee2.dat.tmpQ1w2E3"})
        fs::last_write_time(data / name, fs::file_time_type::clock::now() + 2s);
    start("", std::time(nullptr) + 2 * HOUR);
    expected["lost-and-found/eeeeeeeeeeeee1.dat"] = "stray after the claim";
    expected["lost-and-found/eeeeeeeeeeeee2.dat.tmpQ1w2E3"] = "temporary after the claim";
    EXPECT_EQ(files(), expected);
}

TEST_F(DataFolderOwnerTest, aDamagedMarkCountsAsOtherRecords)
{
    const std::pair<const char*, std::string> marks[] = {
        {"empty", ""},
        {"cut short", "Kova CPR data folder\nrecords=" + stationOne + "\n"},
        {"not an identity", "Kova CPR data folder\nrecords=../../x\ndatabase=\nclaimed=1\n"},
        {"binary", std::string("\0\xff\x01records=", 11)},
    };
    put("fffffffffffff1.dat", "a stray", 2 * HOUR);
    for (const auto& [what, bytes] : marks) {
        put(DataFolderMark::FILE_NAME, bytes);
        asker.asked.clear();
        start("", std::time(nullptr) + 2 * HOUR);
        EXPECT_EQ(files(), (std::map<std::string, std::string>{{"fffffffffffff1.dat", "a stray"}})) << what;
        ASSERT_EQ(asker.asked.size(), 1u) << what;
        EXPECT_TRUE(holds(asker.asked[0].text, "cannot be read")) << what;
        EXPECT_TRUE(holds(asker.asked[0].text, stationOne)) << what;
        EXPECT_FALSE(store("aaaaaaaaaaaaa1", "refused")) << what;
        EXPECT_EQ(kovatest::readFile(data / DataFolderMark::FILE_NAME), bytes) << what << ": the mark stays";
    }
}

// A database made before identities gets one at the first start; stations
// that start at the same moment on one server all read the same one.
TEST_F(DataFolderOwnerTest, stationsStartingTogetherOnRecordsWithoutIdentityMakeOne)
{
    exec("DROP TABLE \"RecordsIdentity\"");
    constexpr int STATIONS = 6;
    std::vector<std::string> identities(STATIONS);
    {
        std::vector<std::jthread> stations;
        for (int i = 0; i < STATIONS; ++i)
            stations.emplace_back([&identities, i] {
                DatabaseConnection records;
                if (records.open("DSN=kovacpr"))
                    identities[static_cast<std::size_t>(i)] = RecordsIdentity::ensure(records);
            });
    }
    ASSERT_TRUE(RecordsIdentity::isIdentity(identities[0]));
    for (const std::string& identity : identities)
        EXPECT_EQ(identity, identities[0]);
    EXPECT_EQ(count("RecordsIdentity"), 1);
    EXPECT_EQ(RecordsIdentity::read(theDatabase), identities[0]);
}

} // namespace

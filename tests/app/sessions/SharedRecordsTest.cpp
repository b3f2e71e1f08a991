// Stations of one training centre that share their records on the throwaway
// PostgreSQL server: two station processes storing at once from one seed,
// a session stored on one station opened on another with and without a
// shared data folder, sessions exported on one station and imported on the
// other, and a server that goes away and comes back (a server of the tests'
// own, stopped and started by tests/Database/pg-cluster).

#include "OwnServerFixture.h"
#include "SessionRecordsFixture.h"

#include "Database/DBUtil.h"
#include "Database/SessionTable.h"
#include "Database/export-import/SessionExchange.h"
#include "Database/stored-sessions/SessionSearch.h"
#include "Rodezir/LogStream.h"
#include "Rodezir/gstringUtil.h"
#include "RunProgram.h"
#include "SessionTestKit.h"
#include "TempDir.h"
#include "app/sessions/SessionRowStore.h"
#include "platform/FileDialog.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <deque>
#include <future>
#include <set>
#include <sstream>

namespace fs = std::filesystem;
using namespace sessiontest;

namespace {

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> all;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        all.push_back(line);
    return all;
}

long long millisecondsFromNow(int delay)
{
    const auto at = std::chrono::system_clock::now() + std::chrono::milliseconds(delay);
    return std::chrono::duration_cast<std::chrono::milliseconds>(at.time_since_epoch()).count();
}

class SharedRecords : public SessionRecordsFixture {
protected:
    void SetUp() override
    {
        SessionRecordsFixture::SetUp();
        if (!IsSkipped() && !HasFatalFailure() && !onPostgresql())
            GTEST_SKIP() << "the stations share a PostgreSQL server";
    }

    // The station process storing `count` sessions; its registry (and so
    // its data folder) is this station's unless another is given.
    kovatest::ProgramRun station(std::uint32_t seed, int count, const std::string& name, long long startAt,
                                 const std::string& registry = {})
    {
        return kovatest::runProgram(KOVA_SHARED_RECORDS_STATION,
                                    {std::to_string(seed), std::to_string(count), name, std::to_string(startAt),
                                     registry.empty() ? folder.file("registry") : registry});
    }
    // A registry of another station whose data folder is `data`.
    std::string otherStation(const fs::path& data)
    {
        const std::string registry = folder.file("other registry");
        fs::create_directories(data);
        setenv("KOVA_REGISTRY_DIR", registry.c_str(), 1);
        setMachineString("Data Folder", data.string());
        setenv("KOVA_REGISTRY_DIR", folder.file("registry").c_str(), 1);
        return registry;
    }

    std::vector<SessionRecord> rows()
    {
        std::vector<SessionRecord> all;
        SessionTable table(theDatabase);
        table.open("");
        for (DBUtil::moveFirst(table); table.isCursorOpen() && !table.isEOF(); DBUtil::moveNext(table))
            all.push_back(table.getRecord());
        return all;
    }
    // The stored session as the session dialog opens it on this station.
    std::unique_ptr<Session> opened(SessionRecord record)
    {
        record.Manikin = -1;
        return std::make_unique<Session>(record, AlgorithmRecord{});
    }

    ScopedFakeWindows windows;
};

TEST_F(SharedRecords, twoStationsStartedTogetherWithOneSeedStoreEverySessionOnce)
{
    constexpr int SESSIONS = 150;
    const long long startAt = millisecondsFromNow(1500);
    auto first = std::async(std::launch::async, [&] { return station(4711, SESSIONS, "A", startAt); });
    auto second = std::async(std::launch::async, [&] { return station(4711, SESSIONS, "B", startAt); });
    const kovatest::ProgramRun a = first.get();
    const kovatest::ProgramRun b = second.get();
    EXPECT_EQ(a.exitCode, 0) << a.errors;
    EXPECT_EQ(b.exitCode, 0) << b.errors;

    std::set<std::string> told;
    for (const std::string& serial : lines(a.output + b.output))
        told.insert(serial);
    std::set<std::string> notes;
    std::set<std::string> serials;
    for (const SessionRecord& row : rows()) {
        notes.insert(row.Note);
        serials.insert(row.Serialidentifier);
        const fs::path file = dataFolder / (row.Serialidentifier + ".dat");
        ASSERT_TRUE(fs::exists(file)) << file;
        EXPECT_TRUE(kovatest::readFile(file).ends_with("recommendations:\n" + row.Note + "\n"))
            << row.Serialidentifier << " holds the data of another session than " << row.Note;
    }
    EXPECT_EQ(rows().size(), 2u * SESSIONS);
    EXPECT_EQ(serials.size(), 2u * SESSIONS);
    EXPECT_EQ(notes.size(), 2u * SESSIONS);
    EXPECT_EQ(told, serials);
    // The data files, and the folder's mark of the records it belongs to.
    EXPECT_EQ(std::distance(fs::directory_iterator(dataFolder), fs::directory_iterator()), 2 * SESSIONS + 1);
    EXPECT_TRUE(fs::exists(dataFolder / DataFolderMark::FILE_NAME));
}

TEST_F(SharedRecords, aSessionStoredOnOneStationOpensOnAnotherOnlyWhenTheyShareTheDataFolder)
{
    const kovatest::ProgramRun sharing = station(1, 1, "sharing", 0);
    ASSERT_EQ(sharing.exitCode, 0) << sharing.errors;
    const fs::path ownFolder = folder.path() / "own data";
    const kovatest::ProgramRun apart = station(2, 1, "apart", 0, otherStation(ownFolder));
    ASSERT_EQ(apart.exitCode, 0) << apart.errors;
    ASSERT_EQ(rows().size(), 2u);

    for (const SessionRecord& row : rows()) {
        asker.asked.clear();
        auto session = opened(row);
        if (row.Note == "sharing 0") {
            EXPECT_FALSE(session->getDataFileMissing());
            EXPECT_EQ(session->getCommSession().manData.size(), 40u);
            EXPECT_EQ(session->getRecommendations(), "sharing 0");
            EXPECT_TRUE(asker.asked.empty());
            continue;
        }
        EXPECT_TRUE(fs::exists(ownFolder / (row.Serialidentifier + ".dat")));
        EXPECT_TRUE(session->getDataFileMissing());
        EXPECT_TRUE(session->getCommSession().manData.empty());
        ASSERT_EQ(asker.asked.size(), 1u);
        const std::wstring& told = asker.asked[0].text;
        EXPECT_NE(told.find(toWide((dataFolder / (row.Serialidentifier + ".dat")).string())), std::wstring::npos)
            << told;
        EXPECT_NE(told.find(toWide(dataFolder.string() + "/")), std::wstring::npos) << told;
    }
}

TEST_F(SharedRecords, sessionsExportedOnOneStationAndImportedOnTheOtherOpenThere)
{
    const kovatest::ProgramRun other = station(3, 3, "exported", 0);
    ASSERT_EQ(other.exitCode, 0) << other.errors;
    std::vector<std::string> serials;
    for (const SessionRecord& row : rows())
        serials.push_back(row.Serialidentifier);
    ASSERT_EQ(serials.size(), 3u);

    platform::RecordingFileDialogAsker files;
    platform::ScopedFileDialogAsker filesScope(files);
    const std::string path = folder.file("moved.sdb");
    files.answers = {path, path, path};
    SessionExchange().exportSessions(serials);
    // The question for each session the shared records hold already: No
    // leaves it out, Yes copies it under a new identifier.
    asker.answers = {platform::IDNO, platform::IDNO, platform::IDNO};
    EXPECT_EQ(SessionExchange().importSessions(), 0);
    asker.answers = {platform::IDYES, platform::IDYES, platform::IDYES};
    EXPECT_EQ(SessionExchange().importSessions(), 3);

    const std::vector<SessionRecord> all = rows();
    ASSERT_EQ(all.size(), 6u);
    std::set<std::string> distinct;
    for (const SessionRecord& row : all) {
        distinct.insert(row.Serialidentifier);
        asker.asked.clear();
        auto session = opened(row);
        EXPECT_FALSE(session->getDataFileMissing()) << row.Serialidentifier;
        EXPECT_EQ(session->getCommSession().manData.size(), 40u) << row.Serialidentifier;
        EXPECT_EQ(session->getRecommendations(), row.Note);
        EXPECT_TRUE(asker.asked.empty());
    }
    EXPECT_EQ(distinct.size(), 6u);
}

class RecordsOutage : public OwnServerFixture<SessionRecordsFixture> {
protected:
    std::unique_ptr<Session> finished(const std::string& text)
    {
        return finishedSession(links_.emplace_back(), windows, text);
    }
    std::vector<std::string> notes()
    {
        std::vector<std::string> all;
        for (const auto& row :
             theDatabase.query("SELECT \"Note\" FROM \"Session\" ORDER BY \"RowId\"", {}, {SqlType::Text}))
            all.push_back(std::get<std::string>(row.front()));
        return all;
    }

    ScopedFakeWindows windows;
    std::deque<LinkLog> links_;
};

TEST_F(RecordsOutage, aStoreAfterTheServerWasRestartedSucceedsWithoutRestartingTheStation)
{
    auto first = finished("before");
    ASSERT_TRUE(SessionRowStore::store(*first, first->getRecord()));
    cluster("restart");
    auto second = finished("after");
    EXPECT_TRUE(SessionRowStore::store(*second, second->getRecord()));
    EXPECT_TRUE(asker.asked.empty());
    EXPECT_EQ(notes(), (std::vector<std::string>{"before", "after"}));
    EXPECT_EQ(clock.sleeps(), 0);
}

TEST_F(RecordsOutage, duringTheOutageAStoreAndASearchSaySoAndAfterItTheStoreSucceeds)
{
    auto session = finished("kept");
    SessionTable sessions(theDatabase);
    sessions.open("");
    cluster("pause");
    EXPECT_FALSE(SessionRowStore::store(*session, session->getRecord()));
    ASSERT_EQ(asker.asked.size(), 1u);
    EXPECT_EQ(asker.asked[0].caption, L"Problem saving session");
    EXPECT_NE(asker.asked[0].text.find(L"The connection to the database was lost."), std::wstring::npos)
        << asker.asked[0].text;

    std::vector<SessionListRow> found;
    std::string failure;
    EXPECT_FALSE(SessionSearch::find(theDatabase, {}, found, &failure));
    EXPECT_NE(failure.find("The connection to the database was lost."), std::string::npos) << failure;
    // A table read again meanwhile has no rows, and is not given up.
    sessions.reopen();
    EXPECT_TRUE(sessions.isOpen);
    EXPECT_TRUE(DBUtil::emptyTable(sessions));

    cluster("resume");
    asker.asked.clear();
    EXPECT_TRUE(SessionRowStore::store(*session, session->getRecord()));
    EXPECT_TRUE(asker.asked.empty());
    EXPECT_EQ(notes(), (std::vector<std::string>{"kept"}));
    EXPECT_TRUE(SessionSearch::find(theDatabase, {}, found, &failure));
    EXPECT_EQ(found.size(), 1u);
    sessions.reopen();
    EXPECT_FALSE(DBUtil::emptyTable(sessions));
    EXPECT_EQ(kovatest::readFile(LogStream::instance().path()).find("Assert failed"), std::string::npos);
}

} // namespace

// Kills at random moments while sessions are deleted, imported and exported,
// each followed by the start-up recovery: every finished row keeps its own
// data file, no data file is left without a row outside lost-and-found, and
// no temporary stays; an export's file is whole or not there.

#include "KillLoop.h"
#include "TablesFixture.h"

#include "Database/stored-sessions/DataFileRemoval.h"
#include "Database/DatabaseTransaction.h"
#include "Database/RuntimeRandom.h"
#include "Database/SessionTable.h"
#include "Database/export-import/SessionExchange.h"
#include "Database/export-import/SessionFile.h"
#include "app/sessions/SessionDataFile.h"
#include "Database/stored-sessions/DataFileChange.h"
#include "Database/stored-sessions/DataFolderRecovery.h"
#include "Database/stored-sessions/UnfinishedExports.h"
#include "Rodezir/FileUtil.h"
#include "platform/ReplacingFile.h"

#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <stdexcept>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr int RUNS = 25;

class StorageKills : public TablesFixture {
protected:
    void SetUp() override
    {
        TablesFixture::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        if (onPostgresql())
            GTEST_SKIP() << "the kills run on the SQLite file";
        dataFolder = makeDataFolder();
        // The records' own folder since an earlier start.
        markDataFolder(dataFolder);
    }

    // One kill of a child running `step`, then the next start's recovery.
    void killAndRecover(const std::function<void()>& prepare, const std::function<bool(int)>& step,
                        std::chrono::microseconds window)
    {
        theDatabase.close();
        databaseOpen = false;
        const std::string problem = killtest::runUntilKilled(
            [&] {
                openDatabase();
                if (!databaseOpen)
                    throw std::runtime_error("no records");
                // Each child draws identifiers of its own.
                RuntimeRandom::seed(static_cast<std::uint32_t>(::getpid()) * 2654435761u);
                if (prepare)
                    prepare();
            },
            step, window);
        ASSERT_EQ(problem, "");
        openRecords();
        // The next start, some minutes on: what the killed child was writing
        // is then a dead writer's leftover, not a living one's.
        DataFolderRecovery::run(std::time(nullptr) + DataFolderRecovery::UNFINISHED_FILE_AGE);
    }
    void expectAllInStep(int run)
    {
        const std::vector<std::string> faults = killtest::faultsInDataFolder(dataFolder);
        EXPECT_TRUE(faults.empty()) << "after kill " << run << ": " << ::testing::PrintToString(faults);
    }

    // A finished session stored with its data file, as a store does it.
    static bool storeSession(const std::string& serial, const std::string& note)
    {
        SessionRecord record;
        record.Serialidentifier = serial;
        record.Note = note;
        record.Done = true;
        DataFileChange file(record.dataFileName().value());
        const std::string text = killtest::dataFileText(note);
        DatabaseTransaction whole(theDatabase);
        SessionTable table(theDatabase);
        table.open("1 = 0");
        table.addNew();
        table.setRecord(record);
        std::string reason;
        if (!table.update() || !file.open() || !platform::writeAll(file.fd(), text.data(), text.size())
            || !file.finishWriting() || !file.bindToRows(theDatabase, serial, reason))
            return false;
        whole.commit();
        return file.commit();
    }

    fs::path dataFolder;
};

TEST_F(StorageKills, aKilledDeleteIsFinishedOrUndoneAtTheNextStart)
{
    const auto step = [](int) {
        const std::string serial = SessionRecord().Serialidentifier;
        if (!storeSession(serial, "to be deleted"))
            return false;
        // As the session dialog deletes: the file aside inside the row's change.
        SessionRecord record(SessionRecord::Unstamped{});
        record.Serialidentifier = serial;
        DataFileRemoval file;
        {
            DatabaseTransaction change(theDatabase);
            file.moveAside(record);
            SessionTable table(theDatabase);
            table.deleteKey(serial, true);
            change.commit();
        }
        file.settle(true);
        return true;
    };
    for (int run = 0; run < killtest::runsPerPath(RUNS) && !HasFailure(); ++run) {
        killAndRecover({}, step, 40ms);
        expectAllInStep(run);
    }
}

TEST_F(StorageKills, aKilledImportLeavesEachSessionWholeOrAbsent)
{
    std::unique_ptr<SessionExchange> exchange;
    const auto step = [&](int i) {
        SessionRecord record;
        record.Note = "imported " + std::to_string(i);
        record.Done = true;
        record.InterfaceFrequency = 20.0;
        // Some weight, so that the writes take their time: 20,000 samples.
        std::string text = "0\n0\n20000\n";
        for (int sample = 0; sample < 20000; ++sample)
            text += "1 2 3 4 5 6 7 8\n";
        text += "recommendations:\n" + record.Note + "\n";
        record.data.assign(text.begin(), text.end());
        return exchange->importSession(record);
    };
    for (int run = 0; run < killtest::runsPerPath(RUNS) && !HasFailure(); ++run) {
        killAndRecover(
            [&] {
                SessionDataFile::installImportCheck();
                exchange = std::make_unique<SessionExchange>();
            },
            step, 40ms);
        expectAllInStep(run);
    }
}

TEST_F(StorageKills, aKilledExportLeavesItsFileWholeOrAsItWasAndNoTemporary)
{
    const fs::path exports = folder.path() / "exports";
    fs::create_directories(exports);
    const fs::path target = exports / "course.sdb";
    std::vector<SessionRecord> sessions(3);
    for (SessionRecord& session : sessions)
        session.data.assign(150000, 'x');
    const auto step = [&](int) { return SessionFile::write(target.string(), sessions); };
    for (int run = 0; run < killtest::runsPerPath(RUNS) && !HasFailure(); ++run) {
        killAndRecover({}, step, 40ms);
        for (const auto& entry : fs::directory_iterator(exports))
            EXPECT_EQ(entry.path(), target) << "after kill " << run;
        if (fs::exists(target)) {
            const std::string bytes = kovatest::readFile(target);
            const SessionFile::Parsed parsed =
                SessionFile::parse(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
            EXPECT_EQ(parsed.outcome, SessionFile::Outcome::Read) << "after kill " << run;
            EXPECT_EQ(parsed.sessions.size(), sessions.size());
        }
        EXPECT_TRUE(UnfinishedExports::list().empty()) << "after kill " << run;
    }
}

} // namespace

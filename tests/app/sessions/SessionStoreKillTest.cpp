// Kills at random moments while finished sessions are stored and stored
// again with another note, each followed by the start-up recovery: every
// finished row keeps the data file of its own store, and no data file or
// temporary is left without its row.

#include "KillLoop.h"
#include "SessionRecordsFixture.h"
#include "SessionTestKit.h"

#include "Database/RuntimeRandom.h"
#include "Database/stored-sessions/DataFolderRecovery.h"

#include <gtest/gtest.h>

#include <ctime>
#include <stdexcept>
#include <unistd.h>

using namespace sessiontest;
using namespace std::chrono_literals;

namespace {

class SessionStoreKills : public SessionRecordsFixture {
protected:
    ScopedFakeWindows windows;
};

TEST_F(SessionStoreKills, aKilledStoreLeavesTheOldRowWithItsFileOrTheNewRowWithItsFile)
{
    if (onPostgresql())
        GTEST_SKIP() << "the kills run on the SQLite file";
    // The records' own folder since an earlier start.
    markDataFolder(dataFolder);
    LinkLog link;
    // A new session stored, then stored again with another note: a new row
    // and a changed one, each with the data file written for it.
    const auto step = [&](int i) {
        auto session = collectedSession(link, 200);
        for (const std::string& note : {"first " + std::to_string(i), "second " + std::to_string(i)})
            if (!storeWithNote(windows, *session, note))
                return false;
        return true;
    };
    for (int run = 0; run < killtest::runsPerPath(30) && !HasFailure(); ++run) {
        theDatabase.close();
        databaseOpen = false;
        const std::string problem = killtest::runUntilKilled(
            [] {
                openDatabase();
                if (!databaseOpen)
                    throw std::runtime_error("no records");
                RuntimeRandom::seed(static_cast<std::uint32_t>(::getpid()) * 2654435761u);
            },
            step, 40ms);
        ASSERT_EQ(problem, "");
        openRecords();
        // The next start, some minutes on: what the killed child was writing
        // is then a dead writer's leftover, not a living one's.
        DataFolderRecovery::run(std::time(nullptr) + DataFolderRecovery::UNFINISHED_FILE_AGE);
        const std::vector<std::string> faults = killtest::faultsInDataFolder(dataFolder);
        EXPECT_TRUE(faults.empty()) << "after kill " << run << ": " << ::testing::PrintToString(faults);
    }
}

} // namespace

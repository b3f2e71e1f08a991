// The station's start-up sets its data folder right as soon as its records
// are open: a delete killed before its row went gets its data file back, and
// a killed writer's temporary goes into lost-and-found.

#include "SessionRecordsFixture.h"

#include "Database/stored-sessions/DataFolderRecovery.h"
#include "app/shell/CprTrainingApp.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

namespace {

using StartUpRecovery = SessionRecordsFixture;

TEST_F(StartUpRecovery, theStationSetsItsDataFolderRightOnceItsRecordsAreOpen)
{
    // The records' own folder since two hours.
    markDataFolder(dataFolder, {}, 2 * 60 * 60);
    SessionRecord record;
    record.Done = true;
    addSessionRow(record);
    const std::filesystem::path dataFile = record.dataFileName().value();
    kovatest::writeFile(dataFile.string() + ".removing", "kept");
    kovatest::writeFile(dataFile.string() + ".tmpA1b2C3", "half");
    // Left by a writer killed an hour ago.
    std::filesystem::last_write_time(dataFile.string() + ".tmpA1b2C3",
                                     std::filesystem::file_time_type::clock::now() - std::chrono::hours(1));
    theDatabase.close();
    databaseOpen = false;

    CprTrainingApp::Services::standard().openDatabase();

    EXPECT_TRUE(databaseOpen);
    EXPECT_EQ(kovatest::readFile(dataFile), "kept");
    const std::string temporary = dataFile.filename().string() + ".tmpA1b2C3";
    EXPECT_EQ(kovatest::readFile(dataFolder / DataFolderRecovery::LOST_AND_FOUND / temporary), "half");
}

} // namespace

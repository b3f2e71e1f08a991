// The station's start-up sets its data folder right as soon as its records
// are open: a delete killed before its row went gets its data file back, and
// a killed writer's temporary goes into lost-and-found.

#include "SessionRecordsFixture.h"

#include "Database/stored-sessions/DataFolderRecovery.h"
#include "app/shell/CprTrainingApp.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using StartUpRecovery = SessionRecordsFixture;

TEST_F(StartUpRecovery, theStationSetsItsDataFolderRightOnceItsRecordsAreOpen)
{
    markDataFolder(dataFolder);
    SessionRecord record;
    record.Done = true;
    addSessionRow(record);
    const std::filesystem::path dataFile = record.dataFileName().value();
    kovatest::writeFile(dataFile.string() + ".removing", "kept");
    kovatest::writeFile(dataFile.string() + ".tmpA1b2C3", "half");
    theDatabase.close();
    databaseOpen = false;

    CprTrainingApp::Services::standard().openDatabase();

    EXPECT_TRUE(databaseOpen);
    EXPECT_EQ(kovatest::readFile(dataFile), "kept");
    const std::string temporary = dataFile.filename().string() + ".tmpA1b2C3";
    EXPECT_EQ(kovatest::readFile(dataFolder / DataFolderRecovery::LOST_AND_FOUND / temporary), "half");
}

} // namespace

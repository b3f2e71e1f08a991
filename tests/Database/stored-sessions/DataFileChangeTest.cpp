// A data file's change that cannot be named or put in place says so in one
// line: the system's error text brings its own line end, which must not end
// the reason early or stand inside the log line.

#include "TablesFixture.h"

#include "Database/DatabaseTransaction.h"
#include "Database/stored-sessions/DataFileChange.h"
#include "Rodezir/LogStream.h"
#include "platform/ReplacingFile.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

namespace fs = std::filesystem;

class DataFileChangeTest : public TablesFixture {
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

    fs::path data;
};

TEST_F(DataFileChangeTest, aChangeThatCannotBeNamedGivesItsReasonInOneLine)
{
    SessionRecord record;
    record.Serialidentifier = "unnamed0000001";
    addSessionRow(record);
    // A folder where the change's name should go.
    const std::string pending = (data / "unnamed0000001.dat").string() + std::string(DataFileChange::PENDING_MARK)
                                + DataFileChange::rowsFingerprint(theDatabase, record.Serialidentifier);
    fs::create_directories(fs::path(pending) / "inside");

    DataFileChange change((data / "unnamed0000001.dat").string());
    ASSERT_TRUE(change.open());
    ASSERT_TRUE(platform::writeAll(change.fd(), "new", 3));
    ASSERT_TRUE(change.finishWriting());
    std::string reason;
    EXPECT_FALSE(change.bindToRows(theDatabase, record.Serialidentifier, reason));
    EXPECT_EQ(reason, "Could not name the new data file '" + pending + "': Is a directory\n");
}

TEST_F(DataFileChangeTest, aChangeThatCannotTakeItsNameIsLoggedInOneLine)
{
    SessionRecord record;
    record.Serialidentifier = "blocked0000001";
    addSessionRow(record);
    // A folder holds the data file's name.
    const fs::path dataFile = data / "blocked0000001.dat";
    fs::create_directories(dataFile / "inside");

    DataFileChange change(dataFile.string());
    ASSERT_TRUE(change.open());
    ASSERT_TRUE(platform::writeAll(change.fd(), "new", 3));
    ASSERT_TRUE(change.finishWriting());
    std::string reason;
    ASSERT_TRUE(change.bindToRows(theDatabase, record.Serialidentifier, reason)) << reason;
    EXPECT_FALSE(change.commit());

    const std::string log = kovatest::readFile(LogStream::instance().path());
    const std::string told = "could not take the name '" + dataFile.string() + "' (Is a directory); the next start "
                             "finishes it.\n";
    EXPECT_NE(log.find(told), std::string::npos) << log;
}

} // namespace

#pragma once
// A fresh "kovacpr" data source for each test, reached through unixODBC with
// an odbc.ini of its own: a SQLite file, or (when KOVA_TEST_POSTGRESQL names
// the state file of the throwaway server) a schema of its own on PostgreSQL.
// Message boxes are recorded and sleeps are instant.

#include "Database/DatabaseConnection.h"
#include "TempDir.h"
#include "platform/ManualClock.h"
#include "platform/ScopedClock.h"
#include "platform/MessageBox.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

class RecordsFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes the user's odbc.ini, with or without the "kovacpr" entry.
    void registerDataSource(bool withKovacpr);
    // openDatabase() on the test's data source; the test fails when it does not open.
    void openRecords();
    // A text column of every row of a table, in row-id order.
    std::vector<std::string> column(const std::string& table, const std::string& name);
    bool onPostgresql() const { return !pgFolder_.empty(); }
    // The user's odbc.ini as the driver manager reads it.
    static std::string odbcIniPath();

    kovatest::TempDir folder;
    platform::RecordingMessageAsker asker;
    platform::ManualClock clock;

private:
    std::string adminConnectString() const;

    platform::ScopedMessageAsker askerScope_{asker};
    platform::ScopedClock clockScope_{clock};
    std::string pgFolder_;
    std::string pgSchema_;
};

// The same with "kovacpr" open.
class OpenRecordsFixture : public RecordsFixture {
protected:
    void SetUp() override;
};

// The same holding three scenarios, in this order: Basic (120 s, "ERC 2010"),
// Advanced (600 s, "AHA 2010", no events, mode 2), Child (300 s, "ERC 2010", mode 3).
class ScenarioRecordsFixture : public OpenRecordsFixture {
protected:
    void SetUp() override;
};

// The statements of a schema file, without its comments.
std::vector<std::string> schemaStatements(const std::string& engine);
// The same of any file of the schema folder (the built-in rows of the set-up, say).
std::vector<std::string> sqlStatements(const std::string& schemaFile);

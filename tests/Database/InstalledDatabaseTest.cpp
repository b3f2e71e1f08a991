// The installed database: the set-up step that makes the default SQLite
// database and its data source, the script that points the data source at a
// shared PostgreSQL database, and the unique session identifiers of both.

#include "RecordsFixture.h"
#include "ScenarioTestTable.h"

#include "Database/AlgorithmTable.h"
#include "Database/Database.h"
#include "Database/DatabaseError.h"
#include "Database/DatabasePatch.h"
#include "Database/SessionRecord.h"
#include "Rodezir/LogStream.h"

#include <cstdlib>

namespace {
// Runs a script of the source tree with extra environment; gives its exit status.
int runScript(const std::string& script, const std::string& environment, const std::string& arguments = "")
{
    std::string command = environment + " " + (kovatest::sourceDir() / script).string() + " " + arguments
        + " >/dev/null 2>&1";
    return std::system(command.c_str());
}

// The station's tables answer through "kovacpr".
void expectStationTables()
{
    openDatabase();
    ASSERT_TRUE(databaseOpen) << theDatabase.lastError();
    for (const char* table : {"Algorithm", "Course", "Events", "Person", "Scenario", "Session"})
        EXPECT_NO_THROW(theDatabase.query(std::string("SELECT \"RowId\" FROM \"") + table + "\"", {},
                                          {SqlType::Integer}))
            << table;
}

// A first start on the installed database, with a registry of its own that
// names no patch level: the built-in data upgrade puts the six scenarios on
// the two guidelines the installation carries, and the pruning keeps those.
// The SQLite set-up and the PostgreSQL script must both end here.
void expectFirstStartRows(const std::string& registry)
{
    setenv("KOVA_REGISTRY_DIR", registry.c_str(), 1);
    DatabasePatch::runIfNeeded();
    AlgorithmTable algorithms(theDatabase);
    algorithms.open("");
    unsetenv("KOVA_REGISTRY_DIR");

    const std::string aha = AlgorithmTable::KEPT_BUILT_INS[0];
    const std::string erc = AlgorithmTable::KEPT_BUILT_INS[1];
    std::vector<std::string> rows;
    for (const auto& row : theDatabase.query("SELECT \"Name\", \"builtIn\" FROM \"Algorithm\" ORDER BY \"RowId\"", {},
                                             {SqlType::Text, SqlType::Integer}))
        rows.push_back(std::get<std::string>(row[0]) + " built-in " + std::to_string(std::get<long long>(row[1])));
    EXPECT_EQ(rows, (std::vector<std::string>{aha + " built-in 1", erc + " built-in 1"}));
    rows.clear();
    for (const auto& row : theDatabase.query("SELECT \"Name\", \"Algorithm\" FROM \"Scenario\" ORDER BY \"RowId\"", {},
                                             {SqlType::Text, SqlType::Text}))
        rows.push_back(std::get<std::string>(row[0]) + " on " + std::get<std::string>(row[1]));
    EXPECT_EQ(rows, (std::vector<std::string>{"10 minute BLS (AHA) on " + aha, "20 minute BLS (AHA) on " + aha,
                                              "5 minute BLS (AHA) on " + aha, "10 minute BLS (ERC) on " + erc,
                                              "20 minute BLS (ERC) on " + erc, "5 minute BLS (ERC) on " + erc}));
}
} // namespace

using InstalledDatabase = RecordsFixture;

TEST_F(InstalledDatabase, theSetUpsBuiltInRowsGiveTheScenariosTheirGuidelinesAtTheFirstStart)
{
    if (onPostgresql())
        GTEST_SKIP() << "the set-up makes the SQLite database";
    const std::string registry = folder.file("registry");
    const std::string environment = "HOME=" + folder.file("home") + " KOVA_STATION_DIR=" + folder.file("station")
        + " KOVA_DATA_DIR=" + folder.file("station/data") + " KOVA_REGISTRY_DIR=" + registry
        + " ODBCINI=" + odbcIniPath();
    std::filesystem::create_directories(folder.path() / "home");
    kovatest::writeFile(odbcIniPath(), "");
    for (const char* step : {"scripts/setup.d/20-records", "scripts/setup.d/21-builtin-records"})
        ASSERT_EQ(runScript(step, environment), 0) << step;
    expectStationTables();
    expectFirstStartRows(registry);
}

TEST_F(InstalledDatabase, setupMakesTheSqliteDatabaseAndItsDataSourceOnceAndKeepsARegisteredOne)
{
    if (onPostgresql())
        GTEST_SKIP() << "the set-up makes the SQLite database";
    const std::string odbcIni = odbcIniPath();
    const std::string environment = "HOME=" + folder.file("home") + " KOVA_STATION_DIR=" + folder.file("station")
        + " KOVA_DATA_DIR=" + folder.file("station/data") + " ODBCINI=" + odbcIni;
    std::filesystem::create_directories(folder.path() / "home");
    kovatest::writeFile(odbcIni, "[other]\nDriver=SQLite3\nDatabase=/nonexistent/other.db\n");

    ASSERT_EQ(runScript("scripts/setup.d/20-records", environment), 0);
    expectStationTables();
    ScenarioTestTable table(theDatabase);
    table.open("");
    table.store({"Kept", 60, "", false, 1});
    // An older database whose rows hold an identifier twice keeps them.
    theDatabase.execute("DROP INDEX \"SessionSerialidentifier\"");
    theDatabase.execute("INSERT INTO \"Session\" (\"Serialidentifier\") VALUES ('0a1b2c3d4e5f6g'), ('0a1b2c3d4e5f6g')");
    theDatabase.close();

    const std::string afterFirstRun = kovatest::readFile(odbcIni);
    EXPECT_NE(afterFirstRun.find("[other]"), std::string::npos);
    ASSERT_EQ(runScript("scripts/setup.d/20-records", environment), 0);
    EXPECT_EQ(kovatest::readFile(odbcIni), afterFirstRun);
    expectStationTables();
    EXPECT_EQ(column("Scenario", "Name"), std::vector<std::string>{"Kept"});
    EXPECT_EQ(column("Session", "Serialidentifier").size(), 2u);
}

TEST_F(InstalledDatabase, postgresqlScriptPointsTheDataSourceAtTheSharedDatabase)
{
    if (!onPostgresql())
        GTEST_SKIP() << "needs the PostgreSQL test server";
    const std::string odbcIni = odbcIniPath();
    kovatest::writeFile(odbcIni, "[kovacpr]\nDriver=SQLite3\nDatabase=/nonexistent/kovacpr.db\n");
    const std::string server = kovatest::readFile(std::getenv("KOVA_TEST_POSTGRESQL"));
    const std::string host = server.substr(0, server.find_last_not_of("\n") + 1);
    const std::string registry = folder.file("registry");
    const std::string environment = "ODBCINI=" + odbcIni + " KOVA_REGISTRY_DIR='" + registry + "'";
    const std::string arguments = "--host " + host + " --database postgres --user postgres --create-tables";
    const std::filesystem::path shared = folder.path() / "shared data";
    std::filesystem::create_directories(shared);

    // A data folder that is not there, or that nobody may write into (not
    // even root), stops the script before it changes anything.
    for (const std::string& refused : {folder.file("not mounted"), std::string("/proc")}) {
        EXPECT_NE(runScript("scripts/use-postgresql", environment, arguments + " --data-folder '" + refused + "'"), 0)
            << refused;
        EXPECT_FALSE(std::filesystem::exists(odbcIni + ".before-postgresql"));
        EXPECT_FALSE(std::filesystem::exists(registry));
    }

    ASSERT_EQ(runScript("scripts/use-postgresql", environment, arguments + " --data-folder '" + shared.string() + "'"),
              0);
    EXPECT_NE(kovatest::readFile(odbcIni + ".before-postgresql").find("SQLite3"), std::string::npos);
    EXPECT_EQ(kovatest::readFile(odbcIni).find("SQLite3"), std::string::npos);
    expectStationTables();
    expectFirstStartRows(registry);
    EXPECT_TRUE(std::filesystem::is_empty(shared));

    setenv("KOVA_REGISTRY_DIR", registry.c_str(), 1);
    std::string dataFolder;
    EXPECT_TRUE(readDataFolder(dataFolder));
    EXPECT_EQ(dataFolder, shared.string() + "/");
    unsetenv("KOVA_REGISTRY_DIR");
}

namespace {
void addSessionRow(const std::string& serial)
{
    theDatabase.execute("INSERT INTO \"Session\" (\"Serialidentifier\") VALUES (?)", {serial});
}

std::string errorLog() { return kovatest::readFile(LogStream::instance().path()); }
} // namespace

TEST_F(InstalledDatabase, aSerialIdentifierNamesOneRowOnly)
{
    openRecords();
    addSessionRow("0a1b2c3d4e5f6g");
    EXPECT_THROW(addSessionRow("0a1b2c3d4e5f6g"), DatabaseError);
    // A row without an identifier names nothing, and may be there twice.
    addSessionRow("");
    addSessionRow("");
    EXPECT_EQ(column("Session", "Serialidentifier"), (std::vector<std::string>{"0a1b2c3d4e5f6g", "", ""}));
}

// A database made before identifiers were unique: the start-up adds the
// index once the rows allow it, and until then loses and changes nothing.
TEST_F(InstalledDatabase, anOlderDatabaseGetsTheIdentifierIndexOnceItsRowsAllowIt)
{
    openRecords();
    theDatabase.execute("DROP INDEX \"SessionSerialidentifier\"");
    for (const char* serial : {"0a1b2c3d4e5f6g", "0a1b2c3d4e5f6g", "1b2c3d4e5f6g7h"})
        addSessionRow(serial);
    theDatabase.close();

    openRecords();
    EXPECT_TRUE(asker.asked.empty());
    EXPECT_EQ(column("Session", "Serialidentifier").size(), 3u);
    EXPECT_NE(errorLog().find("0a1b2c3d4e5f6g (2 rows)"), std::string::npos) << errorLog();
    EXPECT_NO_THROW(addSessionRow("1b2c3d4e5f6g7h"));

    theDatabase.execute("DELETE FROM \"Session\" WHERE \"RowId\" IN (SELECT MAX(\"RowId\") FROM \"Session\" GROUP BY "
                        "\"Serialidentifier\")");
    theDatabase.close();
    openRecords();
    EXPECT_EQ(column("Session", "Serialidentifier"), (std::vector<std::string>{"0a1b2c3d4e5f6g", "1b2c3d4e5f6g7h"}));
    EXPECT_THROW(addSessionRow("1b2c3d4e5f6g7h"), DatabaseError);
}

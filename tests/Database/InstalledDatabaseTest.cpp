// The installed database: the set-up step that makes the default SQLite
// database and its data source, and the script that points the data source
// at a shared PostgreSQL database.

#include "RecordsFixture.h"
#include "ScenarioTestTable.h"

#include "Database/AlgorithmTable.h"
#include "Database/Database.h"
#include "Database/DatabasePatch.h"

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
    theDatabase.close();

    const std::string afterFirstRun = kovatest::readFile(odbcIni);
    EXPECT_NE(afterFirstRun.find("[other]"), std::string::npos);
    ASSERT_EQ(runScript("scripts/setup.d/20-records", environment), 0);
    EXPECT_EQ(kovatest::readFile(odbcIni), afterFirstRun);
    expectStationTables();
    EXPECT_EQ(column("Scenario", "Name"), std::vector<std::string>{"Kept"});
}

TEST_F(InstalledDatabase, postgresqlScriptPointsTheDataSourceAtTheSharedDatabase)
{
    if (!onPostgresql())
        GTEST_SKIP() << "needs the PostgreSQL test server";
    const std::string odbcIni = odbcIniPath();
    kovatest::writeFile(odbcIni, "[kovacpr]\nDriver=SQLite3\nDatabase=/nonexistent/kovacpr.db\n");
    const std::string server = kovatest::readFile(std::getenv("KOVA_TEST_POSTGRESQL"));
    const std::string host = server.substr(0, server.find_last_not_of("\n") + 1);

    ASSERT_EQ(runScript("scripts/use-postgresql", "ODBCINI=" + odbcIni,
                        "--host " + host + " --database postgres --user postgres --create-tables"),
              0);
    EXPECT_NE(kovatest::readFile(odbcIni + ".before-postgresql").find("SQLite3"), std::string::npos);
    EXPECT_EQ(kovatest::readFile(odbcIni).find("SQLite3"), std::string::npos);
    expectStationTables();
    expectFirstStartRows(folder.file("registry"));
}

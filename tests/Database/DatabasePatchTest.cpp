#include "TablesFixture.h"

#include "Database/AlgorithmTable.h"
#include "Database/DatabasePatch.h"
#include "Database/ScenarioTable.h"
#include "Database/SessionRecord.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

class BuiltInDataUpgrade : public TablesFixture {};

const std::vector<std::string> SCENARIO_NAMES = {"10 minute BLS (AHA)", "20 minute BLS (AHA)", "5 minute BLS (AHA)",
                                                 "10 minute BLS (ERC)", "20 minute BLS (ERC)", "5 minute BLS (ERC)"};

TEST_F(BuiltInDataUpgrade, levelZeroInstallsTheScenariosAndThe2005RowsGoAtTheNextOpen)
{
    // A user's own row keeps its place; no registry value at all counts as level 0.
    exec("INSERT INTO \"Algorithm\" (\"Name\") VALUES ('Mine')");
    EXPECT_EQ(DatabasePatch::readPatchLevel(), 0u);
    DatabasePatch::runIfNeeded();

    EXPECT_EQ(column("Scenario", "Name"), SCENARIO_NAMES);
    EXPECT_EQ(column("Scenario", "Duration"), (std::vector<std::string>{"600", "1200", "300", "600", "1200", "300"}));
    EXPECT_EQ(column("Algorithm", "Name"),
              (std::vector<std::string>{"Mine", "AHA 2005 (American Heart Association)",
                                        "ERC 2005 (European Resuscitation Council)"}));
    EXPECT_EQ(column("Algorithm", "initVent"), (std::vector<std::string>{"2", "2", "0"}));
    EXPECT_EQ(column("Algorithm", "ventCompRatioSingleComp").at(1).substr(0, 2), "30");

    AlgorithmTable algorithms(theDatabase);
    algorithms.open("");
    EXPECT_EQ(column("Algorithm", "Name"), (std::vector<std::string>{"Mine"}));
    // The scenarios stay and judge by the default limits under the 2005 name.
    ScenarioTable scenarios(theDatabase);
    scenarios.open("");
    const std::string algorithm = scenarios.getScenario("5 minute BLS (ERC)").algorithm;
    EXPECT_EQ(algorithm, "ERC 2005 (European Resuscitation Council)");
    AlgorithmRecord limits = algorithms.getByName(algorithm);
    EXPECT_FALSE(limits.builtIn);
    EXPECT_EQ(limits.eccRateHigh, 110);

    // The next start finds the scenarios and adds nothing.
    DatabasePatch::runIfNeeded();
    EXPECT_EQ(count("Scenario"), 6);
    EXPECT_EQ(count("Algorithm"), 1);
}

TEST_F(BuiltInDataUpgrade, levelTwoChangesNothing)
{
    setMachineDword("Patch level", 2);
    EXPECT_EQ(DatabasePatch::readPatchLevel(), 2u);
    DatabasePatch::runIfNeeded();
    EXPECT_EQ(count("Scenario"), 0);
    EXPECT_EQ(count("Algorithm"), 0);
}

TEST_F(BuiltInDataUpgrade, anExistingScenarioCountsOnlyWithAnAlgorithmName)
{
    setMachineDword("Patch level", 0);
    exec("INSERT INTO \"Scenario\" (\"Name\", \"Algorithm\") VALUES ('5 minute bls (erc)', '')");
    EXPECT_TRUE(DatabasePatch::isNeeded());
    exec("UPDATE \"Scenario\" SET \"Algorithm\" = 'Mine'");
    EXPECT_FALSE(DatabasePatch::isNeeded());
    DatabasePatch::runIfNeeded();
    EXPECT_EQ(count("Scenario"), 1);
    EXPECT_EQ(count("Algorithm"), 0);
}

TEST_F(BuiltInDataUpgrade, withoutADatabaseTheStartUpGoesOn)
{
    theDatabase.close();
    databaseOpen = false;
    DatabasePatch::runIfNeeded();
    EXPECT_TRUE(asker.asked.empty());
}

TEST_F(BuiltInDataUpgrade, theInstallationCarriesTheGuidelineRowsAndTheDataFolderOnce)
{
    if (onPostgresql())
        GTEST_SKIP() << "the set-up makes the SQLite database";
    const std::string data = folder.file("station dir/data");
    const std::string registry = folder.file("installed registry");
    const std::string environment = "HOME='" + folder.file("home") + "' KOVA_STATION_DIR='" + folder.file("station dir")
        + "' KOVA_DATA_DIR='" + data + "' KOVA_REGISTRY_DIR='" + registry + "' ODBCINI='" + folder.file("odbc.ini")
        + "'";
    std::filesystem::create_directories(folder.path() / "home");
    for (const char* step : {"20-records", "21-builtin-records", "21-builtin-records"}) {
        const std::string command =
            environment + " " + (kovatest::sourceDir() / "scripts/setup.d" / step).string() + " >/dev/null 2>&1";
        ASSERT_EQ(std::system(command.c_str()), 0) << step;
    }

    DatabaseConnection installed;
    ASSERT_TRUE(installed.open("Driver=SQLite3;Database=" + data + "/kovacpr.db")) << installed.lastError();
    std::vector<std::string> names;
    for (const auto& row : installed.query("SELECT \"Name\", \"builtIn\" FROM \"Algorithm\" ORDER BY \"RowId\"", {},
                                           {SqlType::Text, SqlType::Integer})) {
        names.push_back(std::get<std::string>(row[0]));
        EXPECT_EQ(std::get<long long>(row[1]), 1);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"AHA 2010 (American Heart Association)",
                                               "ERC 2010 (European Resuscitation Council)"}));

    setenv("KOVA_REGISTRY_DIR", registry.c_str(), 1);
    std::string dataFolder;
    ASSERT_TRUE(readDataFolder(dataFolder));
    EXPECT_EQ(dataFolder, data + "/");
    EXPECT_EQ(DatabasePatch::readPatchLevel(), 0u);
}

} // namespace

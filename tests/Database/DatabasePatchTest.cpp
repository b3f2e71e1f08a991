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

const std::string AHA_2010 = "AHA 2010 (American Heart Association)";
const std::string ERC_2010 = "ERC 2010 (European Resuscitation Council)";
const std::string AHA_2005 = "AHA 2005 (American Heart Association)";
const std::string ERC_2005 = "ERC 2005 (European Resuscitation Council)";

TEST_F(BuiltInDataUpgrade, theSetUpsRowsAreTheUpgradesSoItAddsNothing)
{
    installSetUpRows();
    ScenarioTable scenarios(theDatabase);
    scenarios.open("");
    for (const ScenarioRecord& builtIn : DatabasePatch::builtInScenarios())
        EXPECT_EQ(scenarios.getScenario(builtIn.name), builtIn);
    EXPECT_FALSE(DatabasePatch::isNeeded());
    DatabasePatch::runIfNeeded();
    EXPECT_EQ(count("Scenario"), 6);
    EXPECT_EQ(count("Algorithm"), 2);
}

TEST_F(BuiltInDataUpgrade, anInstallationWithoutTheScenariosGetsThemOnTheKeptGuidelinesAndThe2005RowsGoAtTheNextOpen)
{
    // An installation whose records hold the guidelines but not the
    // scenarios, and a user's own algorithm; no registry value at all counts
    // as level 0.
    installSetUpRows();
    exec("DELETE FROM \"Scenario\"");
    exec("INSERT INTO \"Algorithm\" (\"Name\") VALUES ('Mine')");
    EXPECT_EQ(DatabasePatch::readPatchLevel(), 0u);
    DatabasePatch::runIfNeeded();

    EXPECT_EQ(column("Scenario", "Name"), SCENARIO_NAMES);
    EXPECT_EQ(column("Scenario", "Duration"), (std::vector<std::string>{"600", "1200", "300", "600", "1200", "300"}));
    EXPECT_EQ(column("Scenario", "Algorithm"),
              (std::vector<std::string>{AHA_2010, AHA_2010, AHA_2010, ERC_2010, ERC_2010, ERC_2010}));
    EXPECT_EQ(column("Algorithm", "Name"), (std::vector<std::string>{AHA_2010, ERC_2010, "Mine", AHA_2005, ERC_2005}));
    EXPECT_EQ(column("Algorithm", "initVent"), (std::vector<std::string>{"0", "0", "2", "2", "0"}));
    EXPECT_EQ(column("Algorithm", "ventCompRatioSingleComp").at(3).substr(0, 2), "30");

    AlgorithmTable algorithms(theDatabase);
    algorithms.open("");
    EXPECT_EQ(column("Algorithm", "Name"), (std::vector<std::string>{AHA_2010, ERC_2010, "Mine"}));
    // Every scenario judges by the guideline it names, which the pruning keeps.
    ScenarioTable scenarios(theDatabase);
    scenarios.open("");
    for (const std::string& name : SCENARIO_NAMES) {
        const AlgorithmRecord limits = algorithms.getByName(scenarios.getScenario(name).algorithm);
        EXPECT_TRUE(limits.builtIn) << name;
        EXPECT_EQ(limits.eccRateHigh, 120) << name;
    }

    // The next start finds the scenarios and adds nothing.
    DatabasePatch::runIfNeeded();
    EXPECT_EQ(count("Scenario"), 6);
    EXPECT_EQ(count("Algorithm"), 3);
}

TEST_F(BuiltInDataUpgrade, scenariosOnAPruned2005GuidelineMoveToTheKeptOneOfTheSameBody)
{
    // What an earlier start-up left: the six scenarios on the 2005 guidelines,
    // whose rows the pruning has deleted since; beside them a user's scenario
    // on a guideline of that name the user made.
    installSetUpRows();
    exec("DELETE FROM \"Scenario\"");
    for (const ScenarioRecord& scenario : DatabasePatch::builtInScenarios())
        exec("INSERT INTO \"Scenario\" (\"Name\", \"Duration\", \"Algorithm\") VALUES (?, ?, ?)",
             {scenario.name, static_cast<long long>(scenario.duration),
              scenario.name.find("AHA") != std::string::npos ? AHA_2005 : ERC_2005});
    exec("INSERT INTO \"Scenario\" (\"Name\", \"Algorithm\") VALUES ('Own', 'Mine')");

    setMachineDword("Patch level", 2);
    DatabasePatch::runIfNeeded();
    EXPECT_EQ(column("Scenario", "Algorithm")[0], AHA_2005) << "a level above 0 changes nothing";

    setMachineDword("Patch level", 0);
    DatabasePatch::runIfNeeded();
    const std::vector<std::string> repointed = {AHA_2010, AHA_2010, AHA_2010, ERC_2010, ERC_2010, ERC_2010, "Mine"};
    EXPECT_EQ(column("Scenario", "Algorithm"), repointed);
    EXPECT_EQ(count("Scenario"), 7) << "nothing is installed beside them";
    EXPECT_EQ(column("Algorithm", "Name"), (std::vector<std::string>{AHA_2010, ERC_2010}));
    DatabasePatch::runIfNeeded();
    EXPECT_EQ(column("Scenario", "Algorithm"), repointed);

    // A 2005 name that still has a row (the user's own) keeps its scenarios.
    exec("UPDATE \"Scenario\" SET \"Algorithm\" = ? WHERE \"Name\" = 'Own'", {ERC_2005});
    exec("INSERT INTO \"Algorithm\" (\"Name\", \"builtIn\") VALUES (?, 0)", {ERC_2005});
    DatabasePatch::runIfNeeded();
    EXPECT_EQ(column("Scenario", "Algorithm").back(), ERC_2005);
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

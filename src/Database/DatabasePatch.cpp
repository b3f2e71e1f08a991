#include "Database/DatabasePatch.h"

#include "Database/AlgorithmTable.h"
#include "Database/Database.h"
#include "Database/DatabaseError.h"
#include "Database/ScenarioTable.h"
#include "Rodezir/LogStream.h"
#include "Rodezir/RegistryKey.h"

#include <new>
#include <string>
#include <utility>

namespace {
const char* const STATION_KEY = "SOFTWARE\\Kova\\Kova CPR\\3.1.3";
const char* const AHA_2005 = "AHA 2005 (American Heart Association)";
const char* const ERC_2005 = "ERC 2005 (European Resuscitation Council)";
const char* const AHA_2010 = AlgorithmTable::KEPT_BUILT_INS[0];
const char* const ERC_2010 = AlgorithmTable::KEPT_BUILT_INS[1];

// The 2005 guidelines go at every open of the algorithm table; their
// scenarios judge by the kept guideline of the same body instead.
const std::pair<const char*, const char*> SUCCESSORS[] = {{AHA_2005, AHA_2010}, {ERC_2005, ERC_2010}};

// One row through the record set; a row the database refuses (a name a user
// already gave a row of their own, say) is logged and the next one follows.
template <class Table, class Record>
void addRow(Table& table, const Record& record)
{
    try {
        table.addNew();
        table.setRecord(record);
        if (!table.update())
            table.cancelUpdate();
    } catch (const DatabaseError& error) {
        table.cancelUpdate();
        LogStream::instance() << "DatabasePatch: " << error.what();
    } catch (const std::bad_alloc&) {
        table.cancelUpdate();
        constexpr bool FALSE = false;
        KOVA_ASSERT(FALSE);
    }
}
} // namespace

std::vector<AlgorithmRecord> DatabasePatch::builtInAlgorithms()
{
    AlgorithmRecord aha;
    aha.Name = AHA_2005;
    aha.compDepthHigh = 50;
    aha.compDepthLow = 40;
    aha.compRelaxHigh = 60;
    aha.compRelaxLow = 40;
    aha.compRelaxRecc = 50;
    aha.eccRateHigh = 110;
    aha.eccRateLow = 90;
    aha.initVent = 2;
    aha.ventCompRatioDoubleComp = 30;
    aha.ventCompRatioDoubleVent = 2;
    aha.ventCompRatioSingleComp = 30;
    aha.ventCompRatioSingleVent = 2;
    aha.vRateHigh = 6;
    aha.vRateLow = 3;
    aha.vVolHigh = 0.6;
    aha.vVolLow = 0.5;
    aha.builtIn = true;
    AlgorithmRecord erc = aha;
    erc.Name = ERC_2005;
    erc.initVent = 0;
    return {aha, erc};
}

std::vector<ScenarioRecord> DatabasePatch::builtInScenarios()
{
    const struct {
        const char* name;
        long duration;
        const char* algorithm;
    } rows[] = {
        {"10 minute BLS (AHA)", 600, AHA_2010}, {"20 minute BLS (AHA)", 1200, AHA_2010},
        {"5 minute BLS (AHA)", 300, AHA_2010},  {"10 minute BLS (ERC)", 600, ERC_2010},
        {"20 minute BLS (ERC)", 1200, ERC_2010}, {"5 minute BLS (ERC)", 300, ERC_2010},
    };
    std::vector<ScenarioRecord> scenarios;
    for (const auto& row : rows)
        scenarios.push_back({row.name, row.duration, row.algorithm, 1, 1});
    return scenarios;
}

void DatabasePatch::runIfNeeded()
{
    if (readPatchLevel() != 0)
        return;
    // Without a database nothing can be looked up or added.
    if (!databaseOpen)
        return;
    repointScenarios();
    if (!isNeeded())
        return;
    installAlgorithms();
    installScenarios();
}

// The machine key is only read: a station user without rights to change it
// still gets the level the installation left.
std::uint32_t DatabasePatch::readPatchLevel()
{
    RegistryKey key;
    if (!key.open(HKEY_LOCAL_MACHINE, STATION_KEY))
        return 0;
    std::uint32_t level = 0;
    if (!key.getDword("Patch level", level))
        return 0;
    return level;
}

bool DatabasePatch::isNeeded()
{
    AlgorithmTable algorithms(theDatabase);
    ScenarioTable scenarios(theDatabase);
    algorithms.open("");
    if (algorithms.getByName(AHA_2005).builtIn || algorithms.getByName(ERC_2005).builtIn)
        return false;
    scenarios.open("");
    for (const ScenarioRecord& scenario : builtInScenarios())
        if (!scenarios.getScenario(scenario.name).algorithm.empty())
            return false;
    return true;
}

// Scenarios that an earlier start-up installed on a 2005 guideline name a row
// the pruning has deleted since: New session cleared them at once and the
// scenario editor took them for changed. A 2005 name that still has a row
// (an algorithm a user made under it) keeps its scenarios. Once done, no
// row names a pruned guideline any more, so later starts change nothing.
void DatabasePatch::repointScenarios()
{
    AlgorithmTable algorithms(theDatabase);
    algorithms.open("");
    if (!algorithms.isOpen)
        return;
    for (const auto& [pruned, kept] : SUCCESSORS) {
        if (algorithms.countKey(pruned) != 0)
            continue;
        try {
            theDatabase.execute("UPDATE \"Scenario\" SET \"Algorithm\" = ? WHERE \"Algorithm\" = ?",
                                {std::string(kept), std::string(pruned)});
        } catch (const DatabaseError& error) {
            LogStream::instance() << "DatabasePatch: " << error.what();
        }
    }
}

void DatabasePatch::installAlgorithms()
{
    AlgorithmTable table(theDatabase);
    table.open("");
    if (!table.isOpen)
        return;
    for (const AlgorithmRecord& algorithm : builtInAlgorithms())
        addRow(table, algorithm);
}

void DatabasePatch::installScenarios()
{
    ScenarioTable table(theDatabase);
    table.open("");
    if (!table.isOpen)
        return;
    for (const ScenarioRecord& scenario : builtInScenarios())
        addRow(table, scenario);
}

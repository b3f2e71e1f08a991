#pragma once
// The built-in training data installed at start-up: the basic-life-support
// scenarios on the two guideline algorithms every open of the algorithm
// table keeps, added while the installation's "Patch level" is 0 and none of
// the scenarios exists yet. The 2005 guidelines are added too, as ever, and
// pruned at the next open; scenarios an earlier start left on them are moved
// to the kept guideline of the same body.

#include "config/AlgorithmRecord.h"
#include "Database/ScenarioRecord.h"

#include <cstdint>
#include <vector>

class DatabasePatch {
public:
    virtual ~DatabasePatch() = default;

    // The whole upgrade; silent, and never stops the start-up.
    static void runIfNeeded();
    // The installation's "Patch level", 0 when it names none.
    static std::uint32_t readPatchLevel();
    // True when neither algorithm nor any of the scenarios is there.
    static bool isNeeded();
    // Scenarios on a pruned 2005 guideline go to the kept one of the same body.
    static void repointScenarios();
    static void installAlgorithms();
    static void installScenarios();

    static std::vector<AlgorithmRecord> builtInAlgorithms();
    static std::vector<ScenarioRecord> builtInScenarios();
};

#pragma once
// A named session template (a row of the table "Scenario"): how long a
// session lasts, the algorithm that judges it, whether events are registered
// and the training mode. Copied by value.

#include "Database/TextMatch.h"

#include <string>

struct ScenarioRecord {
    std::string name;         // the key
    long duration = 600;      // seconds; -1 means no limit
    std::string algorithm;    // name of an algorithm row
    long registerEvents = 1;  // events are registered during the session
    long trainingMode = 1;    // training mode index

    void reset() { *this = ScenarioRecord(); }

    std::string getKey() const { return name; }
    void setKey(const std::string& key) { name = key; }
    bool matchesKey(const std::string& key) const { return textMatches(name, key, TextMatch::IgnoringCase); }
    static bool isValidKey(const std::string& key) { return !key.empty(); }

    bool operator==(const ScenarioRecord&) const = default;
};

// Takes a name typed or chosen as wide text.
void assignFromWide(ScenarioRecord& record, const std::wstring& name);

#pragma once
// One event of a scenario that the trainer can mark during a session (a row
// of the table "Events"), keyed by its scenario and its place in the list.

#include "Database/TextMatch.h"

#include <string>

struct EventKey {
    std::string scenario;
    long order = 0;
};

struct EventRecord {
    std::string scenario; // name of the owning scenario
    long order = 0;       // place in the scenario's list, from 0
    std::string name;     // short name on the event button
    std::string tooltip;
    long icon = 0;        // index in the station's icon list

    EventKey getKey() const { return {scenario, order}; }
    void setKey(const EventKey& key)
    {
        scenario = key.scenario;
        order = key.order;
    }
    bool matchesKey(const EventKey& key) const
    {
        return order == key.order && textMatches(scenario, key.scenario, TextMatch::IgnoringCase);
    }

    bool operator==(const EventRecord&) const = default;
};

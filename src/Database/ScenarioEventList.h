#pragma once
// The events of one scenario: loaded in their order (the seven default
// events when none are stored), saved as a whole in one transaction, and
// shown in a list control.

#include "Database/EventRecord.h"
#include "Database/EventTable.h"

#include <string>
#include <vector>

class EventListControl;

class ScenarioEventList {
public:
    explicit ScenarioEventList(const std::string& scenario);
    virtual ~ScenarioEventList();
    ScenarioEventList(const ScenarioEventList&) = delete;
    ScenarioEventList& operator=(const ScenarioEventList&) = delete;

    // The stored events, or the seven defaults in the current language when
    // none are stored; nothing without a database.
    std::vector<EventRecord> load();
    // Replaces the stored events by the list, renumbering its orders 0, 1, …
    // in place. All or nothing: false (after telling the user) when the
    // database refused, and then the stored events are as they were.
    bool save(std::vector<EventRecord>& events);

    // The seven events a scenario has until its own are saved.
    static std::vector<EventRecord> defaultEvents(const std::string& scenario);

    void setupListColumns(EventListControl& list);
    void fillList(EventListControl& list);
    static void showEvents(EventListControl& list, const std::vector<EventRecord>& events);
    static void sizeListColumns(EventListControl& list);

private:
    void openForScenario();

    std::string scenario_;
    EventTable table_;
    bool opened_ = false;
};

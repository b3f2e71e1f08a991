#include "Database/ScenarioEventList.h"

#include "Database/DBUtil.h"
#include "Database/Database.h"
#include "Database/DatabaseError.h"
#include "Database/EventListControl.h"
#include "Database/RowReplacement.h"
#include "Database/SqlIdentifier.h"
#include "Database/TablePool.h"
#include "Rodezir/LogStream.h"
#include "Rodezir/gstringUtil.h"
#include "gettext/Gettext.h"

#include <new>

namespace {
struct DefaultEvent {
    const char* name;
    const char* tooltip;
    long icon;
};

const DefaultEvent DEFAULT_EVENTS[] = {
    {"Own safety", "Pay attention to own safety", 96},
    {"Shake & shout", "Check conscious state", 1},
    {"Phone", "Call for help", 0},
    {"Airway", "Clear airway", 3},
    {"Head-tilt", "Open airway", 5},
    {"Breathing", "Check for breathing", 4},
    {"Pulse", "Check for pulse", 2},
};

std::string translated(const char* msgid) { return toNarrow(Gettext::translate(msgid), CP_ACP); }
} // namespace

ScenarioEventList::ScenarioEventList(const std::string& scenario) : scenario_(scenario), table_(theDatabase) {}

ScenarioEventList::~ScenarioEventList() = default;

std::vector<EventRecord> ScenarioEventList::defaultEvents(const std::string& scenario)
{
    std::vector<EventRecord> events;
    long order = 0;
    for (const DefaultEvent& event : DEFAULT_EVENTS)
        events.push_back({scenario, order++, translated(event.name), translated(event.tooltip), event.icon});
    return events;
}

// The table keeps only this scenario's rows in their saved order. Names match
// ignoring case, as the delete in save matches them, so a scenario never
// loads events that its save would leave behind.
void ScenarioEventList::openForScenario()
{
    if (opened_)
        return;
    table_.sort = quoteIdentifier("Order") + ", " + quoteIdentifier("RowId");
    table_.open("");
    opened_ = table_.isOpen;
}

std::vector<EventRecord> ScenarioEventList::load()
{
    openForScenario();
    if (!opened_)
        return {};
    std::vector<EventRecord> events;
    try {
        if (!DBUtil::emptyTable(table_)) {
            table_.moveFirst();
            while (table_.isCursorOpen() && !table_.isEOF()) {
                EventRecord event = table_.getRecord();
                if (textMatches(event.scenario, scenario_, TextMatch::IgnoringCase))
                    events.push_back(std::move(event));
                table_.moveNext();
            }
        }
    } catch (const DatabaseError&) {
    } catch (const std::bad_alloc&) {
    }
    if (events.empty())
        events = defaultEvents(scenario_);
    return events;
}

bool ScenarioEventList::save(std::vector<EventRecord>& events)
{
    openForScenario();
    if (!opened_)
        return false;
    long order = 0;
    for (EventRecord& event : events)
        event.order = order++;
    // A failure part way must never leave a scenario with both lists, or with neither.
    return replaceRows(
        table_, [&] { DBUtil::remove(table_.connection(), "Events", "Scenario", scenario_); }, events);
}

void ScenarioEventList::setupListColumns(EventListControl& list)
{
    list.insertColumn(0, "", EventListControl::Align::Right, 20);
    list.insertColumn(1, translated("Name"), EventListControl::Align::Left, 100);
    list.insertColumn(2, translated("Tooltip"), EventListControl::Align::Left, 100);
    list.setFullRowSelectOnly();
    list.setSmallIcons(0);
}

void ScenarioEventList::fillList(EventListControl& list) { showEvents(list, load()); }

void ScenarioEventList::showEvents(EventListControl& list, const std::vector<EventRecord>& events)
{
    list.deleteAllItems();
    for (std::size_t i = 0; i < events.size(); ++i) {
        const int index = static_cast<int>(i);
        list.insertItem(index, static_cast<int>(events[i].icon));
        list.setItemData(index, static_cast<long>(i));
        list.setItemText(index, 1, events[i].name);
        list.setItemText(index, 2, events[i].tooltip);
    }
    sizeListColumns(list);
}

// Name and tooltip share what the icon column leaves, about 40 to 60.
void ScenarioEventList::sizeListColumns(EventListControl& list)
{
    list.autoSizeColumn(0);
    const int rest = list.clientWidth() - list.columnWidth(0);
    const int nameWidth = 2 * static_cast<int>(0.2 * rest + 0.4);
    list.setColumnWidth(1, nameWidth);
    list.setColumnWidth(2, rest - nameWidth);
}

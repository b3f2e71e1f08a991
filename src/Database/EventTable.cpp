#include "Database/EventTable.h"

#include "Database/ColumnName.h"
#include "Database/DBUtil.h"
#include "Database/TablePool.h"
#include "Rodezir/LogStream.h"

EventTable::EventTable(DatabaseConnection& connection) : DatabaseTable(connection, TableKind::Events) {}

EventTable::~EventTable() { TablePool::remove(this); }

void EventTable::exchangeFields(FieldExchange& exchange)
{
    exchange.integer("Icon", icon_);
    exchange.text("Name", name_);
    exchange.integer("Order", order_);
    exchange.text("Scenario", scenario_);
    exchange.text("Tooltip", tooltip_);
}

std::string EventTable::getColumnText(const std::string& column)
{
    if (lowerColumnName(column) == "name")
        return name_;
    KOVA_ASSERT(false);
    return {};
}

EventRecord EventTable::getRecord() { return {scenario_, order_, name_, tooltip_, icon_}; }

void EventTable::setRecord(const EventRecord& record)
{
    scenario_ = record.scenario;
    order_ = record.order;
    name_ = record.name;
    tooltip_ = record.tooltip;
    icon_ = record.icon;
}

void EventTable::renameKey(const EventKey&, const EventKey&) {}

void EventTable::deleteKey(const EventKey& key, bool)
{
    DBUtil::remove(connection(), "Events", "Scenario", key.scenario);
    TablePool::refresh(TableKind::Events);
}

int EventTable::countKey(const EventKey& key)
{
    return countRows(
        [&] { return order_ == key.order && textMatches(scenario_, key.scenario, TextMatch::IgnoringCase); });
}

#pragma once
// The table "Events": the events of every scenario, keyed by scenario name
// and order. Deleting a key deletes every event of its scenario.

#include "Database/DatabaseTable.h"
#include "Database/EventRecord.h"

class EventTable : public DatabaseTable<EventRecord, EventKey> {
public:
    explicit EventTable(DatabaseConnection& connection);
    ~EventTable() override;

    std::string getColumnText(const std::string& column) override;
    EventRecord getRecord() override;
    void setRecord(const EventRecord& record) override;
    // A scenario's rename reaches its events through the scenario table.
    void renameKey(const EventKey& oldKey, const EventKey& newKey) override;
    void deleteKey(const EventKey& key, bool cascade) override;
    int countKey(const EventKey& key) override;

protected:
    void exchangeFields(FieldExchange& exchange) override;

private:
    long icon_ = 0;
    std::string name_;
    long order_ = 0;
    std::string scenario_;
    std::string tooltip_;
};

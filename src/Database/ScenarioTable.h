#pragma once
// The table "Scenario": scenario rows by name, the lookup that never fails,
// and the cascades of a renamed or deleted scenario into sessions, events
// and courses.

#include "Database/DatabaseTable.h"
#include "Database/ScenarioRecord.h"

class ScenarioTable : public DatabaseTable<ScenarioRecord> {
public:
    explicit ScenarioTable(DatabaseConnection& connection);
    ~ScenarioTable() override;

    std::string getColumnText(const std::string& column) override;
    ScenarioRecord getRecord() override;
    void setRecord(const ScenarioRecord& record) override;
    void renameKey(const std::string& oldName, const std::string& newName) override;
    void deleteKey(const std::string& name, bool cascade) override;
    int countKey(const std::string& name) override;
    void fillComboBox(ComboList& combo, const std::string& column, const std::string& filterText) override;

    // The scenario of that name (ignoring case), or the default scenario with
    // an empty name and algorithm when there is none.
    ScenarioRecord getScenario(const std::string& name);

protected:
    void exchangeFields(FieldExchange& exchange) override;

private:
    std::string algorithm_;
    long duration_ = 600;
    std::string name_;
    bool registerEvents_ = true;
    long trainingMode_ = 1;
};

#include "Database/ScenarioTable.h"

#include "Database/ColumnName.h"
#include "Database/DBUtil.h"
#include "Database/TablePool.h"
#include "Rodezir/LogStream.h"
#include "Rodezir/gstringUtil.h"

void assignFromWide(ScenarioRecord& record, const std::wstring& name) { record.name = toNarrow(name, CP_ACP); }

ScenarioTable::ScenarioTable(DatabaseConnection& connection) : DatabaseTable(connection, TableKind::Scenario) {}

ScenarioTable::~ScenarioTable() { TablePool::remove(this); }

void ScenarioTable::exchangeFields(FieldExchange& exchange)
{
    exchange.text("Algorithm", algorithm_);
    exchange.integer("Duration", duration_);
    exchange.text("Name", name_);
    exchange.flag("RegisterEvents", registerEvents_);
    exchange.integer("TrainingMode", trainingMode_);
}

std::string ScenarioTable::getColumnText(const std::string& column)
{
    const std::string name = lowerColumnName(column);
    if (name == "name")
        return name_;
    if (name == "algorithm")
        return algorithm_;
    KOVA_ASSERT(false);
    return {};
}

ScenarioRecord ScenarioTable::getRecord()
{
    ScenarioRecord record;
    record.name = name_;
    record.duration = duration_;
    record.algorithm = algorithm_;
    record.registerEvents = registerEvents_ ? 1 : 0;
    record.trainingMode = trainingMode_;
    return record;
}

void ScenarioTable::setRecord(const ScenarioRecord& record)
{
    name_ = record.name;
    duration_ = record.duration;
    algorithm_ = record.algorithm;
    registerEvents_ = record.registerEvents != 0;
    trainingMode_ = record.trainingMode;
}

void ScenarioTable::renameKey(const std::string& oldName, const std::string& newName)
{
    DBUtil::update(connection(), "Session", "Scenario", oldName, newName);
    TablePool::refresh(TableKind::Session);
    DBUtil::update(connection(), "Events", "Scenario", oldName, newName);
    TablePool::refresh(TableKind::Events);
    DBUtil::update(connection(), "Course", "DefaultScenario", oldName, newName);
    TablePool::refresh(TableKind::Course);
}

// Runs also on a closed table: the statements need only the connection.
void ScenarioTable::deleteKey(const std::string& name, bool cascade)
{
    if (cascade) {
        DBUtil::remove(connection(), "Session", "Scenario", name);
        TablePool::refresh(TableKind::Session);
        DBUtil::remove(connection(), "Events", "Scenario", name);
        TablePool::refresh(TableKind::Events);
        DBUtil::remove(connection(), "Course", "DefaultScenario", name);
        TablePool::refresh(TableKind::Course);
    }
    DBUtil::remove(connection(), "Scenario", "Name", name);
    TablePool::refresh(TableKind::Scenario);
}

int ScenarioTable::countKey(const std::string& name)
{
    return countRows([&] { return textMatches(name_, name, TextMatch::IgnoringCase); });
}

void ScenarioTable::fillComboBox(ComboList& combo, const std::string& column, const std::string& filterText)
{
    fillComboBoxFromColumn(combo, column, filterText);
}

ScenarioRecord ScenarioTable::getScenario(const std::string& name)
{
    if (isOpen && !DBUtil::emptyTable(*this)) {
        DBUtil::moveFirst(*this);
        while (isCursorOpen() && !isEOF()) {
            if (textMatches(name_, name, TextMatch::IgnoringCase))
                return getRecord();
            DBUtil::moveNext(*this);
        }
    }
    return ScenarioRecord();
}

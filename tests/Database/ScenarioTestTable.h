#pragma once
// A small table class on the frame, over the Scenario table, standing in for
// the real table classes; and a combo box that records what it was given.

#include "Database/ComboList.h"
#include "Database/DBUtil.h"
#include "Database/DatabaseTable.h"
#include "Database/TablePool.h"
#include "Database/TextMatch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

struct ScenarioRow {
    std::string name;
    long duration = 600;
    std::string algorithm;
    bool registerEvents = true;
    long trainingMode = 1;
};

class ScenarioTestTable : public DatabaseTable<ScenarioRow> {
public:
    explicit ScenarioTestTable(DatabaseConnection& connection) : DatabaseTable(connection, TableKind::Scenario) {}

    std::string getColumnText(const std::string& column) override
    {
        std::string name = column;
        std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
        if (name == "name")
            return name_;
        if (name == "algorithm")
            return algorithm_;
        return {};
    }
    ScenarioRow getRecord() override { return {name_, duration_, algorithm_, registerEvents_, trainingMode_}; }
    void setRecord(const ScenarioRow& row) override
    {
        name_ = row.name;
        duration_ = row.duration;
        algorithm_ = row.algorithm;
        registerEvents_ = row.registerEvents;
        trainingMode_ = row.trainingMode;
    }
    void renameKey(const std::string& oldKey, const std::string& newKey) override
    {
        DBUtil::update(connection(), "Scenario", "Name", oldKey, newKey);
        TablePool::refresh(TableKind::Scenario);
    }
    void deleteKey(const std::string& key, bool) override
    {
        DBUtil::remove(connection(), "Scenario", "Name", key);
        TablePool::refresh(TableKind::Scenario);
    }
    int countKey(const std::string& key) override
    {
        return countRows([&] { return textMatches(name_, key, TextMatch::IgnoringCase); });
    }
    void fillComboBox(ComboList& combo, const std::string& column, const std::string& filterText) override
    {
        fillComboBoxFromColumn(combo, column, filterText);
    }

    // Adds a row through the record set.
    void store(const ScenarioRow& row)
    {
        addNew();
        setRecord(row);
        EXPECT_TRUE(update()) << lastError();
    }

protected:
    void exchangeFields(FieldExchange& exchange) override
    {
        exchange.text("Algorithm", algorithm_);
        exchange.integer("Duration", duration_);
        exchange.text("Name", name_);
        exchange.flag("RegisterEvents", registerEvents_);
        exchange.integer("TrainingMode", trainingMode_);
    }

private:
    std::string algorithm_;
    long duration_ = 600;
    std::string name_;
    bool registerEvents_ = true;
    long trainingMode_ = 1;
};

class RecordingComboList : public ComboList {
public:
    std::string getText() override { return selected; }
    void clear() override
    {
        items.clear();
        ++clears;
    }
    void addItem(const std::string& text) override { items.push_back(text); }
    void selectString(const std::string& text) override
    {
        selected = std::find(items.begin(), items.end(), text) != items.end() ? text : std::string();
    }

    std::vector<std::string> items;
    std::string selected;
    int clears = 0;
};

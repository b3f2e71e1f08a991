#include "Database/AlgorithmTable.h"

#include "Database/ColumnName.h"
#include "Database/DBUtil.h"
#include "Database/DatabaseError.h"
#include "Database/TablePool.h"
#include "Rodezir/LogStream.h"

#include <new>

AlgorithmTable::AlgorithmTable(DatabaseConnection& connection) : DatabaseTable(connection, TableKind::Algorithm) {}

AlgorithmTable::~AlgorithmTable() { TablePool::remove(this); }

void AlgorithmTable::exchangeFields(FieldExchange& exchange)
{
    exchange.real("compDepthHigh", row_.compDepthHigh);
    exchange.real("compDepthLow", row_.compDepthLow);
    exchange.real("compRelaxHigh", row_.compRelaxHigh);
    exchange.real("compRelaxLow", row_.compRelaxLow);
    exchange.real("compRelaxRecc", row_.compRelaxRecc);
    exchange.real("eccRateHigh", row_.eccRateHigh);
    exchange.real("eccRateLow", row_.eccRateLow);
    exchange.integer("initVent", initVent_);
    exchange.text("Name", row_.Name);
    exchange.real("ventCompRatioDoubleComp", row_.ventCompRatioDoubleComp);
    exchange.real("ventCompRatioDoubleVent", row_.ventCompRatioDoubleVent);
    exchange.real("ventCompRatioSingleComp", row_.ventCompRatioSingleComp);
    exchange.real("ventCompRatioSingleVent", row_.ventCompRatioSingleVent);
    exchange.real("vRateHigh", row_.vRateHigh);
    exchange.real("vRateLow", row_.vRateLow);
    exchange.real("vVolHigh", row_.vVolHigh);
    exchange.real("vVolLow", row_.vVolLow);
    exchange.flag("builtIn", builtIn_);
    exchange.integer("pauseEccMax", pauseEccMax_);
}

std::string AlgorithmTable::getColumnText(const std::string& column)
{
    if (lowerColumnName(column) == "name")
        return row_.Name;
    KOVA_ASSERT(false);
    return {};
}

AlgorithmRecord AlgorithmTable::getRecord()
{
    AlgorithmRecord record = row_;
    record.initVent = static_cast<std::int32_t>(initVent_);
    record.builtIn = builtIn_;
    record.pauseEccMax = static_cast<std::int32_t>(pauseEccMax_);
    return record;
}

void AlgorithmTable::setRecord(const AlgorithmRecord& record)
{
    row_ = record;
    initVent_ = record.initVent;
    builtIn_ = record.builtIn;
    pauseEccMax_ = record.pauseEccMax;
}

void AlgorithmTable::renameKey(const std::string& oldName, const std::string& newName)
{
    DBUtil::update(connection(), "Session", "Algorithm", oldName, newName);
    TablePool::refresh(TableKind::Session);
    DBUtil::update(connection(), "Scenario", "Algorithm", oldName, newName);
    TablePool::refresh(TableKind::Scenario);
}

void AlgorithmTable::deleteKey(const std::string& name, bool cascade)
{
    if (!isOpen)
        return;
    if (cascade) {
        DBUtil::remove(connection(), "Session", "Algorithm", name);
        TablePool::refresh(TableKind::Session);
        DBUtil::remove(connection(), "Scenario", "Algorithm", name);
        TablePool::refresh(TableKind::Scenario);
    }
    DBUtil::remove(connection(), "Algorithm", "Name", name);
    TablePool::refresh(TableKind::Algorithm);
}

int AlgorithmTable::countKey(const std::string& name)
{
    return countRows([&] { return textMatches(row_.Name, name, TextMatch::IgnoringCase); });
}

void AlgorithmTable::fillComboBox(ComboList& combo, const std::string& column, const std::string& filterText)
{
    fillComboBoxFromColumn(combo, column, filterText);
}

AlgorithmRecord AlgorithmTable::getByName(const std::string& name)
{
    AlgorithmRecord defaults;
    defaults.Name = name;
    if (!isOpen)
        return defaults;
    DBUtil::moveFirst(*this);
    while (isCursorOpen() && !isEOF()) {
        if (textMatches(row_.Name, name, TextMatch::IgnoringCase))
            return getRecord();
        DBUtil::moveNext(*this);
    }
    return defaults;
}

// Rows of older guidelines go as soon as anyone opens the table; a database
// that refuses ends the pruning quietly, the next open tries again.
void AlgorithmTable::pruneBuiltIns()
{
    const auto kept = [](const std::string& name) {
        return name == KEPT_BUILT_INS[0] || name == KEPT_BUILT_INS[1];
    };
    try {
        moveFirst();
        while (isCursorOpen() && !isEOF()) {
            if (builtIn_ && !kept(row_.Name))
                deleteRow();
            moveNext();
        }
        moveFirst();
    } catch (const DatabaseError&) {
    } catch (const std::bad_alloc&) {
    }
}

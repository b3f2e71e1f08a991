#include "Database/CourseTable.h"

#include "Database/ColumnName.h"
#include "Database/ComboList.h"
#include "Database/DBUtil.h"
#include "Database/DatabaseError.h"
#include "Database/TablePool.h"
#include "Rodezir/LogStream.h"
#include "Rodezir/gstringUtil.h"

#include <new>

namespace {
const std::vector<std::string> SESSION_COURSE_COLUMNS = {"CourseInstructor", "CourseDate", "CourseTime"};
const std::vector<std::string> COURSE_COLUMNS = {"Instructor", "Date", "Time"};
} // namespace

CourseTable::CourseTable(DatabaseConnection& connection) : DatabaseTable(connection, TableKind::Course) {}

CourseTable::~CourseTable() { TablePool::remove(this); }

void CourseTable::exchangeFields(FieldExchange& exchange)
{
    exchange.text("Date", date_);
    exchange.text("DefaultScenario", defaultScenario_);
    exchange.text("Instructor", instructor_);
    exchange.text("Note", note_);
    exchange.text("Time", time_);
}

std::string CourseTable::getColumnText(const std::string& column)
{
    const std::string name = lowerColumnName(column);
    if (name == "instructor")
        return instructor_;
    if (name == "date")
        return date_;
    if (name == "time")
        return time_;
    KOVA_ASSERT(false);
    return {};
}

CourseRecord CourseTable::getRecord()
{
    CourseRecord record;
    record.instructor = instructor_;
    record.date = date_;
    record.time = time_;
    record.defaultScenario = defaultScenario_;
    record.note = note_;
    return record;
}

void CourseTable::setRecord(const CourseRecord& record)
{
    instructor_ = record.instructor;
    date_ = record.date;
    time_ = record.time;
    defaultScenario_ = record.defaultScenario;
    note_ = record.note;
}

void CourseTable::renameKey(const CourseKey& oldKey, const CourseKey& newKey)
{
    DBUtil::updateWhere(connection(), "Session", oldKey, newKey, SESSION_COURSE_COLUMNS);
    TablePool::refresh(TableKind::Session);
}

void CourseTable::deleteKey(const CourseKey& key, bool cascade)
{
    if (cascade) {
        DBUtil::removeWhere(connection(), "Session", key, SESSION_COURSE_COLUMNS);
        TablePool::refresh(TableKind::Session);
    }
    DBUtil::removeWhere(connection(), "Course", key, COURSE_COLUMNS);
    TablePool::refresh(TableKind::Course);
}

int CourseTable::countKey(const CourseKey& key)
{
    return countRows([&] {
        return textMatches(instructor_, key.instructor, TextMatch::IgnoringCase) && date_ == key.date
            && time_ == key.time;
    });
}

void CourseTable::fillComboBox(ComboList& combo, const std::string& column, const std::string& filterText)
{
    fillComboBoxFromColumn(combo, column, filterText);
}

void CourseTable::fillCourseComboBox(ComboList& combo)
{
    const std::string selected = combo.getText();
    combo.clear();
    try {
        if (isOpen && !DBUtil::emptyTable(*this)) {
            DBUtil::moveFirst(*this);
            while (isCursorOpen() && !isEOF()) {
                combo.addItem(toNarrow(getRecord().displayText(), CP_ACP));
                DBUtil::moveNext(*this);
            }
        }
    } catch (const DatabaseError&) {
    } catch (const std::bad_alloc&) {
    }
    combo.selectString(selected);
}

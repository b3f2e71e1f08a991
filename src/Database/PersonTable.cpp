#include "Database/PersonTable.h"

#include "Database/ColumnName.h"
#include "Database/DBUtil.h"
#include "Database/DatabaseError.h"
#include "Database/SqlIdentifier.h"
#include "Database/TablePool.h"
#include "Rodezir/LogStream.h"

#include <new>

namespace {
// The session columns that name a person, in the order the cascades visit them.
const char* const SESSION_PERSON_COLUMNS[] = {"PersonVentilation", "PersonChestCompression", "CourseInstructor",
                                              "ApprovedBy"};
} // namespace

PersonTable::PersonTable(DatabaseConnection& connection) : DatabaseTable(connection, TableKind::Person)
{
    row_.cprCourses.clear();
    row_.resuscitations.clear();
}

PersonTable::~PersonTable() { TablePool::remove(this); }

void PersonTable::exchangeFields(FieldExchange& exchange)
{
    exchange.text("Address", row_.address);
    exchange.text("Degree", row_.degree);
    exchange.flag("Instructor", row_.instructor);
    exchange.text("Name", row_.name);
    exchange.text("Note", row_.note);
    exchange.text("Phone", row_.phone);
    exchange.text("CPRCourses", row_.cprCourses);
    exchange.text("Resuscitations", row_.resuscitations);
}

std::string PersonTable::getColumnText(const std::string& column)
{
    const std::string name = lowerColumnName(column);
    const std::pair<const char*, const std::string*> columns[] = {
        {"address", &row_.address}, {"degree", &row_.degree},         {"name", &row_.name},
        {"note", &row_.note},       {"phone", &row_.phone},           {"cprcourses", &row_.cprCourses},
        {"resuscitations", &row_.resuscitations},
    };
    for (const auto& [known, value] : columns)
        if (name == known)
            return *value;
    KOVA_ASSERT(false);
    return {};
}

PersonRecord PersonTable::getRecord() { return row_; }

void PersonTable::setRecord(const PersonRecord& record) { row_ = record; }

void PersonTable::renameKey(const std::string& oldName, const std::string& newName)
{
    for (const char* column : SESSION_PERSON_COLUMNS)
        DBUtil::update(connection(), "Session", column, oldName, newName);
    TablePool::refresh(TableKind::Session);
    DBUtil::update(connection(), "Course", "Instructor", oldName, newName);
    TablePool::refresh(TableKind::Course);
}

void PersonTable::deleteKey(const std::string& name, bool cascade)
{
    if (cascade) {
        for (const char* column : SESSION_PERSON_COLUMNS)
            DBUtil::remove(connection(), "Session", column, name);
        TablePool::refresh(TableKind::Session);
        DBUtil::remove(connection(), "Course", "Instructor", name);
        TablePool::refresh(TableKind::Course);
    }
    DBUtil::remove(connection(), "Person", "Name", name);
    TablePool::refresh(TableKind::Person);
}

int PersonTable::countKey(const std::string& name)
{
    return countRows([&] { return textMatches(row_.name, name, TextMatch::IgnoringCase); });
}

void PersonTable::fillComboBox(ComboList& combo, const std::string& column, const std::string& filterText)
{
    fillComboBoxFromColumn(combo, column, filterText);
}

// A participant the database could not take is not there: the caller must
// not count on a row that was never written.
std::string PersonTable::instructorsOnly() { return quoteIdentifier("Instructor") + " <> 0"; }

bool PersonTable::addPerson(const std::string& name, bool instructor)
{
    if (!isOpen || name.empty())
        return false;
    if (countKey(name) > 0)
        return false;
    PersonRecord person;
    person.name = name;
    person.instructor = instructor;
    try {
        addNew();
        setRecord(person);
        if (update())
            return true;
        cancelUpdate();
        return false;
    } catch (const DatabaseError& error) {
        cancelUpdate();
        LogStream::instance() << "PersonTable::addPerson: " << error.what();
    } catch (const std::bad_alloc&) {
        cancelUpdate();
        constexpr bool FALSE = false;
        KOVA_ASSERT(FALSE);
    }
    return false;
}

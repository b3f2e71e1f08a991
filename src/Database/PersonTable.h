#pragma once
// The table "Person": persons by name, adding a missing participant, and the
// cascades of a renamed or deleted person into sessions and courses.

#include "Database/DatabaseTable.h"
#include "Database/PersonRecord.h"

class PersonTable : public DatabaseTable<PersonRecord> {
public:
    explicit PersonTable(DatabaseConnection& connection);
    ~PersonTable() override;

    std::string getColumnText(const std::string& column) override;
    PersonRecord getRecord() override;
    void setRecord(const PersonRecord& record) override;
    void renameKey(const std::string& oldName, const std::string& newName) override;
    void deleteKey(const std::string& name, bool cascade) override;
    int countKey(const std::string& name) override;
    void fillComboBox(ComboList& combo, const std::string& column, const std::string& filterText) override;

    // Adds a person of that name unless one exists (ignoring case). True
    // only when the row was stored; a row the database refused leaves its
    // reason in lastError().
    bool addPerson(const std::string& name, bool instructor);
    // The filter of the instructors' lists: persons marked as instructors.
    static std::string instructorsOnly();

protected:
    void exchangeFields(FieldExchange& exchange) override;

private:
    PersonRecord row_;
};

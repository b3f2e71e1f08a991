#pragma once
// The table "Course": planned courses by key, the combo box of their display
// texts, and the cascades of a changed or deleted course into its sessions.

#include "Database/CourseRecord.h"
#include "Database/DatabaseTable.h"

class CourseTable : public DatabaseTable<CourseRecord, CourseKey> {
public:
    explicit CourseTable(DatabaseConnection& connection);
    ~CourseTable() override;

    std::string getColumnText(const std::string& column) override;
    CourseRecord getRecord() override;
    void setRecord(const CourseRecord& record) override;
    void renameKey(const CourseKey& oldKey, const CourseKey& newKey) override;
    void deleteKey(const CourseKey& key, bool cascade) override;
    int countKey(const CourseKey& key) override;
    void fillComboBox(ComboList& combo, const std::string& column, const std::string& filterText) override;

    // Every course's display text, keeping the combo box's selected text.
    void fillCourseComboBox(ComboList& combo);

protected:
    void exchangeFields(FieldExchange& exchange) override;

private:
    std::string date_;
    std::string defaultScenario_;
    std::string instructor_;
    std::string note_;
    std::string time_;
};

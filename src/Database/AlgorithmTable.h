#pragma once
// The table "Algorithm": guideline limits by name, the lookup that always
// gives a usable parameter set, the pruning of obsolete built-in rows at
// every open, and the cascades of a renamed or deleted algorithm into
// sessions and scenarios.

#include "config/AlgorithmRecord.h"
#include "Database/DatabaseTable.h"

class AlgorithmTable : public DatabaseTable<AlgorithmRecord> {
public:
    // The built-in rows every open keeps; other built-in rows are obsolete.
    static constexpr const char* KEPT_BUILT_INS[] = {"AHA 2010 (American Heart Association)",
                                                     "ERC 2010 (European Resuscitation Council)"};

    explicit AlgorithmTable(DatabaseConnection& connection);
    ~AlgorithmTable() override;

    std::string getColumnText(const std::string& column) override;
    AlgorithmRecord getRecord() override;
    void setRecord(const AlgorithmRecord& record) override;
    void renameKey(const std::string& oldName, const std::string& newName) override;
    void deleteKey(const std::string& name, bool cascade) override;
    int countKey(const std::string& name) override;
    void fillComboBox(ComboList& combo, const std::string& column, const std::string& filterText) override;

    // The algorithm of that name (ignoring case; the name as stored), or the
    // default limits under the requested name.
    AlgorithmRecord getByName(const std::string& name);

protected:
    void afterOpen() override { pruneBuiltIns(); }
    void exchangeFields(FieldExchange& exchange) override;

private:
    void pruneBuiltIns();

    AlgorithmRecord row_;
    long initVent_ = 2;
    bool builtIn_ = false;
    long pauseEccMax_ = 0;
};

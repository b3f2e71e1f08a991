#pragma once
// The "Person" editor (dialog 216): one trainee or instructor at a time,
// browsed, found, created, changed and removed with the rules every record
// editor shares. Opened from the Database menu on a new entry, or from a
// "Details..." button on the name its field holds.

#include "Database/PersonRecord.h"
#include "Database/PersonTable.h"
#include "Database/editors/RecordEditorDialog.h"

#include <string>

class PersonDialog : public RecordEditorDialog<PersonTable, PersonRecord> {
    Q_OBJECT
public:
    static constexpr int TEMPLATE_ID = 216;
    static constexpr int HELP_TOPIC = 10009;

    // On the person of that name, else a new entry under it (ticked as an
    // instructor with `instructorPreset`, which also ticks every new entry).
    PersonDialog(const std::string& initialName, bool instructorPreset, bool allowDelete, QWidget* parent = nullptr);
    ~PersonDialog() override;

    // Runs the dialog modally; the name it ended on is getCurrentKey().
    int run() { return doModal(); }

protected:
    bool onInitDialog() override;

    void showRecord(const PersonRecord& record) override;
    PersonRecord readRecord() override;
    bool isChanged() override;
    void enableButtons(unsigned mask) override;
    std::wstring message(int kind) override;
    void notifyChanged() override;
    void fillQuickFind() override;
    void onNewButton() override;

private:
    std::string text(int id) const;

    PersonTable table_;
    std::string initialName_;
    bool instructorPreset_;
};

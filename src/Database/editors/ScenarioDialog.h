#pragma once
// The "Scenario" editor (dialog 220): a scenario's length, algorithm,
// training mode and event registration, with the algorithm editor behind
// "Details..." and the scenario's event list behind "Edit events...".
// Opened from the Database menu on a new default entry, or from a
// "Details..." button on the opener's scenario.

#include "Database/ScenarioRecord.h"
#include "Database/ScenarioTable.h"
#include "Database/editors/RecordEditorDialog.h"

class ScenarioDialog : public RecordEditorDialog<ScenarioTable, ScenarioRecord> {
    Q_OBJECT
public:
    static constexpr int TEMPLATE_ID = 220;
    static constexpr int HELP_TOPIC = 10010;
    static constexpr int DURATION = 1076;
    static constexpr int ALGORITHM = 1080;
    static constexpr int ALGORITHM_DETAILS = 1084;
    static constexpr int TRAINING_MODE = 1103;
    static constexpr int EDIT_EVENTS = 1174;
    static constexpr int REGISTER_EVENTS = 1191;

    // On the stored scenario of the record's name, else a new entry that
    // carries the record's values.
    ScenarioDialog(const ScenarioRecord& initialRecord, bool allowDelete, QWidget* parent = nullptr);
    ~ScenarioDialog() override;

    // Runs the dialog modally; the name it ended on is getCurrentKey().
    int run() { return doModal(); }

    // "Details..." beside the algorithm and "Edit events...".
    void onAlgorithmDetails();
    void onEditEvents();

protected:
    bool onInitDialog() override;

    void showRecord(const ScenarioRecord& record) override;
    ScenarioRecord readRecord() override;
    bool isChanged() override;
    void enableButtons(unsigned mask) override;
    std::wstring message(int kind) override;
    void notifyChanged() override;
    void fillQuickFind() override;

private:
    QComboBox* box(int id) const;
    std::string algorithmText() const;
    // A typed or chosen length is read once the box has taken it.
    void onDurationChanged();

    ScenarioTable table_;
    ScenarioRecord initialRecord_;
};

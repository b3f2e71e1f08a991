#pragma once
// The "Session" dialog (222): one stored or planned session's participants,
// training mode, scenario, algorithm, length, manikin, metronome, approval
// and notes, saved or discarded with the record editor's rules. A session
// that has been run opens its graphs or its debriefing, and may be deleted
// with its data file when the opener allows it.

#include "Database/AlgorithmTable.h"
#include "Database/stored-sessions/DataFileRemoval.h"
#include "Database/PersonTable.h"
#include "Database/ScenarioTable.h"
#include "Database/SessionRecord.h"
#include "Database/SessionTable.h"
#include "Database/editors/RecordEditorDialog.h"

#include <functional>
#include <memory>
#include <string>

struct AlgorithmRecord;

class SessionDialog : public RecordEditorDialog<SessionTable, SessionRecord> {
    Q_OBJECT
public:
    static constexpr int TEMPLATE_ID = 222;
    static constexpr int HELP_TOPIC = 10012;
    static constexpr int TRAINING_MODE = 1103;
    static constexpr int VENTILATION = 1079;
    static constexpr int COMPRESSION = 1078;
    static constexpr int SCENARIO = 1077;
    static constexpr int ALGORITHM = 1080;
    static constexpr int DURATION = 1076;
    static constexpr int METRONOME = 1096;
    static constexpr int MANIKIN = 1104;
    static constexpr int DATE = 1129;
    static constexpr int START_TIME = 1109;
    static constexpr int COURSE_INSTRUCTOR = 1028;
    static constexpr int APPROVED = 1020;
    static constexpr int APPROVED_BY = 1241;
    static constexpr int NOTES = 1121;
    static constexpr int VENTILATION_DETAILS = 1083;
    static constexpr int COMPRESSION_DETAILS = 1088;
    static constexpr int SCENARIO_DETAILS = 1090;
    static constexpr int ALGORITHM_DETAILS = 1093;
    static constexpr int INSTRUCTOR_DETAILS = 1098;
    static constexpr int APPROVED_BY_DETAILS = 1100;
    static constexpr int GRAPH = 1268;
    static constexpr int DEBRIEFING = 1255;

    // What the session's graphs or debriefing were opened on: the dialog
    // keeps it until it opens them again or closes.
    class Inspection {
    public:
        virtual ~Inspection() = default;
    };
    // Shows a stored session (its record bound to its data file) with its
    // graphs or its debriefing, modally over the parent, and hands back what
    // it opened. The windowed program installs it at start-up; without one
    // "Graph..." and "Debriefing..." stay disabled.
    using Inspector = std::function<std::unique_ptr<Inspection>(const SessionRecord& record,
                                                                const AlgorithmRecord& algorithm,
                                                                bool showDebriefing, QWidget* parent)>;
    static void setInspector(Inspector inspector);
    static bool hasInspector();

    // On the stored session of the record's serial identifier, else on the
    // record as a new entry that Save changes adds.
    SessionDialog(const SessionRecord& record, bool allowDelete, QWidget* parent = nullptr);
    ~SessionDialog() override;

    // Runs the dialog modally; currentRecord() holds the record as last
    // saved, or as given when nothing was saved.
    int run() { return doModal(); }

    // "Graph..." (false) and "Debriefing..." (true).
    void openSession(bool showDebriefing);
    // "Delete session": the data file and the row go, then the dialog closes.
    void onDelete();
    // A scenario was chosen: its algorithm, length and training mode.
    void applyScenario();
    // Clears the scenario when the algorithm, length or mode left it.
    void scenarioCheck();

    // "3 - USB" for a COM port, "257 - " and the manikin's name for a
    // wireless one; empty for a value that is no port.
    static std::string manikinText(long port);

protected:
    bool onInitDialog() override;
    void onOK() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    void showRecord(const SessionRecord& record) override;
    SessionRecord readRecord() override;
    bool isChanged() override;
    void enableButtons(unsigned mask) override;
    std::wstring message(int kind) override;
    void notifyChanged() override;
    void fillQuickFind() override;
    void beforeRemove() override;

private:
    QComboBox* box(int id) const;
    std::string comboText(int id) const;
    std::string text(int id) const;
    void select(int id, const std::string& text);
    long selectedDuration() const;
    long selectedManikin() const;
    void fillManikinList();
    void enableByDone();
    void onTrainingMode();
    void fillParticipantsWithDefaults();
    void onParticipantChanged(int changed, int other);
    void queueScenarioCheck();
    void showPersonDetails(int comboId, const std::string& name, bool instructor, bool selectResult);
    void showScenarioDetails();
    void showAlgorithmDetails();

    SessionTable sessionTable_;
    PersonTable personTable_;
    ScenarioTable scenarioTable_;
    AlgorithmTable algorithmTable_;
    SessionRecord given_;
    std::unique_ptr<Inspection> opened_;
    // The data file of a session being deleted, until the delete is settled.
    DataFileRemoval dataFile_;
    bool checkQueued_ = false;
};

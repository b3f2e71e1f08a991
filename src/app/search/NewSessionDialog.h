#pragma once
// The "New session" window: the instructor chooses a scenario (which fills
// in its algorithm, duration, event registration and training mode), the
// two participants and a ready manikin, then starts a live session on it.
// It lives in the application's New-session frame, which hides rather than
// closes; every showing reads the lists again from the records and the port
// registry.

#include "Rodezir/SlotHolder.h"
#include "app/shell/ChildDialog.h"

#include <memory>
#include <string>

class QComboBox;
struct AlgorithmRecord;
class ScenarioTable;
struct SessionRecord;

class NewSessionDialog : public ChildDialog, public SlotHolder {
    Q_OBJECT
public:
    static constexpr int TEMPLATE_ID = 146;
    static constexpr int IDC_SCENARIO = 1077;
    static constexpr int IDC_SCENARIO_DETAILS = 1081;
    static constexpr int IDC_ALGORITHM = 1080;
    static constexpr int IDC_ALGORITHM_DETAILS = 1084;
    static constexpr int IDC_DURATION = 1381;
    static constexpr int IDC_REGISTER_EVENTS = 1085;
    static constexpr int IDC_MANIKIN = 1104;
    static constexpr int IDC_ADD_MANIKIN = 1101;
    static constexpr int IDC_TRAINING_MODE = 1103;
    static constexpr int IDC_VENTILATION = 1079;
    static constexpr int IDC_VENTILATION_DETAILS = 1083;
    static constexpr int IDC_COMPRESSION = 1078;
    static constexpr int IDC_COMPRESSION_DETAILS = 1082;
    static constexpr int IDC_CONFIGURATION = 1337;
    static constexpr int IDC_COURSE_PLANNER = 3;
    static constexpr int IDC_CONTINUE = 1; // IDOK
    static constexpr int HELP_TOPIC = 10001;
    // The most characters of a participant's name.
    static constexpr int PARTICIPANT_LIMIT = 80;
    // The pause before a start, so the manikin's last calibration is over.
    static constexpr unsigned START_DELAY_MS = 200;

    NewSessionDialog();
    ~NewSessionDialog() override;

    // Reads the manikins, persons, algorithms and scenarios again, keeping the choices.
    void refill();
    // Puts the chosen scenario's algorithm, duration, events and mode into the controls.
    void loadScenario();
    // Clears the scenario choice once the other choices no longer equal it.
    void scenarioCheck();
    // Starts a session on the chosen manikin (Continue).
    void start();

    // The session's record as the choices give it (a new identity and the
    // time now), on that port.
    SessionRecord sessionRecord(int port) const;

    // What the frame's showing and hiding tell the dialog.
    void onFrameShow(bool show, int status) override;
    void help() override;

protected:
    bool onInitDialog() override;
    void onOK() override;
    void onCancel() override;

private:
    QComboBox* combo(int id) const;
    std::string text(int id) const;
    int trainingMode() const;
    bool fillManikins();
    void fillParticipants();
    void onTrainingModeChosen();
    void mirrorParticipant(int from, int to);
    void onPortsChanged();
    void onSessionsChanged();
    void enableConfiguration();
    void editPerson(int comboId);
    void editAlgorithm();
    void editScenario();
    void runCoursePlanner();
    void failStart(int port);
    static int sessionCount();
    void connectSessions();
    void launchSession(const SessionRecord& record, const AlgorithmRecord& algorithm);

    std::unique_ptr<ScenarioTable> scenarios_;
};

#pragma once
// The review panel of a session that has just been run (template 223): the
// instructor completes its record (participants, approval, notes, whether
// the metronome was used), goes back to the debriefing or prints it, and the
// session is stored from here, its row and its data file together, with the
// record editor's rules over the table "Session".

#include "Database/SessionRecord.h"
#include "Database/SessionTable.h"
#include "Database/editors/DatabaseDialog.h"
#include "app/sessions/SessionPanel.h"

#include <functional>
#include <string>

class DataFileChange;
class QComboBox;

class SessionDatabaseView : public SessionPanel, public DatabaseDialog<SessionTable, SessionRecord> {
    Q_OBJECT
public:
    using Rules = DatabaseDialog<SessionTable, SessionRecord>;

    static constexpr int TEMPLATE_ID = 223;
    static constexpr int HELP_TOPIC = 10004;
    static constexpr int IDC_TRAINING_MODE = 1103;
    static constexpr int IDC_VENTILATION = 1079;
    static constexpr int IDC_COMPRESSION = 1078;
    static constexpr int IDC_SCENARIO = 1077;
    static constexpr int IDC_ALGORITHM = 1080;
    static constexpr int IDC_DURATION = 1076;
    static constexpr int IDC_METRONOME = 1096;
    static constexpr int IDC_MANIKIN = 1131;
    static constexpr int IDC_DATE = 1129;
    static constexpr int IDC_START_TIME = 1109;
    static constexpr int IDC_COURSE_INSTRUCTOR = 1028;
    static constexpr int IDC_APPROVED = 1020;
    static constexpr int IDC_APPROVED_BY = 1241;
    static constexpr int IDC_NOTES = 1121;
    static constexpr int IDC_VENTILATION_DETAILS = 1083;
    static constexpr int IDC_COMPRESSION_DETAILS = 1082;
    static constexpr int IDC_SCENARIO_DETAILS = 1090;
    static constexpr int IDC_ALGORITHM_DETAILS = 1093;
    static constexpr int IDC_INSTRUCTOR_DETAILS = 1098;
    static constexpr int IDC_APPROVED_BY_DETAILS = 1100;
    static constexpr int IDC_DEBRIEFING = 1255;
    static constexpr int IDC_PRINT = 1072;
    static constexpr int IDC_ABORT = 2;

    // Prints a session's results (the review passes 1 as the flag). The
    // program installs it with its printing; without one "Print..." stays
    // disabled.
    using Printer = std::function<void(Session& session, int flag)>;
    static void setPrinter(Printer printer);
    static bool hasPrinter();

    explicit SessionDatabaseView(Session& session);
    ~SessionDatabaseView() override;

    // Stores the session as done with its results: the row, then the data
    // file, and the row's change is committed only once the file is written.
    // False, after telling the user, when either failed; the session keeps
    // its data and the panel its fields.
    bool save() override;
    // Ticks (or clears) "Metronome used" once the window exists.
    void setMetronomeUsed(bool used) override;
    // The review shows no live data.
    void newData(int) override {}
    void help() override;

    // Puts template 223 into the dialog registry (done by the constructor when missing).
    static void registerTemplate();

protected:
    bool onInitDialog() override;

    void showRecord(const SessionRecord& record) override;
    SessionRecord readRecord() override;
    bool isChanged() override;
    void enableButtons(unsigned) override {}
    std::wstring message(int kind) override;
    void notifyChanged() override;
    void fillQuickFind() override;
    bool afterStore() override;
    void beforeRemove() override;
    bool confirmRemove() override { return false; }
    void showWaitCursor(bool on) override;

private:
    QComboBox* box(int id) const;
    std::string comboText(int id) const;
    // The panel's fields into the session's record.
    void handRecordToSession();
    void showPersonDetails(int comboId, const std::string& name, bool instructor, bool selectResult);
    void showScenarioDetails();
    void showAlgorithmDetails();

    SessionTable table_;
    bool saved_ = false;
    // The data file's change of the store under way, if any.
    DataFileChange* dataFile_ = nullptr;
};

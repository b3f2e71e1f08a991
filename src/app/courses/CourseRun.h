#pragma once
// A course being run, free of windows: the course's schedule (eight rows
// shown at a time, rows moved whole), beside each row the live session
// started from it, the starts, resumes and pauses of those sessions with the
// problems they meet, each row following its session (state, saves, record,
// closing), the question to every session before the rows go, and writing
// the rows back as the course's sessions. The run-course window shows it.

#include "Database/CourseRecord.h"
#include "Database/SessionRecord.h"
#include "Database/course-planner/CourseSchedule.h"
#include "Rodezir/SlotHolder.h"

#include <vector>

class AlgorithmTable;
class PersonTable;
class Session;
class SessionTable;
class SignalConnection;

class CourseRun : public virtual SlotHolder {
public:
    static constexpr int VISIBLE_ROWS = 8;

    // The window over the run: the run tells it what to show again.
    class View {
    public:
        virtual ~View() = default;
        // The rows changed: show them all again.
        virtual void refreshRows() = 0;
        // A session's state changed: only the buttons, done boxes and Details texts.
        virtual void updateRowStates() = 0;
        // The ports changed under a failed start: the manikin lists are read again.
        virtual void refillChoices() = 0;
        // A session window opened over the run: the run's window comes to the front again.
        virtual void showWindow() = 0;
    };

    // What the controls of one row allow and show.
    struct RowState {
        bool personsByMode = true; // the person boxes open as the training mode needs, else both closed
        bool fieldsEnabled = false; // scenario, manikin, start and end
        bool detailsEnabled = false;
        bool sessionDetails = false; // Details reads "Session..." (a session exists)
        bool startEnabled = false;
        bool startPressed = false;
        bool pauseEnabled = false;
        bool pausePressed = false;
        bool done = false;
    };

    enum class StartResult {
        Started,        // a new session collects on the row's manikin
        Resumed,        // the row's session collects again
        InvalidManikin, // no port 1 to 512: told
        ManikinTaken,   // another session holds the port: told
        LinkProblem,    // the link did not open, or the port is not calibrated: told, link closed
        Refused,        // nothing to start on this row (beep)
    };

    enum class RemoveResult {
        Removed,
        Refused,       // nothing to remove on this row (beep)
        KeptBySession, // the row's session would not close
        KeptByUser,    // the row's finished session stays: the user said No
    };

    // The tables are opened by the window, which owns them.
    CourseRun(const CourseRecord& course, CourseSchedule::Sources& sources, AlgorithmTable& algorithms, View& view);
    // Stops listening to every session it started; the session manager keeps them.
    ~CourseRun() override;
    CourseRun(const CourseRun&) = delete;
    CourseRun& operator=(const CourseRun&) = delete;

    const CourseRecord& course() const { return course_; }
    const CourseSchedule& schedule() const { return schedule_; }
    CourseSchedule& schedule() { return schedule_; }
    // The session started from row `index`, null while there is none.
    Session* session(int index) const;
    int listenedSessions() const { return static_cast<int>(listening_.size()); }

    // The course's stored rows; none is selected until the user chooses one.
    void load(std::vector<SessionRecord> rows);
    // The blank row at the end, and a session place beside every row.
    void refresh();
    RowState rowState(int index) const;

    // The row commands on the selected row; false when the rows do not allow it.
    bool moveUp();
    bool moveDown();
    // A row with a session goes only when the session agrees to close, a
    // finished row only when the user agrees that its stored result goes too.
    RemoveResult removeSelected();

    // '>' of the row: a new session on the row's manikin, or the row's session resumed.
    StartResult start(int index);
    // '>|' of the row; false when the row has no session.
    bool pause(int index);

    // Every session of the rows is asked whether it may close; when all
    // agree, their windows go (and the rows forget them). False at the
    // first refusal, with every session left as it was.
    bool mayClose();
    // Writes back the rows this run changed and removed (the blank row is no
    // session), and nothing else of the course: another station may be
    // running its other rows. A row another station finished stays finished.
    // Adds the rows' new participants to the persons. False, after the user
    // was told, when the database refused: the rows stay modified.
    bool writeRows(SessionTable& sessions, PersonTable& persons);

private:
    struct Listening {
        Session* session;
        SignalConnection* stateChanged;
        SignalConnection* saved;
        SignalConnection* recordChanged;
        SignalConnection* closing;
    };

    void keepSessionsInStep();
    StartResult startNew(int index);
    void listenTo(Session& session);
    static void disconnect(Listening& entry);

    // The session's listeners.
    void onSessionState();
    void onRecordChanged(Session* session);
    void onClosing(Session* session);

    CourseRecord course_;
    CourseSchedule schedule_;
    AlgorithmTable& algorithms_;
    View& view_;
    // Beside each row of the schedule, in step with it.
    std::vector<Session*> sessionsRunning;
    std::vector<Listening> listening_;
};

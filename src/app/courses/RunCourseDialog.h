#pragma once
// The "Run course" window (dialog 219): the schedule of one course, eight
// rows at a time, from which the instructor starts and pauses each row's
// session on its manikin, still changes the participants, scenario, manikin
// and start time of rows not yet run, opens a row's details, moves and
// removes rows and prints the schedule. The rows and their sessions live in
// CourseRun; this window shows them and reports what the user does. The
// rows are written back as the course's sessions when the window closes.

#include "Database/AlgorithmTable.h"
#include "Database/CourseRecord.h"
#include "Database/CourseTable.h"
#include "Database/PersonTable.h"
#include "Database/ScenarioTable.h"
#include "Database/SessionTable.h"
#include "Database/course-planner/CourseScheduleSources.h"
#include "app/courses/CourseRun.h"
#include "app/shell/ChildDialog.h"

#include <string>

class QComboBox;
class QScrollBar;

namespace kova {
class MaskedEdit;
}

class RunCourseDialog : public ChildDialog, public CourseRun::View {
    Q_OBJECT
public:
    static constexpr int TEMPLATE_ID = 219;
    static constexpr int HELP_TOPIC = 10011;
    static constexpr int VISIBLE_ROWS = CourseRun::VISIBLE_ROWS;

    static constexpr int INSTRUCTOR = 1028;
    static constexpr int DATE = 1129;
    static constexpr int START_TIME = 1109;
    static constexpr int SCROLL_BAR = 1256;
    static constexpr int HIGHLIGHT = 1281;
    static constexpr int MOVE_UP = 1108;
    static constexpr int MOVE_DOWN = 1166;
    static constexpr int REMOVE_ROW = 1168;
    static constexpr int SORT = 1167;
    static constexpr int PRINT = 1169;
    static constexpr int CLOSE = 2;

    // The controls of one visible row.
    struct RowControls {
        int number, ventilation, compression, scenario, manikin, start, end, done, play, pause, details;
    };
    static const RowControls ROWS[VISIBLE_ROWS];

    explicit RunCourseDialog(const CourseRecord& course);
    // Writes the rows when they changed since they were last written.
    ~RunCourseDialog() override;

    // Asks every session of the rows whether it may close; when all agree,
    // their windows go and the changed rows are written. False while a
    // session refuses or the database refuses the rows: the window and its
    // rows stay. The frame asks before it closes any way at all.
    bool canClose() override;
    // The frame's close box and Ctrl+F4 end the window as Close does: the
    // station goes on to a new session.
    void onFrameClosed() override;
    void help() override;

    const CourseRun& run() const { return run_; }
    // The visible row the highlight stands behind (1 to 8), 0 for none.
    int highlightedRow() const { return highlightedRow_; }

    // The commands of the buttons, as the buttons call them.
    void startRow(int visibleRow);
    void pauseRow(int visibleRow);
    void showRowDetails(int visibleRow);
    void moveRowUp();
    void moveRowDown();
    void removeRow();
    void printSchedule();

    // CourseRun::View
    void refreshRows() override;
    void updateRowStates() override;
    void refillChoices() override;
    void showWindow() override;

protected:
    bool onInitDialog() override;
    // Enter moves on to the next field; the window never closes on it.
    void onOK() override;
    // Close and Escape: the sessions are asked, the rows written, and the
    // station goes on to a new session.
    void onCancel() override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void bindControls();
    void bindNotifications();
    void showCourse();

    QComboBox* box(int id) const;
    kova::MaskedEdit* masked(int id) const;
    std::string comboText(int id) const;

    void showRows(int count);
    void setRowsVisible(int count);
    void highlightRow(int visibleRow);
    void onScroll(int action);
    // Takes back what every visible row's controls hold.
    void commitRows();
    // What the field being edited holds counts before the rows move.
    void commitFocusedRow();
    // Row times from the row's start edit, for a row not yet run.
    void applyRowStartTime(int visibleRow);
    void onScenarioChosen(int visibleRow);
    // Commit and refresh after the user left a field.
    void onRowLeft();
    int visibleRowOf(const QWidget* control) const;
    // Writes the rows back; false when the database refused them.
    bool writeRows();
    // After the window closed: New session, unless the program is ending.
    static void goOnToNewSession();

    CourseTable courseTable_;
    SessionTable sessionTable_;
    ScenarioTable scenarioTable_;
    AlgorithmTable algorithmTable_;
    PersonTable personTable_;
    CourseScheduleSources sources_;
    CourseRun run_;
    QScrollBar* scrollBar_ = nullptr;
    int highlightedRow_ = 0;
    bool refreshing_ = false;
    bool scrolling_ = false;
};

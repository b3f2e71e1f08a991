#pragma once
// The "Course planner" (dialog 217): one course (instructor, date, start
// time, default scenario, notes) and its schedule of sessions, browsed,
// found, stored and deleted with the rules every record editor shares. The
// schedule's rules live in CourseSchedule; this window shows four of its
// rows at a time and reports what the user does to them. "Print schedule"
// prints the stored rows; "Run course..." stores the course and hands it to
// the application, which runs it in a window of its own.

#include "Database/CourseRecord.h"
#include "Database/CourseTable.h"
#include "Database/stored-sessions/DataFileRemoval.h"
#include "Database/PersonTable.h"
#include "Database/ScenarioTable.h"
#include "Database/SessionRecord.h"
#include "Database/SessionTable.h"
#include "Database/course-planner/CourseSchedule.h"
#include "Database/course-planner/CourseScheduleSources.h"
#include "Database/editors/RecordEditorDialog.h"
#include "Rodezir/dialogs/LayoutDialog.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QComboBox;
class QScrollBar;

namespace kova {
class MaskedEdit;
}

class CoursePlannerDialog : public RecordEditorDialog<CourseTable, CourseRecord, kova::LayoutDialog> {
    Q_OBJECT
public:
    static constexpr int TEMPLATE_ID = 217;
    static constexpr int HELP_TOPIC = 10008;
    static constexpr int VISIBLE_ROWS = 4;

    // The controls of one visible schedule row.
    struct RowControls {
        int number, ventilation, compression, manikin, start, end, details;
    };
    static const RowControls ROWS[VISIBLE_ROWS];

    // Opens a schedule row's session modally (deleting not allowed) and
    // answers the row as that dialog left it; nothing when it could not open.
    using RowDetails = std::function<std::optional<SessionRecord>(const SessionRecord& row, QWidget* parent)>;
    // Runs a stored course in the application's run-course window.
    using RunCourse = std::function<void(const CourseRecord& course)>;
    // The windowed program installs both at start-up; without them a row's
    // "Details..." and "Run course..." stay disabled.
    static void setRowDetails(RowDetails details);
    static void setRunCourse(RunCourse run);

    // Opens the planner modally without a parent, as the menu and the New
    // session window do; true when it closed through "Run course...".
    static bool plan();

    explicit CoursePlannerDialog(QWidget* parent = nullptr);
    ~CoursePlannerDialog() override;

    int run() { return doModal(); }
    // Whether the dialog closed through "Run course...".
    bool runCourseChosen() const { return runCourseChosen_; }
    const CourseSchedule& schedule() const { return schedule_; }
    // The visible row the highlight frame surrounds (1 to 4), 0 for none.
    int highlightedRow() const { return highlightedRow_; }

    // The commands of the buttons, as the buttons call them.
    void moveRowUp();
    void moveRowDown();
    void removeRow();
    void sortByStartTime();
    void printSchedule();
    void runCourse();
    void showRowDetails(int visibleRow);

protected:
    bool onInitDialog() override;
    void onOK() override;
    void onCancel() override;
    void onSize(int cx, int cy) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    void showRecord(const CourseRecord& record) override;
    CourseRecord readRecord() override;
    bool isChanged() override;
    void enableButtons(unsigned mask) override;
    std::wstring message(int kind) override;
    void notifyChanged() override;
    void fillQuickFind() override;
    void beforeStore(const CourseRecord& record) override;
    bool afterStore() override;
    void beforeRemove() override;
    void applyFieldRules() override;

    void onNewButton() override;
    void onRemoveButton() override;
    void onSaveButton() override;
    void onDiscardButton() override;
    void onFirstButton() override;
    void onLastButton() override;
    void onNextButton() override;
    void onPreviousButton() override;
    void onQuickFindChosen(const QString& text) override;

private:
    void bindControls();
    void buildLayout();

    QComboBox* box(int id) const;
    kova::MaskedEdit* masked(int id) const;
    std::string comboText(int id) const;
    // A masked field's text; empty while none of its positions is filled.
    std::string maskedText(int id) const;

    // Stores the course and its schedule; refills the lists when a person
    // was added. True only when both were stored.
    bool saveCourse();
    // The course may be left: unchanged, stored (course and schedule) or
    // dropped, as the user answers. False keeps everything as typed.
    bool leaveCourse();
    // Leaves the entry as the user answers, then takes the step and shows
    // the stored schedule of the course it arrived at.
    void navigate(const std::function<void()>& step);
    void loadRows();
    void setScheduleModified(bool changed);

    void refreshSchedule();
    void showRows(int count);
    void readRows(int count);
    void applyRowStartTime(int visibleRow);
    void highlightRow(int visibleRow);
    void setRowsVisible(int hidden);
    void enableRowControls(bool enable);
    void onScroll(int action);
    // What the field being edited holds counts before the rows move.
    void commitFocusedRow();
    int visibleRowOf(const QWidget* control) const;

    void onCourseStartTimeLeft();
    void onDefaultScenarioChosen();
    void showInstructorDetails();
    void showScenarioDetails();

    CourseTable courseTable_;
    SessionTable sessionTable_;
    ScenarioTable scenarioTable_;
    PersonTable personTable_;
    CourseScheduleSources sources_;
    CourseSchedule schedule_;
    QScrollBar* scrollBar_ = nullptr;
    int highlightedRow_ = 0;
    bool runCourseChosen_ = false;
    bool quickFindDirty_ = false;
    // While Delete asks and deletes: the course's stored rows the question
    // named, and the data files of its finished sessions on their way out.
    std::vector<SessionRecord> rowsOfRemovedCourse_;
    DataFileRemoval removedDataFiles_;
    bool scrolling_ = false;
};

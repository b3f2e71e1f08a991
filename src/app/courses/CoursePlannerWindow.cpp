#include "app/courses/CoursePlannerWindow.h"

#include "Database/course-planner/CoursePlannerDialog.h"
#include "Database/course-planner/CoursePlannerTable.h"
#include "Database/stored-sessions/SessionDialog.h"
#include "app/courses/RunCourseDialog.h"
#include "app/search/EditorSeams.h"
#include "app/shell/CprTrainingApp.h"

#include <memory>
#include <optional>

namespace {

// The planner opens without a parent window, whoever asks for it.
class PlannerWindow final : public editorseams::CoursePlanner {
public:
    int doModal() override { return dialog_.run(); }
    bool openedCourseRun() const override { return dialog_.runCourseChosen(); }

private:
    CoursePlannerDialog dialog_;
};

// A schedule row's "Details...": the session dialog on the row, modally and
// without deleting (the planner owns its rows); the row takes back the
// record as the dialog last saved it, or as it opened when nothing was saved.
std::optional<SessionRecord> showRowSession(const SessionRecord& row, QWidget* parent)
{
    SessionDialog dialog(row, false, parent);
    dialog.run();
    return dialog.currentRecord();
}

} // namespace

void installCoursePlanner()
{
    registerCoursePlannerTable();
    CoursePlannerDialog::setRowDetails(&showRowSession);
    editorseams::setCoursePlannerFactory([] { return std::make_unique<PlannerWindow>(); });
    // A course chosen for running opens in the station's one Run-course window.
    CoursePlannerDialog::setRunCourse([](const CourseRecord& course) {
        if (CprTrainingApp* app = CprTrainingApp::instance())
            app->openRunCourse(std::make_unique<RunCourseDialog>(course));
    });
}

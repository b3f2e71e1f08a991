#include "app/CoursePlannerWindow.h"

#include "Database/CoursePlannerDialog.h"
#include "Database/CoursePlannerTable.h"
#include "app/EditorSeams.h"

#include <memory>

namespace {

// The planner opens without a parent window, whoever asks for it.
class PlannerWindow final : public editorseams::CoursePlanner {
public:
    int doModal() override { return dialog_.run(); }
    bool openedCourseRun() const override { return dialog_.runCourseChosen(); }

private:
    CoursePlannerDialog dialog_;
};

} // namespace

void installCoursePlanner()
{
    registerCoursePlannerTable();
    editorseams::setCoursePlannerFactory([] { return std::make_unique<PlannerWindow>(); });
}

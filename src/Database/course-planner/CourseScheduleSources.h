#pragma once
// Where a course's schedule finds what a new row needs in the running
// station: the scenarios of the Scenario table and the first manikin the
// port registry has ready. Shared by the course planner and the run-course
// window.

#include "Database/ScenarioTable.h"
#include "Database/course-planner/CourseSchedule.h"

class CourseScheduleSources final : public CourseSchedule::Sources {
public:
    // The table is opened by its owner (the dialog that lists its scenarios).
    explicit CourseScheduleSources(ScenarioTable& scenarios) : scenarios_(scenarios) {}

    ScenarioRecord getScenario(const std::string& name) override;
    long firstReadyPort() override;
    std::string firstReadyPortText() override;

private:
    ScenarioTable& scenarios_;
};

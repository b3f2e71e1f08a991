#include "Database/course-planner/CourseScheduleSources.h"

#include "comm/ports/CalibrateManager.h"

ScenarioRecord CourseScheduleSources::getScenario(const std::string& name) { return scenarios_.getScenario(name); }

long CourseScheduleSources::firstReadyPort() { return CalibrateManager::get().getFirstReadyPort(); }

std::string CourseScheduleSources::firstReadyPortText() { return CalibrateManager::get().getFirstReadyPortText(); }

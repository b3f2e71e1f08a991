#pragma once
// What the course planner and the run-course window do alike with the
// controls that show a course's schedule: the scroll bar beside the rows.

#include "Database/CourseSchedule.h"

class QScrollBar;

namespace schedulecontrols {

// Gives the bar the schedule's range and page when they changed since it
// last took them, and the schedule's first row as its position, without
// telling anyone.
void syncScrollBar(CourseSchedule& schedule, QScrollBar* bar);

// Moves the schedule's rows as the bar's action asks (QAbstractSlider's
// SliderAction) and puts the thumb where the rows then stand: the rows
// decide where the window stands. True when the rows moved.
bool scroll(CourseSchedule& schedule, QScrollBar& bar, int action);

} // namespace schedulecontrols

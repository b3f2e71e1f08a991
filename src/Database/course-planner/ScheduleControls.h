#pragma once
// What the course planner and the run-course window do alike with the
// controls that show a course's schedule: the scroll bar beside the rows,
// what a row's fields hold, its manikin box and its start and end fields.

#include "Database/SessionRecord.h"
#include "Database/course-planner/CourseSchedule.h"

class QComboBox;
class QScrollBar;
class QWidget;

namespace schedulecontrols {

// Gives the bar the schedule's range and page when they changed since it
// last took them, and the schedule's first row as its position, without
// telling anyone.
void syncScrollBar(CourseSchedule& schedule, QScrollBar* bar);

// Moves the schedule's rows as the bar's action asks (QAbstractSlider's
// SliderAction) and puts the thumb where the rows then stand: the rows
// decide where the window stands. True when the rows moved.
bool scroll(CourseSchedule& schedule, QScrollBar& bar, int action);

// What the fields every row has hold: the participants, the manikin as
// typed or chosen, and the start and end times. A missing box reads empty.
CourseSchedule::RowFields readRow(const QComboBox* ventilation, const QComboBox* compression,
                                  const QComboBox* manikin, const QWidget* start, const QWidget* end);

// Shows the row's manikin: the list entry of the row's port when the list
// has one ("3 - USB" for 3, never "31 - USB"), else the bare number in the
// box's own field.
void showManikin(QComboBox* combo, const SessionRecord& row);

// Takes the start field's text as the start time of the schedule's row
// `index`; when the schedule took it, the start field (a masked edit) and
// the end field show the row's times again. True when it was taken.
bool applyStartTime(CourseSchedule& schedule, int index, QWidget* start, QWidget* end);

} // namespace schedulecontrols

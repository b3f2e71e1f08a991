#pragma once
// The dialog template of the "Course planner" (217), kept as data: the quick
// find and navigation at the top, the course's fields and buttons, the four
// visible schedule rows with their headings and scroll bar, and the row
// commands, printing and running along the bottom.

#include "Rodezir/dialogs/DialogTable.h"

kova::DialogTable coursePlannerDialogTable();
// Adds the table to the dialog registry; safe to call more than once.
void registerCoursePlannerTable();

#pragma once
// Where the station opens the course planner: the New-session window's
// "Course planner..." button reaches it through its editor seam, and the
// main frame's "New course..." command through CoursePlannerDialog::plan.
// A course the planner runs opens in the Run-course window.

// Registers the planner's template and installs it behind the seam, with the
// session dialog behind a schedule row's "Details..." and the Run-course
// window behind its "Run course...".
void installCoursePlanner();

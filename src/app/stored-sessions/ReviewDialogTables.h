#pragma once
// The dialog templates of a session seen again, kept as data: the review
// panel of a session just run (223) and "Inspect session details" (233),
// which holds a stored session's graphs or debriefing.

#include "Rodezir/dialogs/DialogTable.h"

#include <vector>

std::vector<kova::DialogTable> reviewDialogTables();
// Adds the tables to the dialog registry unless they are there already.
void registerReviewDialogTables();

#pragma once
// The dialog templates of the record editors, kept as data: "Algorithm"
// (179), "Person" (216), "Scenario" (220), "Edit events" (225) and
// "Event" (232).

#include "Rodezir/dialogs/DialogTable.h"

#include <vector>

std::vector<kova::DialogTable> recordDialogTables();
// Adds the tables to the dialog registry; safe to call more than once.
void registerRecordDialogTables();

#pragma once
// The dialog templates of the configuration windows, kept as data: the
// folder dialog (2001), "Configuration" (255), its pages General (246),
// Debriefing 1 (245), Debriefing 2 (250), Print (251), REV Evezodidaz (252)
// and "Icon legends" (286).

#include "Rodezir/dialogs/DialogTable.h"

#include <vector>

std::vector<kova::DialogTable> configDialogTables();
// Adds the tables to the dialog registry, and the up-down control the
// Print page uses; safe to call more than once.
void registerConfigDialogTables();

#pragma once
// The dialog templates of the stored sessions, kept as data: "Session"
// (222), the record of one session, and "Session manager" (224), the
// search over the finished sessions.

#include "Rodezir/DialogTable.h"

#include <vector>

std::vector<kova::DialogTable> sessionDialogTables();
// Adds the tables to the dialog registry unless they are there already.
void registerSessionDialogTables();

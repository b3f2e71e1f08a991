#pragma once
// The dialog templates of the stored sessions, kept as data: "Session"
// (222), the record of one session, and "Session manager" (224), the
// search over the finished sessions.

#include "Rodezir/dialogs/DialogTable.h"

#include <string>
#include <vector>

// The column of fields of "Session", which the review panel of a session
// just run follows: labels right-aligned up to the fields at FIELD_X, the
// "Details..." buttons at DETAILS_X.
namespace sessionfields {
inline constexpr int FIELD_X = 78;
inline constexpr int DETAILS_X = 202;
// The label of the field whose top is at `y`.
kova::DialogControlTable fieldLabel(const std::wstring& text, int y);
} // namespace sessionfields

std::vector<kova::DialogTable> sessionDialogTables();
// Adds the tables to the dialog registry unless they are there already.
void registerSessionDialogTables();

#pragma once
// The questions asked before finished sessions go with the rows of a course
// (a removed schedule row, a deleted course): each names the participants of
// those sessions and says that their stored results and data files go too.
// A planned row is no result, and is removed without a word.

#include "Database/SessionRecord.h"

#include <string>
#include <vector>

namespace finishedsessions {

// Yes/No with a warning, No the default: a stored result is at stake.
unsigned questionStyle();

// "Row 3 (09:13): Bob Baker and Cid Carter", for the row at place `number` (from 1).
std::wstring describeRow(const SessionRecord& row, int number);

// Asks before the finished session of the schedule row at place `number`
// goes with the row; true on Yes.
bool confirmRemoveRow(const SessionRecord& row, int number);

// The paragraph that the question before deleting a course ends with,
// naming every finished session among the course's stored rows (in course
// order); empty when none of them was run.
std::wstring courseParagraph(const std::vector<SessionRecord>& rows);

} // namespace finishedsessions

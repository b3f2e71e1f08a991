#pragma once
// Session lengths as the records keep them (whole seconds, -1 for no limit)
// and as the dialogs and printed headers show them ("mm:ss", "2 min. 30 sec.").
// The combo-box side is in Database/DurationCombo.h.

#include <string>
#include <string_view>

namespace Duration {

// The value of a session without a time limit.
inline constexpr long NO_LIMIT = -1;

// "%02d:%02d" of minutes and seconds ("01:30", "60:00"); a negative duration
// gives the translated "No limit".
std::wstring format(long seconds);

// The digits before the first ':' are the minutes, those after it the
// seconds; every other character is skipped and a second ':' ends the text.
// Gives -1 (no limit) when both are 0, and for a text whose minutes, seconds
// or total do not fit a record's 32-bit column: "00:00", "", "No limit" and
// "99999999999:00" all give -1.
long parse(std::wstring_view text);
long parse(std::string_view text);

// The printed form: "2 min.", "1 min. 30 sec.", "45 sec.", "0 sec." (units
// translated); -1 gives the translated "No limit", other negative values an
// empty text.
std::wstring formatLong(long seconds);

// The clock time "hh:mm" at which a session starting at `start` ("hh:mm")
// and lasting `seconds` ends; hours go on past 24 ("23:30" + 3600 s gives
// "24:30"). A session without limit has no end: the failed check is logged
// and the text is empty.
std::string endTime(std::string_view start, long seconds);

} // namespace Duration

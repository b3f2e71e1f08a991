#pragma once
// Dates and times as texts in the user's locale (the one Qt takes from the
// environment, or QLocale::setDefault): short and long dates, times with or
// without seconds, the current date by a Windows date picture, and ISO dates
// of the records database as the user's short date.

#include "Rodezir/Util.h"

#include <string>

namespace kova {

std::string dateText(const SYSTEMTIME& time, bool longDate);
std::string timeText(const SYSTEMTIME& time, bool withSeconds);
// The date text, one blank, the time text.
std::string dateTimeText(const SYSTEMTIME& time, bool longDate, bool withSeconds);
std::string todayText(bool longDate);
std::string nowText(bool withSeconds);

// Today formatted by a Windows date picture: d, dd, ddd, dddd, M, MM, MMM,
// MMMM, y, yy, yyyy, gg and text in single quotes ('' for a quote).
std::string formatToday(const std::string& picture);
std::wstring formatToday(const std::wstring& picture);
std::string formatDate(const SYSTEMTIME& time, const std::string& picture);

// "YYYY-MM-DD" as the user's short date. A text too short for that form, one
// whose year, month or day are not digits, or a date that does not exist gives
// an empty text and a log line.
std::string isoDateToText(const std::string& isoDate);
std::wstring isoDateToText(const std::wstring& isoDate);

} // namespace kova

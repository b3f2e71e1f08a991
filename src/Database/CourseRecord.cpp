#include "Database/CourseRecord.h"

#include "Database/DBUtil.h"
#include "Database/RecordTime.h"
#include "Database/SqlIdentifier.h"
#include "Rodezir/gstringUtil.h"
#include "gettext/Gettext.h"

namespace {
constexpr std::size_t DATE_LENGTH = 10;
constexpr std::size_t TIME_LENGTH = 5;
} // namespace

CourseRecord::CourseRecord()
{
    const std::tm now = RecordTime::now();
    date = RecordTime::dateText(now);
    time = RecordTime::timeText(now);
}

void CourseRecord::setKey(const CourseKey& key)
{
    instructor = key.instructor;
    date = key.date;
    time = key.time;
}

bool CourseRecord::isValidKey(const CourseKey& key)
{
    return !key.instructor.empty() && !key.date.empty() && !key.time.empty();
}

bool CourseRecord::matchesKey(const CourseKey& key) const
{
    return textMatches(instructor, key.instructor, TextMatch::IgnoringCase) && date == key.date && time == key.time;
}

std::wstring CourseRecord::displayText() const
{
    return toWide(instructor, CP_ACP) + Gettext::translate(" on ") + toWide(date, CP_ACP)
        + Gettext::translate(" at ") + toWide(time, CP_ACP);
}

void CourseRecord::parseDisplayText(const std::wstring& text)
{
    const std::size_t on = Gettext::translate(" on ").size();
    const std::size_t at = Gettext::translate(" at ").size();
    const std::size_t n = text.size();
    if (n < on + at + DATE_LENGTH + TIME_LENGTH)
        return;
    time = toNarrow(text.substr(n - TIME_LENGTH), CP_ACP);
    date = toNarrow(text.substr(n - at - DATE_LENGTH - TIME_LENGTH, DATE_LENGTH), CP_ACP);
    instructor = toNarrow(text.substr(0, n - on - at - DATE_LENGTH - TIME_LENGTH), CP_ACP);
}

std::string CourseRecord::sqlFilter(const CourseKey& columns, const std::string& joiner) const
{
    const bool own = columns.instructor.empty();
    const std::string instructorColumn = quoteIdentifier(own ? "Instructor" : columns.instructor);
    const std::string dateColumn = quoteIdentifier(own ? "Date" : columns.date);
    const std::string timeColumn = quoteIdentifier(own ? "Time" : columns.time);
    return instructorColumn + " = '" + DBUtil::quote(instructor) + "' " + joiner + " " + dateColumn + " = '"
        + DBUtil::quote(date) + "' " + joiner + " " + timeColumn + " = '" + DBUtil::quote(time) + "'";
}

#include "Rodezir/Util.h"

#include "Rodezir/LogStream.h"
#include "Rodezir/gstringUtil.h"

#include <sys/stat.h>

#include <cmath>

namespace kova {
namespace {

// Between 1601-01-01 and 1970-01-01.
constexpr std::int64_t EPOCH_DIFFERENCE_SECONDS = 11644473600LL;
constexpr std::int64_t FILE_TIME_UNITS_PER_SECOND = 10000000LL;

template <class Text>
Text optionValue(const Text& commandLine, const Text& key, const Text& defaultValue,
                 typename Text::value_type quote, typename Text::value_type blank)
{
    Text quotedKey = key;
    quotedKey += quote;
    const std::size_t quoted = commandLine.find(quotedKey);
    if (quoted != Text::npos) {
        const std::size_t start = quoted + quotedKey.size();
        const std::size_t end = commandLine.find(quote, start);
        return commandLine.substr(start, end == Text::npos ? Text::npos : end - start);
    }
    const std::size_t found = commandLine.find(key);
    if (found == Text::npos)
        return defaultValue;
    const std::size_t start = found + key.size();
    const std::size_t end = commandLine.find(blank, start);
    return commandLine.substr(start, end == Text::npos ? Text::npos : end - start);
}

// Days since 1970-01-01 to a proleptic Gregorian date.
void civilFromDays(std::int64_t days, int& year, unsigned& month, unsigned& day)
{
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const unsigned dayOfEra = static_cast<unsigned>(days - era * 146097);
    const unsigned yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned monthIndex = (5 * dayOfYear + 2) / 153;
    day = dayOfYear - (153 * monthIndex + 2) / 5 + 1;
    month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
    year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
}

std::int64_t floorDiv(std::int64_t value, std::int64_t divisor)
{
    const std::int64_t quotient = value / divisor;
    return (value % divisor != 0 && value < 0) ? quotient - 1 : quotient;
}

} // namespace

std::string getCommandLineOption(const std::string& commandLine, const std::string& key,
                                 const std::string& defaultValue)
{
    return optionValue(commandLine, key, defaultValue, '"', ' ');
}

std::wstring getCommandLineOption(const std::wstring& commandLine, const std::wstring& key,
                                  const std::wstring& defaultValue)
{
    return optionValue(commandLine, key, defaultValue, L'"', L' ');
}

std::int64_t unixTimeToFileTime(std::int64_t seconds)
{
    return (seconds + EPOCH_DIFFERENCE_SECONDS) * FILE_TIME_UNITS_PER_SECOND;
}

SYSTEMTIME unixTimeToSystemTime(std::int64_t seconds)
{
    const std::int64_t days = floorDiv(seconds, 86400);
    const std::int64_t secondOfDay = seconds - days * 86400;
    int year = 0;
    unsigned month = 0;
    unsigned day = 0;
    civilFromDays(days, year, month, day);
    SYSTEMTIME time;
    time.wYear = static_cast<std::uint16_t>(year);
    time.wMonth = static_cast<std::uint16_t>(month);
    time.wDay = static_cast<std::uint16_t>(day);
    // 1970-01-01 was a Thursday.
    time.wDayOfWeek = static_cast<std::uint16_t>(((days % 7) + 7 + 4) % 7);
    time.wHour = static_cast<std::uint16_t>(secondOfDay / 3600);
    time.wMinute = static_cast<std::uint16_t>(secondOfDay / 60 % 60);
    time.wSecond = static_cast<std::uint16_t>(secondOfDay % 60);
    return time;
}

bool fileExists(const std::string& path)
{
    if (path.empty())
        return false;
    std::string name = path;
    if (name.back() == '\\' || name.back() == '/')
        name.pop_back();
    if (name.empty())
        return false;
    struct stat status {};
    return ::stat(name.c_str(), &status) == 0;
}

void removeReadOnly(const std::string& path, bool reportSuccess)
{
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0)
        return;
    // A file counts as read-only when its owner may not write it.
    if (status.st_mode & S_IWUSR)
        return;
    const mode_t writable = (status.st_mode & 07777) | S_IWUSR;
    if (::chmod(path.c_str(), writable) != 0) {
        LogStream::instance() << "Could not remove read-only attribute on " << path << LogStream::endl;
        return;
    }
    if (reportSuccess)
        LogStream::instance() << "Removed read-only attribute on " << path << LogStream::endl;
}

void removeReadOnly(const std::wstring& path, bool reportSuccess)
{
    removeReadOnly(toNarrow(path), reportSuccess);
}

SIZE fitAspect(int boxWidth, int boxHeight, int aspectWidth, int aspectHeight)
{
    if (aspectWidth == 0 || aspectHeight == 0)
        return {boxWidth, boxHeight};
    const double a = static_cast<double>(boxWidth) / aspectWidth;
    const double b = static_cast<double>(boxHeight) / aspectHeight;
    if (a >= b)
        return {static_cast<int>(aspectWidth * b), boxHeight};
    return {boxWidth, static_cast<int>(aspectHeight * a)};
}

SIZE coverAspect(int boxWidth, int boxHeight, int aspectWidth, int aspectHeight)
{
    if (aspectWidth == 0 || aspectHeight == 0)
        return {boxWidth, boxHeight};
    const double a = static_cast<double>(boxWidth) / aspectWidth;
    const double b = static_cast<double>(boxHeight) / aspectHeight;
    if (a >= b)
        return {boxWidth, static_cast<int>(aspectHeight * a)};
    return {static_cast<int>(aspectWidth * b), boxHeight};
}

int ceilToInt(double value)
{
    return static_cast<int>(std::ceil(value));
}

} // namespace kova

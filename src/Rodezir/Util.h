#pragma once
// Small window-free helpers shared by the station: command-line options,
// Windows time values, file existence and the read-only flag, and the
// geometry of fitting one aspect ratio into a box.

#include "Rodezir/Geometry.h"

#include <cstdint>
#include <string>

namespace kova {

// A calendar date and time as the station's date texts take it.
struct SYSTEMTIME {
    std::uint16_t wYear = 0;
    std::uint16_t wMonth = 0;     // 1 to 12
    std::uint16_t wDayOfWeek = 0; // 0 = Sunday
    std::uint16_t wDay = 0;
    std::uint16_t wHour = 0;
    std::uint16_t wMinute = 0;
    std::uint16_t wSecond = 0;
    std::uint16_t wMilliseconds = 0;
    friend bool operator==(const SYSTEMTIME&, const SYSTEMTIME&) = default;
};

// The value of `key` in the command line: after `key"` up to the next double
// quote (or the end), else after `key` up to the next blank (or the end), else
// `defaultValue`. The search is case-sensitive and the first occurrence counts.
std::string getCommandLineOption(const std::string& commandLine, const std::string& key,
                                 const std::string& defaultValue);
std::wstring getCommandLineOption(const std::wstring& commandLine, const std::wstring& key,
                                  const std::wstring& defaultValue);

// Seconds since 1970-01-01 as 100 ns units since 1601-01-01, and as a UTC calendar time.
std::int64_t unixTimeToFileTime(std::int64_t seconds);
SYSTEMTIME unixTimeToSystemTime(std::int64_t seconds);

// Whether a file or folder of that name exists; one trailing "\" or "/" is ignored.
bool fileExists(const std::string& path);

// Clears the read-only flag of a file (every write permission bit its owner
// may set). A failure is logged; a success only when `reportSuccess` is set.
void removeReadOnly(const std::string& path, bool reportSuccess);
void removeReadOnly(const std::wstring& path, bool reportSuccess);

// The largest size of the aspect's proportions inside the box, and the
// smallest that covers it; the box itself when the aspect has no width or height.
SIZE fitAspect(int boxWidth, int boxHeight, int aspectWidth, int aspectHeight);
SIZE coverAspect(int boxWidth, int boxHeight, int aspectWidth, int aspectHeight);

// The smallest integer not below the value.
int ceilToInt(double value);

} // namespace kova

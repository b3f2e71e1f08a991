#pragma once
// When the program was built, as start-up's error-log header and the About
// box show it: "Dec 10 2026, 16:03:03".

#include <string>

// The compile date and time of the program: "Mmm dd yyyy, hh:mm:ss".
std::string getBuildDate();

// The compiler's date ("Mmm dd yyyy", the day padded with a blank) and time
// texts joined as getBuildDate gives them, the day padded with a zero.
std::string formatBuildDate(const char* compilerDate, const char* compilerTime);

// The first line of the error log: the build date, the version and the
// program's name ("Dec 10 2026, 16:03:03 3.1.3 : Kova CPR Software").
std::string getVersionText();

#pragma once
// What the launcher makes of its own arguments: they go to the main program
// unchanged, and the option "splashini:" names another ini file.

#include <string>
#include <vector>

namespace splash {

struct SplashCommandLine {
    // The main program's name, its argv[0].
    std::string programName;
    // The launcher's arguments, passed on to the main program as they came.
    std::vector<std::string> arguments;
    // The name, and the arguments joined by blanks behind one blank; what the
    // debug output shows of the start.
    std::string text;
    // "splash.ini", or the value of "splashini:".
    std::string iniName;

    static constexpr const char* DEFAULT_INI = "splash.ini";
    static constexpr const char* INI_OPTION = "splashini:";

    static SplashCommandLine parse(std::string programName, std::vector<std::string> arguments);
    // The arguments joined by single blanks.
    static std::string argumentText(const std::vector<std::string>& arguments);
    // The value of "splashini:" found anywhere in the text (also inside a
    // longer word), up to the next blank; empty when there is none.
    static std::string iniOption(const std::string& argumentText);
};

} // namespace splash

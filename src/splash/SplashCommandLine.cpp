#include "splash/SplashCommandLine.h"

#include <cstring>

namespace splash {

SplashCommandLine SplashCommandLine::parse(std::string programName, std::vector<std::string> arguments)
{
    SplashCommandLine line;
    line.programName = std::move(programName);
    line.arguments = std::move(arguments);
    const std::string joined = argumentText(line.arguments);
    line.text = line.programName;
    if (!joined.empty())
        line.text += " " + joined;
    const std::string option = iniOption(joined);
    line.iniName = option.empty() ? DEFAULT_INI : option;
    return line;
}

std::string SplashCommandLine::argumentText(const std::vector<std::string>& arguments)
{
    std::string text;
    for (const std::string& argument : arguments) {
        if (&argument != &arguments.front())
            text += ' ';
        text += argument;
    }
    return text;
}

std::string SplashCommandLine::iniOption(const std::string& argumentText)
{
    const std::size_t found = argumentText.find(INI_OPTION);
    if (found == std::string::npos)
        return {};
    const std::size_t start = found + std::strlen(INI_OPTION);
    const std::size_t end = argumentText.find(' ', start);
    return argumentText.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

} // namespace splash

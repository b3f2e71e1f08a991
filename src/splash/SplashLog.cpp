#include "splash/SplashLog.h"

#include <cstdio>

namespace splash {

void SplashLog::line(const std::string& text)
{
    const std::string formatted = format(text);
    std::fwrite(formatted.data(), 1, formatted.size(), stderr);
    std::fflush(stderr);
}

std::string SplashLog::format(const std::string& text)
{
    return "Splash: \"" + text + "\"\n";
}

} // namespace splash

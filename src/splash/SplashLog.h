#pragma once
// The launcher's debug output: every event is one line, the word Splash, a
// colon, a blank and the event text in double quotes, on standard error.

#include <string>

namespace splash {

class SplashLog {
public:
    virtual ~SplashLog() = default;
    virtual void line(const std::string& text);

    // Splash: "<text>" and a line feed.
    static std::string format(const std::string& text);
};

} // namespace splash

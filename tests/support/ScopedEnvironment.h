#pragma once
// An environment variable set (or removed) for the life of the object, and
// put back as it was afterwards.

#include <optional>
#include <string>

namespace kovatest {

class ScopedEnvironment {
public:
    // Nothing as the value removes the variable.
    ScopedEnvironment(const char* name, const std::optional<std::string>& value);
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    std::string name_;
    std::optional<std::string> previous_;
};

} // namespace kovatest

#include "ScopedEnvironment.h"

#include <cstdlib>

namespace kovatest {

ScopedEnvironment::ScopedEnvironment(const char* name, const std::optional<std::string>& value) : name_(name)
{
    if (const char* previous = std::getenv(name))
        previous_ = previous;
    if (value)
        ::setenv(name, value->c_str(), 1);
    else
        ::unsetenv(name);
}

ScopedEnvironment::~ScopedEnvironment()
{
    if (previous_)
        ::setenv(name_.c_str(), previous_->c_str(), 1);
    else
        ::unsetenv(name_.c_str());
}

} // namespace kovatest

#include "platform/Help.h"

namespace platform {
namespace {
HelpFunction& installed()
{
    static HelpFunction function;
    return function;
}
} // namespace

void setHelpFunction(HelpFunction function) { installed() = std::move(function); }

bool showHelpTopic(int topic)
{
    if (!installed())
        return false;
    installed()(topic);
    return true;
}

} // namespace platform

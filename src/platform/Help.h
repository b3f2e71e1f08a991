#pragma once
// Online help by topic number: the program installs its help window here;
// every dialog's Help button asks through it.

#include <functional>

namespace platform {

using HelpFunction = std::function<void(int topic)>;

// Installs the help window (an empty function takes it away).
void setHelpFunction(HelpFunction function);
// Opens the topic; false when no help window is installed.
bool showHelpTopic(int topic);

} // namespace platform

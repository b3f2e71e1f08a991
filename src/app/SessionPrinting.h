#pragma once
// The one way a session's results are printed: the graph page (debriefing
// false) or the debriefing report (true). The printing code installs the
// printer; the live panel's and the debriefing panel's Print... buttons and
// the main window's Print command call print().

#include <functional>

class Session;

namespace SessionPrinting {

using Printer = std::function<void(Session& session, bool debriefing)>;

// Installs the printer (an empty one takes it away).
void install(Printer printer);
// Prints through the installed printer; false when none is installed.
bool print(Session& session, bool debriefing);

} // namespace SessionPrinting

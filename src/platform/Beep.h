#pragma once
// The station's plain warning beep (a command that cannot act on the current
// rows): QApplication::beep, through one replaceable function so tests can
// count the beeps a command gives.

#include <functional>

namespace platform {

using BeepFunction = std::function<void()>;

// Beeps through the installed function, else QApplication::beep.
void messageBeep();
// Installs the function every beep goes through (an empty one restores
// QApplication::beep) and answers the one it replaces.
BeepFunction setBeepFunction(BeepFunction function);

} // namespace platform

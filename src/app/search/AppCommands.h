#pragma once
// The application's commands that its windows run: the New-session window,
// the "Search for Manikins" window and the main window's enabled state. The
// application object installs them at start-up; until then a command only
// writes a line to the error log.

#include <functional>

namespace AppCommands {

using Command = std::function<void()>;

// Brings the New-session window forward, or creates it.
void setNewSession(Command command);
void newSession();

// Brings the "Search for Manikins" window forward, or creates it (the Calibrate command).
void setShowSearchForManikins(Command command);
void showSearchForManikins();

// Enables or disables the main window around long operations. False when
// none is installed (the caller then does what it can itself).
void setEnableMainWindow(std::function<void(bool enable)> enabler);
bool enableMainWindow(bool enable);

} // namespace AppCommands

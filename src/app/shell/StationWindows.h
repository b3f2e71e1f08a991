#pragma once
// The windows of the station as the program runs it: the windowed session
// manager with its session window, the New-session window, and every window
// installed once the main window, the records and the settings are there.
// The program and its end-to-end tests start the station through these.

#include "app/shell/CprTrainingApp.h"

#include <functional>

class CMainFrame;

namespace StationWindows {

// Services::standard() with the windowed session manager, the New-session
// dialog and install() behind installWindows; `beforeInstall` runs first
// (the program parents its message and file dialogs to the main window).
CprTrainingApp::Services services(std::function<void(CMainFrame&)> beforeInstall = {});

// The configuration dialog, the record editors, the course planner, the
// search window's calibration seam, the session window with its live graph
// panel and debriefing, printing, the session manager and the controller
// transfer, installed into the main window.
void install(CMainFrame& frame);

} // namespace StationWindows

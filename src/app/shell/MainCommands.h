#pragma once
// The commands of the station's main window: their ids, the main menu built
// in code and translated, the toolbar's buttons, the keyboard shortcuts, and
// the rules that enable a command by the sessions there are.

#include "platform/AcceleratorTable.h"
#include "platform/MenuResource.h"

#include <optional>
#include <vector>

namespace MainCommands {

inline constexpr int NEW_SESSION = 32779;
inline constexpr int CALIBRATE = 32780;
inline constexpr int HELP_CONTENTS = 32781;
inline constexpr int METRONOME = 32783;
inline constexpr int SESSION_VIEW = 32784;
inline constexpr int SURVEILLANCE = 32769;
inline constexpr int START_ALL = 32785;
inline constexpr int PAUSE_ALL = 32786;
inline constexpr int PERSONS = 32787;
inline constexpr int ALGORITHMS = 32788;
inline constexpr int SCENARIOS = 32789;
// Session tabs 1 to 10.
inline constexpr int FIRST_TAB = 32790;
inline constexpr int LAST_TAB = 32799;
inline constexpr int HELP_BUTTON = 32800;
inline constexpr int NEW_COURSE = 32802;
inline constexpr int SESSION_MANAGER = 32804;
inline constexpr int CONFIGURATION = 32922;
inline constexpr int CONTROLLER_CONFIGURATION = 32924;
inline constexpr int PRINT_SETUP = 57606;
inline constexpr int PRINT = 57607;
inline constexpr int ARRANGE = 57649;
inline constexpr int CASCADE = 57650;
inline constexpr int TILE = 57651;
inline constexpr int ABOUT = 57664;
inline constexpr int EXIT = 57665;

// The configuration pages the two configuration commands open.
inline constexpr int GENERAL_PAGE = 0;
inline constexpr int CONTROLLER_PAGE = 4;
// The help topic of the Contents command.
inline constexpr int CONTENTS_TOPIC = 10017;

// The menu bar, every text translated; nothing when it cannot be built.
std::optional<platform::MenuResource> createMainMenu();

// The toolbar from left to right; 0 is a separator. A button shows the
// picture of its place among the buttons in the toolbar strip.
const std::vector<int>& toolbarButtons();
// The pictures in the toolbar strip (bitmap 128), each this wide and high.
inline constexpr int TOOLBAR_BITMAP = 128;
inline constexpr int TOOLBAR_IMAGE_SIZE = 24;
int toolbarImageCount();

// The main window's keyboard shortcuts.
const platform::AcceleratorTable& accelerators();

// What enabling a command depends on.
struct SessionCounts {
    int sessions = 0;
    int running = 0;
};
// Whether the sessions allow the command; nothing for a command that does
// not depend on them.
std::optional<bool> enabledBySessions(int command, const SessionCounts& counts);

// The current session, as Print judges it.
struct PrintableSession {
    bool exists = false;
    int state = 0;
    bool running = false;
};
enum class PrintChoice { Beep, GraphPage, DebriefingReport };
// A session collecting or in its debriefing, and not running, is printed
// (the debriefing as its report, live graphs as the graph page); anything
// else only beeps.
PrintChoice printChoice(const PrintableSession& session);

} // namespace MainCommands

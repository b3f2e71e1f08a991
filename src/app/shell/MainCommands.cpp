#include "app/shell/MainCommands.h"

#include "app/sessions/Session.h"
#include "app/shell/GetTextMenu.h"

#include <algorithm>

namespace MainCommands {
namespace {

using platform::FCONTROL;
using platform::FVIRTKEY;

struct MenuLine {
    const char* text; // null: a separator
    int id;
};

struct Popup {
    const char* title;
    std::vector<MenuLine> lines;
};

const std::vector<Popup>& menuTable()
{
    static const std::vector<Popup> table = {
        {"&File",
         {{"&New session...", NEW_SESSION},
          {"N&ew course...", NEW_COURSE},
          {nullptr, 0},
          {"&Start all sessions", START_ALL},
          {"P&ause all sessions", PAUSE_ALL},
          {nullptr, 0},
          {"&Print...", PRINT},
          {"P&rint setup...", PRINT_SETUP},
          {nullptr, 0},
          {"E&xit", EXIT}}},
        {"&Tools",
         {{"&Calibrate...", CALIBRATE},
          {"Con&figuration...", CONFIGURATION},
          {nullptr, 0},
          {"&Session view", SESSION_VIEW},
          {"S&urveillance view", SURVEILLANCE}}},
        {"&Database",
         {{"&Persons...", PERSONS},
          {"&Algorithms...", ALGORITHMS},
          {"S&cenarios...", SCENARIOS},
          {"&Session manager...", SESSION_MANAGER}}},
        {"&Window", {{"&Cascade", CASCADE}, {"&Tile", TILE}, {"&Arrange Icons", ARRANGE}}},
        {"&Help", {{"&Contents...", HELP_CONTENTS}, {"&About...", ABOUT}}},
    };
    return table;
}

platform::AcceleratorTable makeAccelerators()
{
    platform::AcceleratorTable table;
    table.id = 128;
    table.entries = {
        {FVIRTKEY | FCONTROL, 'N', NEW_SESSION},
        {FVIRTKEY, 0x74, CALIBRATE}, // F5
        {FVIRTKEY | FCONTROL, 'P', PRINT},
        {FVIRTKEY | FCONTROL, 'M', METRONOME},
    };
    // Ctrl+1 to Ctrl+9 bring sessions 1 to 9 forward, Ctrl+0 the tenth.
    for (int tab = 1; tab <= 10; ++tab)
        table.entries.push_back(
            {static_cast<unsigned char>(FVIRTKEY | FCONTROL), static_cast<unsigned short>('0' + tab % 10),
             FIRST_TAB + tab - 1});
    return table;
}

} // namespace

std::optional<platform::MenuResource> createMainMenu()
{
    GetTextMenu menu;
    for (const Popup& popup : menuTable()) {
        menu.addItem(popup.title, 0, true);
        for (const MenuLine& line : popup.lines) {
            if (line.text)
                menu.addItem(line.text, line.id, false);
            else
                menu.addSeparator();
        }
        menu.endPopup();
    }
    return menu.createMenu();
}

const std::vector<int>& toolbarButtons()
{
    static const std::vector<int> buttons = {
        NEW_SESSION, CALIBRATE, CONTROLLER_CONFIGURATION, 0, SESSION_VIEW, SURVEILLANCE, 0, START_ALL, PAUSE_ALL, 0,
        PRINT,       0,         METRONOME,                0, ABOUT,
    };
    return buttons;
}

int toolbarImageCount()
{
    const auto& buttons = toolbarButtons();
    return static_cast<int>(std::count_if(buttons.begin(), buttons.end(), [](int id) { return id != 0; }));
}

const platform::AcceleratorTable& accelerators()
{
    static const platform::AcceleratorTable table = makeAccelerators();
    return table;
}

std::optional<bool> enabledBySessions(int command, const SessionCounts& counts)
{
    switch (command) {
    case SESSION_VIEW:
    case SURVEILLANCE:
        return counts.sessions > 0;
    case START_ALL:
        return counts.sessions > counts.running;
    case PAUSE_ALL:
        return counts.running > 0;
    case CONFIGURATION:
        // The general settings change what running sessions measure against.
        return counts.sessions == 0;
    default:
        return std::nullopt;
    }
}

PrintChoice printChoice(const PrintableSession& session)
{
    if (!session.exists || session.running)
        return PrintChoice::Beep;
    if (session.state == Session::COLLECT)
        return PrintChoice::GraphPage;
    if (session.state == Session::DEBRIEF)
        return PrintChoice::DebriefingReport;
    return PrintChoice::Beep;
}

} // namespace MainCommands

#include "app/search/AppCommands.h"

#include "Rodezir/LogStream.h"

namespace AppCommands {
namespace {

Command& newSessionCommand()
{
    static Command command;
    return command;
}

Command& searchCommand()
{
    static Command command;
    return command;
}

std::function<void(bool)>& enabler()
{
    static std::function<void(bool)> function;
    return function;
}

void run(const Command& command, const char* name)
{
    if (command)
        command();
    else
        LogStream::instance() << "The " << name << " command is not available.\n";
}

} // namespace

void setNewSession(Command command) { newSessionCommand() = std::move(command); }

void newSession() { run(newSessionCommand(), "New session"); }

void setShowSearchForManikins(Command command) { searchCommand() = std::move(command); }

void showSearchForManikins() { run(searchCommand(), "Calibrate"); }

void setEnableMainWindow(std::function<void(bool)> function) { enabler() = std::move(function); }

bool enableMainWindow(bool enable)
{
    if (!enabler())
        return false;
    enabler()(enable);
    return true;
}

} // namespace AppCommands

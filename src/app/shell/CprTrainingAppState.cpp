#include "app/shell/CprTrainingAppState.h"

#include "Rodezir/LogStream.h"
#include "Rodezir/Util.h"

#include <cerrno>
#include <cstdlib>
#include <utility>

namespace {

CprTrainingAppState* current = nullptr;

} // namespace

CprTrainingAppState::CprTrainingAppState(std::string commandLine)
    : commandLine_(std::move(commandLine))
    , demoMode_(commandLine_.find("demo") != std::string::npos)
    , commDelay_(parseCommDelay(commandLine_))
{
}

CprTrainingAppState::~CprTrainingAppState()
{
    if (current == this)
        setInstance(nullptr);
}

std::string CprTrainingAppState::joinCommandLine(int argc, const char* const* argv)
{
    std::string line;
    for (int i = 1; i < argc; ++i) {
        std::string argument = argv[i] != nullptr ? argv[i] : "";
        if (argument.find(' ') != std::string::npos) {
            const std::size_t colon = argument.find(':');
            const std::size_t valueStart = colon == std::string::npos ? 0 : colon + 1;
            argument.insert(valueStart, 1, '"');
            argument.push_back('"');
        }
        if (!line.empty())
            line.push_back(' ');
        line += argument;
    }
    return line;
}

int CprTrainingAppState::parseCommDelay(const std::string& commandLine)
{
    if (commandLine.empty())
        return 0;
    const std::string value = kova::getCommandLineOption(commandLine, "commdelay:", "");
    if (value.empty())
        return 0;
    // Read as the run-time library's text-to-integer conversion does: leading
    // blanks, a sign and the digits up to the first other character.
    errno = 0;
    const long delay = std::strtol(value.c_str(), nullptr, 10);
    const bool inRange = errno != ERANGE && delay >= 0 && delay <= MAX_COMM_DELAY_MS;
    if (!inRange) {
        // A negative or huge delay would stall every COM open for days.
        LogStream::instance() << "commdelay:" << value << " ignored: the delay must be 0 to "
                              << MAX_COMM_DELAY_MS << " ms\n";
        return 0;
    }
    return static_cast<int>(delay);
}

void CprTrainingAppState::loadRecordedData()
{
    for (std::size_t set = 0; set < collectedData_.size(); ++set)
        collectedData_[set] = std::make_unique<CollectedDataSet>(static_cast<int>(set));
}

const CollectedDataSet* CprTrainingAppState::collectedDataSet(int index) const
{
    if (index < 0 || index >= static_cast<int>(collectedData_.size()))
        return nullptr;
    return collectedData_[static_cast<std::size_t>(index)].get();
}

CprTrainingAppState* CprTrainingAppState::instance()
{
    return current;
}

void CprTrainingAppState::setInstance(CprTrainingAppState* state)
{
    current = state;
    LinkEnvironment::setInstance(state);
}

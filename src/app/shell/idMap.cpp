#include "app/shell/idMap.h"

#include "Rodezir/LogStream.h"
#include "gettext/Gettext.h"

#include <utility>

namespace {

idMap::Map& table()
{
    static idMap::Map map;
    return map;
}

// The fixed entries, in the order start-up inserts them.
constexpr std::pair<int, const char*> START_UP_TEXTS[] = {
    {32780, "Calibrate manikins"},
    {32779, "Start a new session"},
    {32802, "Plan a new course"},
    {1018, "Start/resume this session"},
    {1023, "Pause this session"},
    {2, "Abort this session.\nThere is no way to resume an aborted session"},
    {1019, "Display the evaluation screen.\nThis is only available when the session is paused"},
    {1010, "Select the amount of time displayed on the graph"},
    {1024, "Zoom in or out"},
    {1001, "When enabled, the stomach inflation and wrong hand position icons are shown on the graph"},
    {1409, "When enabled, a graph with the manikins ECG signal is shown"},
    {1003, "When enabled, the custom events from the toolbars are shown on the graph"},
    {1013, "When enabled, the compression/relaxation ratios are shown on the graph"},
    {1321, "When enabled, the cardiac output is shown on the graph"},
    {1025, "Select an area of the graph to display.\nThis is only available when the session is paused"},
    {1026, "Show the entire recorded interval.\nThis is only available when the session is paused"},
    {1016, "Show/hide a session"},
    {32784, "Show session view where you can control each running session"},
    {32769, "Show surveillance view where you can see all active sessions"},
    {32783, "Enable/disable metronome"},
    {32801, "Adjust metronome settings"},
    {32924, "Show Kova REV Evezodidaz configuration window"},
    {57607, "Print evaluation of current session"},
    {57606, "Adjust printer settings for Kova CPR Software"},
    {57664, "About Kova CPR Software"},
    {57665, "Exit Kova CPR Software"},
    {32785, "Start all sessions immediately"},
    {32786, "Pause all active sessions"},
    {32787, "Show person editing dialog"},
    {32788, "Show algorithm editing dialog"},
    {32789, "Show scenario editing dialog"},
    {1050, "Initial ventilations"},
};

} // namespace

void idMap::fill()
{
    for (const auto& [id, text] : START_UP_TEXTS)
        insert(id, Gettext::translate(text));
}

void idMap::insert(int id, const std::wstring& text)
{
    const bool firstTextOfId = table().insert(Map::value_type(id, text)).second;
    KOVA_ASSERT(firstTextOfId);
}

std::wstring idMap::lookup(int id)
{
    const auto found = table().find(id);
    return found == table().end() ? std::wstring() : found->second;
}

bool idMap::onNeedText(int id, kova::ToolTipTextRequest& request)
{
    const std::wstring text = lookup(id);
    if (text.empty())
        return false;
    kova::setToolTipText(text, request);
    return true;
}

const idMap::Map& idMap::entries() { return table(); }

void idMap::clear() { table().clear(); }

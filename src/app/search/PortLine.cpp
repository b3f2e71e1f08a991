#include "app/search/PortLine.h"

#include "Rodezir/gstringUtil.h"
#include "gettext/Gettext.h"

namespace {

// Open results of a COM port (see comm/SerialPort.h).
constexpr int OPEN_FAILED = 0;
constexpr int OPEN_TIMEOUTS_FAILED = 1;
constexpr int OPEN_STATE_FAILED = 2;
constexpr int OPEN_SETTINGS_REFUSED = 3;
constexpr int OPEN_ALREADY_OPEN = 5;
constexpr int OPEN_NO_DATA = 6;
constexpr int OPEN_NO_ANSWER = 8;
constexpr int OPEN_WRONG_ANSWER = 9;
constexpr int OPEN_SUCCESS = 10;

struct State {
    const char* text; // null: the line ends after the port
    bool checked;
    bool enabled;
    bool counted;
};

State comState(const PortLine::Flags& flags)
{
    if (!flags.available)
        return {"Is in use", false, false, false};
    switch (flags.lastOpenResult) {
    case OPEN_NO_ANSWER:
        return {"No interface", false, true, true};
    case OPEN_SUCCESS:
        if (flags.calibrated)
            return {"Calibrated", false, true, true};
        if (flags.controller)
            return {"REV Evezodidaz", false, false, true};
        return {"Need calibration", true, true, true};
    case OPEN_TIMEOUTS_FAILED:
    case OPEN_STATE_FAILED:
    case OPEN_SETTINGS_REFUSED:
        return {"Problem with COM port", false, true, false};
    case OPEN_NO_DATA:
    case OPEN_WRONG_ANSWER:
        return {"Problem with interface", false, true, false};
    case OPEN_FAILED:
    case OPEN_ALREADY_OPEN:
        return {"Used by other application", false, true, false};
    default:
        return {nullptr, false, false, false};
    }
}

} // namespace

PortLine PortLine::forComPort(int port, const Flags& flags)
{
    const State state = comState(flags);
    PortLine line;
    line.text = Gettext::translate("COM") + L" " + std::to_wstring(port) + L":";
    if (state.text)
        line.text += L" - " + Gettext::translate(state.text);
    line.checked = state.checked;
    line.enabled = state.enabled;
    line.counted = state.counted;
    return line;
}

std::string PortLine::manikinName(std::string_view nameRecord)
{
    const std::string_view record = nameRecord.substr(0, NAME_RECORD_SIZE);
    return std::string(record.substr(0, record.find('\0')));
}

PortLine PortLine::forWirelessPort(std::string_view nameRecord, const Flags& flags)
{
    const char* state = "Unknown device";
    if (!flags.available)
        state = "Is in use";
    else if (flags.calibrated)
        state = "Ready to use";
    else if (flags.controller)
        state = "REV Evezodidaz";
    PortLine line;
    line.text = toWide(manikinName(nameRecord)) + L" : - " + Gettext::translate(state);
    line.counted = flags.available;
    return line;
}

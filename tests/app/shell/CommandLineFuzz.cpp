// Feeds arbitrary command lines to the start-up state and arbitrary port maps
// to the port map reader.

#include "app/shell/CprTrainingAppState.h"
#include "platform/PortMap.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const CprTrainingAppState state(text);
    if (state.commDelay() < 0 || state.commDelay() > CprTrainingAppState::MAX_COMM_DELAY_MS)
        __builtin_trap();
    for (const auto& [port, path] : platform::PortMap::parse(text))
        if (port < 1 || port > 256 || path.empty())
            __builtin_trap();
    return 0;
}

#pragma once
// Which device a COM port number stands for. The registry key
// "SOFTWARE\\Kova\\Kova CPR\\Ports" (machine hive, then the same key of the
// user hive, which wins) names devices for port numbers: value "5" = string
// "/dev/ttyS0". The USB serial adapters found (/dev/ttyUSB*, then
// /dev/ttyACM*, each in numeric order) take the lowest numbers the registry
// leaves free; a built-in serial port (/dev/ttyS*) is used only when named.
// The environment variable KOVA_PORT_MAP ("5=/dev/pts/7,6=/dev/pts/9")
// replaces the whole map, so tests see only their pseudo-terminals.

#include <map>
#include <string>
#include <vector>

namespace platform {

class RegistryStore;

class PortMap {
public:
    static constexpr const char* ENVIRONMENT_VARIABLE = "KOVA_PORT_MAP";
    static constexpr const char* REGISTRY_KEY = "SOFTWARE\\Kova\\Kova CPR\\Ports";

    // The device path of COM port n, or empty when n stands for no device.
    static std::string devicePath(int portNumber);
    // The whole map in force.
    static std::map<int, std::string> current();

    // Parses "n=path,n=path"; entries that are not a port number 1 to 256
    // with a path are left out (and listed in rejected when given).
    static std::map<int, std::string> parse(const std::string& text,
                                            std::vector<std::string>* rejected = nullptr);
    // The USB serial devices found in the folder, numbered from 1.
    static std::map<int, std::string> scan(const std::string& deviceFolder = "/dev");
    // The devices the registry names (values that are no port number 1 to 256
    // or hold no text are left out).
    static std::map<int, std::string> fromRegistry(const RegistryStore& store);
    // The registry's entries, with the scanned devices it does not name
    // given the lowest free numbers in their order.
    static std::map<int, std::string> merge(const std::map<int, std::string>& named,
                                            const std::map<int, std::string>& scanned);
};

} // namespace platform

#pragma once
// Which device a COM port number stands for. By default only USB serial
// adapters (/dev/ttyUSB*, then /dev/ttyACM*, each in numeric order) become
// COM 1, 2, ...; a built-in serial port (/dev/ttyS*) is used only when a map
// names it. The environment variable KOVA_PORT_MAP ("5=/dev/pts/7,6=/dev/pts/9")
// replaces the whole map, so tests see only their pseudo-terminals.

#include <map>
#include <string>
#include <vector>

namespace platform {

class PortMap {
public:
    static constexpr const char* ENVIRONMENT_VARIABLE = "KOVA_PORT_MAP";

    // The device path of COM port n, or empty when n stands for no device.
    static std::string devicePath(int portNumber);
    // The whole map in force.
    static std::map<int, std::string> current();

    // Parses "n=path,n=path"; entries that are not a port number 1 to 256
    // with a path are left out (and listed in rejected when given).
    static std::map<int, std::string> parse(const std::string& text,
                                            std::vector<std::string>* rejected = nullptr);
    // The default map: the USB serial devices found in the folder.
    static std::map<int, std::string> scan(const std::string& deviceFolder = "/dev");
};

} // namespace platform

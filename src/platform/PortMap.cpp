#include "platform/PortMap.h"

#include "platform/RegistryStore.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <utility>

namespace platform {

namespace {

constexpr int LAST_COM_PORT = 256;

// The device families of the default map, in the order they get port numbers.
constexpr const char* USB_SERIAL_PREFIXES[] = {"ttyUSB", "ttyACM"};

// The number after a family prefix ("ttyUSB12" -> 12), or -1 for other names.
int deviceIndex(const std::string& name, const std::string& prefix)
{
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0)
        return -1;
    int index = -1;
    const char* first = name.data() + prefix.size();
    const char* last = name.data() + name.size();
    const auto [end, error] = std::from_chars(first, last, index);
    return error == std::errc() && end == last ? index : -1;
}

std::string trim(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

} // namespace

std::map<int, std::string> PortMap::parse(const std::string& text, std::vector<std::string>* rejected)
{
    std::map<int, std::string> map;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        const std::string entry = trim(text.substr(start, comma - start));
        start = comma + 1;
        if (entry.empty())
            continue;
        const std::size_t equals = entry.find('=');
        int port = 0;
        const std::string number = trim(entry.substr(0, std::min(equals, entry.size())));
        const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), port);
        const std::string path = equals == std::string::npos ? std::string() : trim(entry.substr(equals + 1));
        if (error != std::errc() || end != number.data() + number.size() || port < 1 || port > LAST_COM_PORT
            || path.empty()) {
            if (rejected != nullptr)
                rejected->push_back(entry);
            continue;
        }
        map[port] = path;
    }
    return map;
}

std::map<int, std::string> PortMap::scan(const std::string& deviceFolder)
{
    std::map<int, std::string> map;
    std::error_code error;
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(deviceFolder, error))
        names.push_back(entry.path().filename().string());
    int port = 1;
    for (const char* prefix : USB_SERIAL_PREFIXES) {
        std::vector<std::pair<int, std::string>> family;
        for (const auto& name : names)
            if (const int index = deviceIndex(name, prefix); index >= 0)
                family.emplace_back(index, name);
        std::sort(family.begin(), family.end());
        for (const auto& [index, name] : family) {
            if (port > LAST_COM_PORT)
                return map;
            map[port++] = (std::filesystem::path(deviceFolder) / name).string();
        }
    }
    return map;
}

std::map<int, std::string> PortMap::fromRegistry(const RegistryStore& store)
{
    std::map<int, std::string> named;
    for (const RegistryRoot root : {RegistryRoot::Machine, RegistryRoot::User}) {
        for (const std::string& name : store.valueNames(root, REGISTRY_KEY)) {
            const auto path = store.getString(root, REGISTRY_KEY, name);
            std::string entry = name + "=" + (path ? *path : std::string());
            for (auto& [port, device] : parse(entry))
                named[port] = device;
        }
    }
    return named;
}

std::map<int, std::string> PortMap::merge(const std::map<int, std::string>& named,
                                          const std::map<int, std::string>& scanned)
{
    std::map<int, std::string> map = named;
    int port = 1;
    for (const auto& entry : scanned) {
        const std::string& device = entry.second;
        const bool alreadyNamed = std::any_of(named.begin(), named.end(),
                                              [&device](const auto& other) { return other.second == device; });
        if (alreadyNamed)
            continue;
        while (port <= LAST_COM_PORT && map.count(port) != 0)
            ++port;
        if (port > LAST_COM_PORT)
            break;
        map[port] = device;
    }
    return map;
}

std::map<int, std::string> PortMap::current()
{
    if (const char* text = std::getenv(ENVIRONMENT_VARIABLE))
        return parse(text);
    return merge(fromRegistry(RegistryStore::instance()), scan());
}

std::string PortMap::devicePath(int portNumber)
{
    const auto map = current();
    const auto found = map.find(portNumber);
    return found == map.end() ? std::string() : found->second;
}

} // namespace platform

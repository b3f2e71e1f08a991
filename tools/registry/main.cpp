// kova-registry: the installer's view of the station's registry store.
//
//   kova-registry get          machine|user <key> <name>
//   kova-registry set-string   machine|user <key> <name> <text>
//   kova-registry set-dword    machine|user <key> <name> <number>
//   kova-registry delete-value machine|user <key> <name>
//   kova-registry list         machine|user <key>
//
// The store's folder is KOVA_REGISTRY_DIR, else ~/.config/kovacpr/registry.
// Exit status: 0 done, 1 the store refused (or no such value), 2 wrong use.

#include "platform/RegistryStore.h"

#include <charconv>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

using namespace platform;

namespace {

int usage()
{
    std::fputs("usage: kova-registry get|set-string|set-dword|delete-value|list machine|user <key> [<name> [<value>]]\n", stderr);
    return 2;
}

std::optional<RegistryRoot> rootNamed(const std::string& name)
{
    if (name == "machine")
        return RegistryRoot::Machine;
    if (name == "user")
        return RegistryRoot::User;
    return std::nullopt;
}

int report(long result)
{
    if (result == ERROR_SUCCESS)
        return 0;
    std::fprintf(stderr, "kova-registry: the registry store answered %ld\n", result);
    return 1;
}

// One value as text: a string as it is, a DWORD in decimal, other bytes in hex.
std::string describe(const RegistryValue& value)
{
    if (value.type == REG_SZ) {
        std::string text(value.data.begin(), value.data.end());
        return text.substr(0, std::strlen(text.c_str()));
    }
    if (value.type == REG_DWORD && value.data.size() == 4) {
        const unsigned long dword = value.data[0] | value.data[1] << 8 | value.data[2] << 16 | static_cast<unsigned long>(value.data[3]) << 24;
        return std::to_string(dword);
    }
    std::string hex;
    char pair[4];
    for (unsigned char byte : value.data) {
        std::snprintf(pair, sizeof pair, "%02x", byte);
        hex += pair;
    }
    return hex;
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() < 3)
        return usage();
    const std::string& command = args[0];
    const std::optional<RegistryRoot> root = rootNamed(args[1]);
    if (!root)
        return usage();
    const std::string& key = args[2];
    RegistryStore& store = RegistryStore::instance();
    // The installer may write the machine hive; the program itself never does.
    RegistryStore::setMachineWritable(true);

    if (command == "list" && args.size() == 3) {
        for (const std::string& sub : store.subKeyNames(*root, key))
            std::printf("%s\\\n", sub.c_str());
        for (const std::string& name : store.valueNames(*root, key)) {
            RegistryValue value;
            store.queryValue(*root, key, name, value);
            std::printf("%s = %s\n", name.c_str(), describe(value).c_str());
        }
        return report(store.openKey(*root, key));
    }
    if (command == "get" && args.size() == 4) {
        RegistryValue value;
        const long result = store.queryValue(*root, key, args[3], value);
        if (result == ERROR_SUCCESS)
            std::printf("%s\n", describe(value).c_str());
        return report(result);
    }
    if (command == "set-string" && args.size() == 5)
        return report(store.setString(*root, key, args[3], args[4]));
    if (command == "set-dword" && args.size() == 5) {
        std::uint32_t number = 0;
        const std::string& text = args[4];
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), number);
        if (ec != std::errc() || end != text.data() + text.size() || text.empty())
            return usage();
        return report(store.setDword(*root, key, args[3], number));
    }
    if (command == "delete-value" && args.size() == 4)
        return report(store.deleteValue(*root, key, args[3]));
    return usage();
}

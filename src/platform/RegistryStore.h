#pragma once
// The station's registry: a small file-backed store with the two hives the
// program uses, machine (HKEY_LOCAL_MACHINE, read-only for the program) and
// user (HKEY_CURRENT_USER), each with keys, subkeys and typed values.
//
// Where it lives: the folder named by the environment variable
// KOVA_REGISTRY_DIR, else "$HOME/.config/kovacpr/registry". Each hive is one
// text file there, "machine.reg" and "user.reg" (format in RegistryHive.h),
// with a lock file beside it ("machine.lock", "user.lock").
//
// Every operation reads the hive file afresh under a shared lock; every
// change re-reads it under an exclusive lock, applies the change, writes a
// temporary file beside it, flushes it to disk and renames it over the old
// one, so a failed write never costs the values already stored and two
// programs changing the same hive never lose each other's changes. A hive file
// with damaged lines still gives its good lines; before such a file is first
// replaced, it is kept as "<hive>.reg.damaged".
//
// Results are the system's registry result codes (0 = success).
//
// Examples:
//   auto folder = RegistryStore::instance().getString(RegistryRoot::Machine,
//                     "SOFTWARE\\Kova\\Kova CPR\\3.1.3", "Data Folder");
//   RegistryStore::instance().setDword(RegistryRoot::User, "Software\\KOVA\\Ports", "5", 1);

#include "platform/RegistryHive.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

inline constexpr long ERROR_SUCCESS = 0;
inline constexpr long ERROR_FILE_NOT_FOUND = 2;
inline constexpr long ERROR_ACCESS_DENIED = 5;
inline constexpr long ERROR_INVALID_HANDLE = 6;
inline constexpr long ERROR_INVALID_DATA = 13;
inline constexpr long ERROR_WRITE_FAULT = 29;
inline constexpr long ERROR_READ_FAULT = 30;
inline constexpr long ERROR_MORE_DATA = 234;

enum class RegistryRoot { Machine, User };

class RegistryStore {
public:
    // A store whose folder follows the environment at each operation.
    RegistryStore() = default;
    // A store in a fixed folder.
    explicit RegistryStore(std::filesystem::path folder);

    // The store every part of the program uses (folder from the environment).
    static RegistryStore& instance();
    // KOVA_REGISTRY_DIR, else $HOME/.config/kovacpr/registry.
    static std::filesystem::path defaultFolder();
    // The program may not change the machine hive; the installer and tests may.
    static void setMachineWritable(bool writable);
    static bool machineWritable();

    std::filesystem::path folder() const;
    std::filesystem::path hiveFile(RegistryRoot root) const;
    // Removes the temporary files that writers killed while saving a hive
    // left in the folder (see ReplacingFile); answers how many. Run at start-up.
    int removeStaleTemporaries() const;

    // ERROR_SUCCESS when the key exists (the hive's root always does).
    long openKey(RegistryRoot root, std::string_view path) const;
    // Creates the key and the keys above it; success when it exists already.
    long createKey(RegistryRoot root, std::string_view path);
    // Deletes a key with its values; refused (access denied) while it has subkeys.
    long deleteKey(RegistryRoot root, std::string_view path);

    // The key must exist.
    long setValue(RegistryRoot root, std::string_view path, std::string_view name, const RegistryValue& value);
    long queryValue(RegistryRoot root, std::string_view path, std::string_view name, RegistryValue& value) const;
    long deleteValue(RegistryRoot root, std::string_view path, std::string_view name);

    std::vector<std::string> subKeyNames(RegistryRoot root, std::string_view path) const;
    std::vector<std::string> valueNames(RegistryRoot root, std::string_view path) const;

    // Conveniences: the getters answer nothing when the value is missing or of
    // another type; the setters create the key when needed. A string is kept
    // with its terminating zero and read back up to its first zero byte.
    std::optional<std::string> getString(RegistryRoot root, std::string_view path, std::string_view name) const;
    std::optional<std::uint32_t> getDword(RegistryRoot root, std::string_view path, std::string_view name) const;
    long setString(RegistryRoot root, std::string_view path, std::string_view name, std::string_view text);
    long setDword(RegistryRoot root, std::string_view path, std::string_view name, std::uint32_t value);

private:
    template <class Read>
    long readHive(RegistryRoot root, Read&& read) const;
    template <class Change>
    long changeHive(RegistryRoot root, Change&& change);

    std::filesystem::path folder_; // empty: follow the environment
};

} // namespace platform

#pragma once
// The contents of one registry hive (keys with typed values) and the text
// file it is kept in by the registry store.
//
// File format, one item per line, lines ended by "\n":
//
//   kova-registry 1
//   key :SOFTWARE\Kova\Kova%20CPR\3.1.3
//   value :Data%20Folder 1 :/srv/kovacpr/data%00
//   value :Patch%20level 4 :%03%00%00%00
//
// The first line names the format and its version. A "key" line starts a key
// (its full path below the hive, parts separated by "\"); the "value" lines
// after it belong to that key: the value name, the value type as a decimal
// number (1 string, 3 binary, 4 DWORD, others kept as they are) and the
// value's bytes exactly as stored (a string with its terminating zero, a
// DWORD as 4 little-endian bytes). Names and bytes are written as one token
// each: ":" followed by the bytes, where every byte outside "!" to "~", and
// "%" itself, is written as "%" and two upper-case hex digits. Empty lines
// and lines starting with "#" are ignored. Key and value names compare without
// regard to ASCII case, as the system's registry does.

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Value types of the registry.
inline constexpr std::uint32_t REG_NONE = 0;
inline constexpr std::uint32_t REG_SZ = 1;
inline constexpr std::uint32_t REG_BINARY = 3;
inline constexpr std::uint32_t REG_DWORD = 4;

struct RegistryValue {
    std::uint32_t type = REG_NONE;
    std::vector<unsigned char> data;
    bool operator==(const RegistryValue&) const = default;
};

class RegistryHive {
public:
    struct Value {
        std::string name;
        RegistryValue value;
    };
    struct Key {
        std::string path;
        std::map<std::string, Value> values; // by folded name
    };

    // A key path in its canonical form: parts separated by one "\", no
    // leading or trailing separator.
    static std::string canonicalPath(std::string_view path);
    // The form keys and names are compared in (ASCII upper case folded).
    static std::string fold(std::string_view name);

    bool keyExists(std::string_view path) const;
    // Creates the key and every missing key above it.
    Key& createKey(std::string_view path);
    Key* findKey(std::string_view path);
    const Key* findKey(std::string_view path) const;
    bool hasSubKeys(std::string_view path) const;
    std::vector<std::string> subKeyNames(std::string_view path) const;
    // Removes one key with its values (not its subkeys).
    void removeKey(std::string_view path);

    const std::map<std::string, Key>& keys() const { return keys_; }
    bool operator==(const RegistryHive& other) const;

    // The file text of the hive, and the reader of such a text. The reader
    // keeps every well-formed line; it answers false (with the number of the
    // first bad line) when something could not be read.
    std::string toText() const;
    bool fromText(std::string_view text, int* badLine = nullptr);

private:
    std::map<std::string, Key> keys_; // by folded canonical path
};

} // namespace platform

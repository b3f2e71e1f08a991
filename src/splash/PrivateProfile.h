#pragma once
// Reads one value of an ini file as the system's private-profile reader does:
// section and key names compare without regard to case, the value loses its
// surrounding blanks and one pair of enclosing quotes, and is cut to the
// reader's buffer.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace splash {

class PrivateProfile {
public:
    // Characters a value keeps at most (a buffer of 260 with its terminator).
    static constexpr std::size_t MAX_VALUE = 259;
    // Larger files are not ini files of ours and read as empty.
    static constexpr std::uintmax_t MAX_FILE = 1024 * 1024;

    // The value from the file; `fallback` when the file, the section or the
    // key is missing or the file cannot be read.
    static std::string getString(const std::filesystem::path& file, std::string_view section, std::string_view key,
                                 std::string_view fallback = {});
    // The same from the file's text.
    static std::string findValue(std::string_view text, std::string_view section, std::string_view key,
                                 std::string_view fallback = {});
};

} // namespace splash

#pragma once
// Helpers of the settings tests: a hand-written byte builder that spells the
// settings file out field by field, and the report lines of the error log.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace settingstest {

// Builds bytes exactly as the settings file lays them out, independent of
// the code under test; doubles are given by their bit patterns.
struct FileBytes {
    std::string bytes;

    FileBytes& i32(std::int32_t value);
    FileBytes& f64(std::uint64_t bits);
    FileBytes& flag(bool value);
    FileBytes& text(const std::string& value);
    FileBytes& wide(const std::u16string& value);

    // Version, then every field up to printEventList with the default values.
    static FileBytes defaultsUpToPrintEventList(std::int32_t version);
    // The whole default file of version 1.
    static FileBytes defaultFile();
};

// Ends the error log, returns the lines reported after its header and
// removes the file, so the next call sees only what came after.
std::vector<std::string> logReports(const std::filesystem::path& folder);

} // namespace settingstest

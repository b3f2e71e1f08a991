#pragma once
// Finds a program given by bare name the way the launcher starts one: in the
// given folders in turn, then in the folders of PATH.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace splash {

class ProgramSearch {
public:
    // The first regular, executable file of that name, as an absolute path.
    // Empty folders are skipped; `pathVariable` may be null.
    static std::optional<std::filesystem::path> find(const std::string& name,
                                                     const std::vector<std::filesystem::path>& folders,
                                                     const char* pathVariable);
    static bool isExecutableFile(const std::filesystem::path& file);
};

} // namespace splash

#include "splash/ProgramSearch.h"

#include <string_view>

#include <unistd.h>

namespace splash {

bool ProgramSearch::isExecutableFile(const std::filesystem::path& file)
{
    std::error_code error;
    return std::filesystem::is_regular_file(file, error) && ::access(file.c_str(), X_OK) == 0;
}

std::optional<std::filesystem::path> ProgramSearch::find(const std::string& name,
                                                         const std::vector<std::filesystem::path>& folders,
                                                         const char* pathVariable)
{
    if (name.empty() || name.find('/') != std::string::npos)
        return std::nullopt;
    std::vector<std::filesystem::path> candidates;
    for (const auto& folder : folders)
        if (!folder.empty())
            candidates.push_back(folder);
    std::string_view path = pathVariable ? pathVariable : "";
    while (!path.empty()) {
        const std::size_t colon = path.find(':');
        const std::string_view entry = path.substr(0, colon);
        if (!entry.empty())
            candidates.emplace_back(std::string(entry));
        path.remove_prefix(colon == std::string_view::npos ? path.size() : colon + 1);
    }
    for (const auto& folder : candidates) {
        const std::filesystem::path file = folder / name;
        if (isExecutableFile(file)) {
            std::error_code error;
            const auto absolute = std::filesystem::absolute(file, error);
            return error ? file : absolute;
        }
    }
    return std::nullopt;
}

} // namespace splash

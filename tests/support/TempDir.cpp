#include "TempDir.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <unistd.h>

namespace kovatest {

TempDir::TempDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "kova-test-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a temporary folder");
    path_ = pattern;
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

ScopedCwd::ScopedCwd(const std::filesystem::path& folder) : previous_(std::filesystem::current_path())
{
    std::filesystem::current_path(folder);
}

ScopedCwd::~ScopedCwd()
{
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
}

std::string readFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void writeFile(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void enterFolderOfSingleTest(const std::string& gtestFilter)
{
    if (gtestFilter.empty() || gtestFilter.find_first_of("*?:-") != std::string::npos)
        return;
    std::string name = gtestFilter;
    for (char& c : name)
        if (c == '/' || c == '\\')
            c = '_';
    const std::filesystem::path folder = std::filesystem::current_path() / "cases" / name;
    std::filesystem::create_directories(folder);
    std::filesystem::current_path(folder);
}

std::filesystem::path sourceDir() { return KOVA_SOURCE_DIR; }
std::filesystem::path binaryDir() { return KOVA_BINARY_DIR; }

} // namespace kovatest

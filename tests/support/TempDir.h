#pragma once
// A fresh folder for one test, removed with everything in it afterwards.

#include <filesystem>
#include <string>

namespace kovatest {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

// Changes the working directory for the life of the object.
class ScopedCwd {
public:
    explicit ScopedCwd(const std::filesystem::path& folder);
    ~ScopedCwd();
    ScopedCwd(const ScopedCwd&) = delete;
    ScopedCwd& operator=(const ScopedCwd&) = delete;

private:
    std::filesystem::path previous_;
};

// Whole-file helpers for checking what the code under test wrote.
std::string readFile(const std::filesystem::path& path);
void writeFile(const std::filesystem::path& path, const std::string& bytes);

// CTest runs every test case as a process of its own, many at once, all in
// their program's working folder. A process that runs one case moves into a
// subfolder named after it, so the error log and the files one case writes
// never meet another's.
void enterFolderOfSingleTest(const std::string& gtestFilter);

// The source and build trees, for fixtures and screenshots.
std::filesystem::path sourceDir();
std::filesystem::path binaryDir();

} // namespace kovatest

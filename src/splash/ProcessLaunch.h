#pragma once
// One program to start: by an argument vector, never through a shell.

#include <filesystem>
#include <string>
#include <vector>

namespace splash {

struct ProcessLaunch {
    // The executable itself; it is never looked up in PATH.
    std::filesystem::path program;
    // argv, argv[0] included; each element reaches the program as it stands.
    std::vector<std::string> arguments;
    // Empty: the launcher's own working directory.
    std::filesystem::path workingDirectory;
    // The program leads a process group of its own.
    bool newProcessGroup = false;
};

} // namespace splash

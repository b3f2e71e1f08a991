#pragma once
// How the launcher starts the programs it runs: by an argument vector, never
// through a shell. The windowed program uses the POSIX starter; tests may
// hand in another.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <sys/types.h>

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

class ProcessStarter {
public:
    virtual ~ProcessStarter() = default;
    // The child's process id, or nothing when it could not be started.
    virtual std::optional<pid_t> start(const ProcessLaunch& launch) = 0;
    // Without waiting: whether the child has ended (or can no longer be
    // asked). An ended child has been reaped.
    virtual bool hasEnded(pid_t child) = 0;
    // Waits for the child's end without a time limit: its exit code, or
    // nothing when a signal ended it or it cannot be waited for.
    virtual std::optional<int> waitForExit(pid_t child) = 0;
};

} // namespace splash

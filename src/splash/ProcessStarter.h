#pragma once
// How the launcher starts the programs it runs and learns of their end. The
// program uses the POSIX starter; tests may hand in another.

#include "splash/ProcessLaunch.h"

#include <optional>

#include <sys/types.h>

namespace splash {

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

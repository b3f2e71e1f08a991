#pragma once
// Starts programs with posix_spawn: the given argument vector, no shell, the
// launcher's environment, the signal dispositions and mask of a fresh
// process, and no descriptor of the launcher's but the standard three.

#include "splash/ProcessStarter.h"

namespace splash {

class PosixProcessStarter final : public ProcessStarter {
public:
    std::optional<pid_t> start(const ProcessLaunch& launch) override;
    bool hasEnded(pid_t child) override;
    std::optional<int> waitForExit(pid_t child) override;
};

} // namespace splash

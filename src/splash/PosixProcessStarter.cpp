#include "splash/PosixProcessStarter.h"

#include <cerrno>
#include <csignal>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace splash {

namespace {

class SpawnActions {
public:
    SpawnActions() { ok_ = posix_spawn_file_actions_init(&actions_) == 0; }
    ~SpawnActions()
    {
        if (ok_)
            posix_spawn_file_actions_destroy(&actions_);
    }
    SpawnActions(const SpawnActions&) = delete;
    SpawnActions& operator=(const SpawnActions&) = delete;
    bool ok() const { return ok_; }
    posix_spawn_file_actions_t* get() { return &actions_; }

private:
    posix_spawn_file_actions_t actions_{};
    bool ok_ = false;
};

class SpawnAttributes {
public:
    SpawnAttributes() { ok_ = posix_spawnattr_init(&attributes_) == 0; }
    ~SpawnAttributes()
    {
        if (ok_)
            posix_spawnattr_destroy(&attributes_);
    }
    SpawnAttributes(const SpawnAttributes&) = delete;
    SpawnAttributes& operator=(const SpawnAttributes&) = delete;
    bool ok() const { return ok_; }
    posix_spawnattr_t* get() { return &attributes_; }

private:
    posix_spawnattr_t attributes_{};
    bool ok_ = false;
};

} // namespace

std::optional<pid_t> PosixProcessStarter::start(const ProcessLaunch& launch)
{
    if (launch.program.empty() || launch.arguments.empty())
        return std::nullopt;

    SpawnActions actions;
    SpawnAttributes attributes;
    if (!actions.ok() || !attributes.ok())
        return std::nullopt;
    // The launcher's own descriptors (its message socket, the window
    // system's connection) are none of the child's business.
    if (posix_spawn_file_actions_addclosefrom_np(actions.get(), STDERR_FILENO + 1) != 0)
        return std::nullopt;
    if (!launch.workingDirectory.empty()
        && posix_spawn_file_actions_addchdir_np(actions.get(), launch.workingDirectory.c_str()) != 0)
        return std::nullopt;

    short flags = POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF;
    if (launch.newProcessGroup) {
        flags |= POSIX_SPAWN_SETPGROUP;
        posix_spawnattr_setpgroup(attributes.get(), 0);
    }
    sigset_t none;
    sigemptyset(&none);
    sigset_t all;
    sigfillset(&all);
    if (posix_spawnattr_setflags(attributes.get(), flags) != 0
        || posix_spawnattr_setsigmask(attributes.get(), &none) != 0
        || posix_spawnattr_setsigdefault(attributes.get(), &all) != 0)
        return std::nullopt;

    std::vector<char*> argv;
    argv.reserve(launch.arguments.size() + 1);
    for (const std::string& argument : launch.arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    pid_t child = 0;
    if (posix_spawn(&child, launch.program.c_str(), actions.get(), attributes.get(), argv.data(), environ) != 0)
        return std::nullopt;
    return child;
}

bool PosixProcessStarter::hasEnded(pid_t child)
{
    int status = 0;
    pid_t result = 0;
    do {
        result = ::waitpid(child, &status, WNOHANG);
    } while (result < 0 && errno == EINTR);
    return result != 0;
}

std::optional<int> PosixProcessStarter::waitForExit(pid_t child)
{
    int status = 0;
    pid_t result = 0;
    do {
        result = ::waitpid(child, &status, 0);
    } while (result < 0 && errno == EINTR);
    if (result != child || !WIFEXITED(status))
        return std::nullopt;
    return WEXITSTATUS(status);
}

} // namespace splash

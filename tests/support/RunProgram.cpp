#include "RunProgram.h"

#include "TempDir.h"

#include <cerrno>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace kovatest {

ProgramRun runProgram(const std::string& program, const std::vector<std::string>& arguments)
{
    TempDir folder;
    const std::string out = folder.file("stdout");
    const std::string err = folder.file("stderr");
    std::vector<std::string> args{program};
    args.insert(args.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ProgramRun run;
    if (spawned != 0)
        return run;
    int status = 0;
    pid_t waited = -1;
    do
        waited = ::waitpid(pid, &status, 0);
    while (waited < 0 && errno == EINTR);
    if (waited < 0)
        return run;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.output = readFile(out);
    run.errors = readFile(err);
    return run;
}

} // namespace kovatest

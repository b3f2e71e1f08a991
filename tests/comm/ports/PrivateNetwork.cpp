#include "PrivateNetwork.h"

#include "UserNamespace.h"

#include <fcntl.h>
#include <sched.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace searchtest {

namespace {

bool entered = false;
std::string problem = "the private network was never entered";

} // namespace

bool enterPrivateNetwork()
{
    // Root inside, so the ip tool keeps its powers over the new network.
    if (!kovatest::enterUserNamespace(CLONE_NEWNET, problem))
        return false;
    entered = true;
    if (!runIp({"link", "set", "lo", "up"})) {
        entered = false;
        problem = "cannot bring the namespace's loopback up";
        return false;
    }
    problem.clear();
    return true;
}

bool inPrivateNetwork()
{
    return entered;
}

const std::string& privateNetworkProblem()
{
    return problem;
}

bool runIp(const std::vector<std::string>& arguments)
{
    // Never outside the private network: these commands change interfaces.
    if (!entered)
        return false;
    for (const char* tool : {"/usr/sbin/ip", "/sbin/ip", "/usr/bin/ip", "/bin/ip"}) {
        if (::access(tool, X_OK) != 0)
            continue;
        std::vector<std::string> words{tool};
        words.insert(words.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (std::string& word : words)
            argv.push_back(word.data());
        argv.push_back(nullptr);
        pid_t pid = 0;
        if (::posix_spawn(&pid, tool, nullptr, nullptr, argv.data(), environ) != 0)
            return false;
        int status = 0;
        if (::waitpid(pid, &status, 0) != pid)
            return false;
        return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }
    return false;
}

StationInterface::StationInterface()
{
    if (!inPrivateNetwork())
        return;
    up_ = runIp({"link", "add", "veth0", "type", "veth", "peer", "name", "veth1"})
        && runIp({"addr", "add", std::string(ADDRESS) + "/24", "brd", BROADCAST, "dev", "veth0"})
        && runIp({"link", "set", "veth0", "up"}) && runIp({"link", "set", "veth1", "up"});
}

StationInterface::~StationInterface()
{
    if (inPrivateNetwork())
        runIp({"link", "del", "veth0"});
}

} // namespace searchtest

#include "platform/RegistryStore.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace {

using platform::RegistryRoot;

const char* const PROGRAM_KEY = "SOFTWARE\\Kova\\Kova CPR\\3.1.3";

class RegistryToolTest : public ::testing::Test {
protected:
    kovatest::TempDir dir;
    std::string output;

    void SetUp() override { ::setenv("KOVA_REGISTRY_DIR", dir.file("registry").c_str(), 1); }
    void TearDown() override { ::unsetenv("KOVA_REGISTRY_DIR"); }

    // Runs the tool with its output in a file; answers its exit status.
    int run(std::vector<std::string> args)
    {
        args.insert(args.begin(), KOVA_REGISTRY_TOOL);
        std::vector<char*> argv;
        for (std::string& arg : args)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        const std::string out = dir.file("out.txt");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        pid_t pid = 0;
        const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        if (spawned != 0)
            return -1;
        int status = 0;
        ::waitpid(pid, &status, 0);
        output = kovatest::readFile(out);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
};

TEST_F(RegistryToolTest, theInstallerWritesWhatTheProgramReads)
{
    ASSERT_EQ(run({"set-string", "machine", PROGRAM_KEY, "Data Folder", "/srv/kova cpr/data"}), 0);
    ASSERT_EQ(run({"set-dword", "machine", PROGRAM_KEY, "Patch level", "3"}), 0);
    platform::RegistryStore store;
    EXPECT_EQ(store.getString(RegistryRoot::Machine, PROGRAM_KEY, "Data Folder"), "/srv/kova cpr/data");
    EXPECT_EQ(store.getDword(RegistryRoot::Machine, PROGRAM_KEY, "Patch level"), 3u);

    EXPECT_EQ(run({"get", "machine", PROGRAM_KEY, "Patch level"}), 0);
    EXPECT_EQ(output, "3\n");
    EXPECT_EQ(run({"list", "machine", "SOFTWARE\\Kova\\Kova CPR"}), 0);
    EXPECT_EQ(output, "3.1.3\\\n");
    EXPECT_EQ(run({"list", "machine", PROGRAM_KEY}), 0);
    EXPECT_EQ(output, "Data Folder = /srv/kova cpr/data\nPatch level = 3\n");

    EXPECT_EQ(run({"delete-value", "machine", PROGRAM_KEY, "Patch level"}), 0);
    EXPECT_EQ(run({"get", "machine", PROGRAM_KEY, "Patch level"}), 1);
    EXPECT_EQ(run({"set-dword", "machine", PROGRAM_KEY, "Patch level", "three"}), 2);
    EXPECT_EQ(run({"get", "everywhere", PROGRAM_KEY, "x"}), 2);
    EXPECT_EQ(run({}), 2);
}

} // namespace

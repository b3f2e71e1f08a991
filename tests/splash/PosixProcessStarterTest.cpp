#include "splash/PosixProcessStarter.h"

#include "SplashTestKit.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

using splash::PosixProcessStarter;
using splash::ProcessLaunch;
using splashtest::readLines;
using splashtest::writeScript;

TEST(PosixProcessStarter, argumentsArriveAsTheyStandWithoutAShell)
{
    kovatest::TempDir folder;
    const auto out = folder.path() / "out";
    writeScript(folder.path() / "show", "for a in \"$@\"; do printf '[%s]\\n' \"$a\"; done > " +
                                            splashtest::shellQuoted(out.string()) + "\n");
    ProcessLaunch launch;
    launch.program = folder.path() / "show";
    launch.arguments = {"show", "two words", "", "$(touch pwned)", "a;b", "'quoted'", "*"};
    PosixProcessStarter starter;
    const auto child = starter.start(launch);
    ASSERT_TRUE(child);
    EXPECT_EQ(starter.waitForExit(*child), 0);
    EXPECT_EQ(readLines(out), (std::vector<std::string>{"[two words]", "[]", "[$(touch pwned)]", "[a;b]", "['quoted']", "[*]"}));
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "pwned"));
}

TEST(PosixProcessStarter, childStartsCleanInItsFolderAndGroup)
{
    kovatest::TempDir folder;
    const auto work = folder.path() / "work";
    std::filesystem::create_directory(work);
    // A descriptor of ours without close-on-exec, and a signal we ignore.
    const int leaked = ::open(folder.file("leak").c_str(), O_CREAT | O_WRONLY, 0600);
    ASSERT_GE(leaked, 0);
    ASSERT_GE(::dup2(leaked, 47), 0);
    ::close(leaked);
    const auto previous = std::signal(SIGUSR1, SIG_IGN);

    writeScript(folder.path() / "probe",
                "pwd > report\n"
                "if [ -e /proc/$$/fd/47 ]; then echo open; else echo closed; fi >> report\n"
                "echo \"$(cut -d' ' -f5 /proc/$$/stat) $$\" >> report\n"
                "grep SigIgn /proc/$$/status | cut -f2 >> report\n");
    ProcessLaunch launch;
    launch.program = folder.path() / "probe";
    launch.arguments = {"probe"};
    launch.workingDirectory = work;
    launch.newProcessGroup = true;
    PosixProcessStarter starter;
    const auto child = starter.start(launch);
    ::close(47);
    std::signal(SIGUSR1, previous);
    ASSERT_TRUE(child);
    EXPECT_EQ(starter.waitForExit(*child), 0);

    const auto report = readLines(work / "report");
    ASSERT_EQ(report.size(), 4u);
    EXPECT_EQ(report[0], work.string());
    EXPECT_EQ(report[1], "closed");
    EXPECT_EQ(report[2], std::to_string(*child) + " " + std::to_string(*child));
    const unsigned long ignored = std::stoul(report[3], nullptr, 16);
    EXPECT_EQ(ignored & (1ul << (SIGUSR1 - 1)), 0u);
}

TEST(PosixProcessStarter, exitCodesSignalsAndFailedStarts)
{
    kovatest::TempDir folder;
    PosixProcessStarter starter;
    const auto run = [&](const std::string& body) -> std::optional<int> {
        writeScript(folder.path() / "child", body);
        const auto child = starter.start({folder.path() / "child", {"child"}, {}, false});
        if (!child)
            return -1000;
        return starter.waitForExit(*child);
    };
    EXPECT_EQ(run("exit 2\n"), 2);
    EXPECT_EQ(run("exit 255\n"), 255);
    EXPECT_EQ(run("kill -9 $$\n"), std::nullopt);

    EXPECT_FALSE(starter.start({folder.path() / "missing", {"missing"}, {}, false}));
    kovatest::writeFile(folder.path() / "plain", "not a program");
    EXPECT_FALSE(starter.start({folder.path() / "plain", {"plain"}, {}, false}));

    // Polling reaps the child once it has ended.
    writeScript(folder.path() / "quick", "exit 0\n");
    const auto child = starter.start({folder.path() / "quick", {"quick"}, {}, false});
    ASSERT_TRUE(child);
    EXPECT_TRUE(splashtest::waitFor([&] { return starter.hasEnded(*child); }));
    EXPECT_TRUE(starter.hasEnded(*child));
}

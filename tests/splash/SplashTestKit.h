#pragma once
// Small helpers of the launcher's tests: a debug log that keeps its lines,
// executable scripts standing in for the outside programs, and waiting for
// something a child process does.

#include "platform/MessageBox.h"
#include "platform/RegistryStore.h"
#include "splash/PosixProcessStarter.h"
#include "splash/SplashLauncher.h"
#include "splash/SplashLog.h"
#include "splash/SplashView.h"
#include "splash/UpdateInstaller.h"

#include "ScopedEnvironment.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace splashtest {

class RecordingLog final : public splash::SplashLog {
public:
    void line(const std::string& text) override { lines.push_back(text); }
    bool contains(const std::string& text) const;
    // Whether the texts appear in this order, one right after the other.
    bool containsRun(const std::vector<std::string>& texts) const;
    std::vector<std::string> lines;
};

class RecordingView final : public splash::SplashView {
public:
    void hideSplash() override { ++hides; }
    void stopTimer() override { ++timerStops; }
    int hides = 0;
    int timerStops = 0;
};

// Starts programs for real and keeps what it was asked to start.
class RecordingStarter final : public splash::ProcessStarter {
public:
    std::optional<pid_t> start(const splash::ProcessLaunch& launch) override
    {
        launches.push_back(launch);
        return real.start(launch);
    }
    bool hasEnded(pid_t child) override { return real.hasEnded(child); }
    std::optional<int> waitForExit(pid_t child) override { return real.waitForExit(child); }

    splash::PosixProcessStarter real;
    std::vector<splash::ProcessLaunch> launches;
};

using kovatest::ScopedEnvironment;

// A launcher in a station folder of its own, working in another folder,
// with a private registry; its main program never outlives the test.
class LauncherFixture : public ::testing::Test {
protected:
    void SetUp() override;
    ~LauncherFixture() override;

    splash::SplashLauncher& makeLauncher(std::vector<std::string> arguments = {});

    kovatest::TempDir root;
    const std::filesystem::path launcher = root.path() / "launcher";
    const std::filesystem::path work = root.path() / "work";
    std::optional<kovatest::ScopedCwd> inWork;
    platform::RegistryStore registry{root.path() / "registry"};
    RecordingLog log;
    RecordingStarter starter;
    platform::RecordingMessageAsker asker;
    platform::ScopedMessageAsker askerInForce{asker};
    splash::UpdateInstaller installer{registry, starter, log, launcher, "Pallovex Vantorelle"};
    std::unique_ptr<splash::SplashLauncher> launcherUnderTest;
};

// Writes a shell script (a "#!/bin/sh" line is put in front) and makes it executable.
void writeScript(const std::filesystem::path& file, const std::string& body);

// Quotes a text for a shell script.
std::string shellQuoted(const std::string& text);

// Waits up to ten seconds for the condition; its last answer.
template <class Condition>
bool waitFor(Condition condition)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return condition();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

// The lines of a text file.
std::vector<std::string> readLines(const std::filesystem::path& file);

} // namespace splashtest

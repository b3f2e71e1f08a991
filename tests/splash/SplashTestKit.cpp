#include "SplashTestKit.h"

#include "TempDir.h"

#include <algorithm>
#include <csignal>
#include <sstream>

namespace splashtest {

bool RecordingLog::contains(const std::string& text) const
{
    return std::find(lines.begin(), lines.end(), text) != lines.end();
}

bool RecordingLog::containsRun(const std::vector<std::string>& texts) const
{
    return std::search(lines.begin(), lines.end(), texts.begin(), texts.end()) != lines.end();
}

void LauncherFixture::SetUp()
{
    std::filesystem::create_directories(launcher);
    std::filesystem::create_directories(work);
    inWork.emplace(work);
}

LauncherFixture::~LauncherFixture()
{
    const auto child = launcherUnderTest ? launcherUnderTest->child() : std::nullopt;
    if (child && !starter.hasEnded(*child)) {
        ::kill(*child, SIGKILL);
        starter.waitForExit(*child);
    }
}

splash::SplashLauncher& LauncherFixture::makeLauncher(std::vector<std::string> arguments)
{
    launcherUnderTest = std::make_unique<splash::SplashLauncher>(std::move(arguments), launcher, starter, log, installer);
    launcherUnderTest->begin();
    return *launcherUnderTest;
}

void writeScript(const std::filesystem::path& file, const std::string& body)
{
    kovatest::writeFile(file, "#!/bin/sh\n" + body);
    std::filesystem::permissions(file, std::filesystem::perms::owner_all);
}

std::string shellQuoted(const std::string& text)
{
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted += c;
    }
    return quoted + "'";
}

std::vector<std::string> readLines(const std::filesystem::path& file)
{
    std::vector<std::string> lines;
    std::istringstream in(kovatest::readFile(file));
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

} // namespace splashtest

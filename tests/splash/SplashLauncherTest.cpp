#include "splash/SplashLauncher.h"

#include "platform/ManualClock.h"
#include "platform/MessageBox.h"
#include "platform/RegistryStore.h"
#include "platform/ScopedClock.h"
#include "platform/SplashMessage.h"
#include "splash/UpdateInstaller.h"

#include "SplashTestKit.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>

namespace fs = std::filesystem;
using platform::SplashMessage;
using splash::SplashLauncher;
using splashtest::readLines;
using splashtest::shellQuoted;
using splashtest::writeScript;
using Tick = SplashLauncher::Tick;

namespace {

class SplashLauncherTest : public splashtest::LauncherFixture {
protected:
    void SetUp() override
    {
        LauncherFixture::SetUp();
        fs::create_directories(trace);
        fs::create_directories(elsewhere);
    }

    // A main program that notes where it was found and its arguments, then
    // runs `rest`.
    void writeMainProgram(const fs::path& folder, const std::string& rest = "sleep 10\n")
    {
        writeScript(folder / "KOVA_CPR", "echo " + shellQuoted(folder.string()) + " > " + tracePath("where") + "\n"
                                             "for a in \"$@\"; do printf '[%s]\\n' \"$a\"; done > " + tracePath("args") + "\n"
                                             + rest);
    }

    std::string tracePath(const std::string& name) const { return shellQuoted((trace / name).string()); }

    // Ticks until the launcher ends (at most ten seconds).
    bool tickUntilEnd(SplashLauncher& splash)
    {
        return splashtest::waitFor([&] { return splash.onTimer(view) == Tick::End; });
    }

    const fs::path trace = root.path() / "trace";
    const fs::path elsewhere = root.path() / "elsewhere";
    splashtest::RecordingView view;
};

} // namespace

TEST_F(SplashLauncherTest, startsTheMainProgramWithItsOwnArgumentsAndEndsWithIt)
{
    writeMainProgram(launcher, "while [ ! -e " + tracePath("stop") + " ]; do sleep 0.02; done\n");
    SplashLauncher& splash = makeLauncher({"splashini:my.ini", "-x", "two words", "$(touch pwned)", ""});
    ASSERT_GE(log.lines.size(), 2u);
    EXPECT_EQ(log.lines[0], "Start");
    EXPECT_EQ(log.lines[1], "KOVA_CPR splashini:my.ini -x two words $(touch pwned) ");

    EXPECT_EQ(splash.onTimer(view), Tick::Continue);
    ASSERT_TRUE(splash.child());
    EXPECT_TRUE(log.containsRun({"WM_TIMER", "CreateProcess succes: \"KOVA_CPR\"", "WaitForInputIdle(..) == WAIT_TIMEOUT"}));
    ASSERT_TRUE(splashtest::waitFor([&] { return fs::exists(trace / "args"); }));
    EXPECT_TRUE(splashtest::waitFor([&] { return readLines(trace / "args").size() == 5; }));
    EXPECT_EQ(readLines(trace / "args"),
              (std::vector<std::string>{"[splashini:my.ini]", "[-x]", "[two words]", "[$(touch pwned)]", "[]"}));
    EXPECT_EQ(starter.launches.back().arguments.front(), "KOVA_CPR");
    EXPECT_FALSE(fs::exists(work / "pwned"));

    // A click hides the splash; it still ends when the main program does.
    splash.onClick();
    EXPECT_TRUE(log.contains("Hide dialog, ( childProcessIsIdle == false )"));
    EXPECT_EQ(splash.onTimer(view), Tick::Continue);
    kovatest::writeFile(trace / "stop", "");
    EXPECT_TRUE(tickUntilEnd(splash));
    EXPECT_EQ(log.lines.back(), "Child is dead");
    EXPECT_EQ(view.hides, 0);
    EXPECT_TRUE(asker.asked.empty());
    EXPECT_EQ(starter.launches.size(), 1u);
}

TEST_F(SplashLauncherTest, mainProgramIsFoundBesideTheLauncherThenHereThenOnPath)
{
    splashtest::ScopedEnvironment path("PATH", elsewhere.string() + ":" + std::getenv("PATH"));
    const std::vector<fs::path> order{launcher, work, elsewhere};
    for (const fs::path& folder : order)
        writeMainProgram(folder, "exit 0\n");
    for (const fs::path& expected : order) {
        fs::remove(trace / "where");
        SplashLauncher& splash = makeLauncher();
        EXPECT_TRUE(tickUntilEnd(splash));
        EXPECT_EQ(readLines(trace / "where"), std::vector<std::string>{expected.string()});
        EXPECT_EQ(log.lines.back(), "Child is dead");
        fs::remove(expected / "KOVA_CPR");
    }
}

TEST_F(SplashLauncherTest, withoutTheMainProgramItSaysSoAndEnds)
{
    // Present, but not a program; and nothing of the name on PATH.
    splashtest::ScopedEnvironment path("PATH", elsewhere.string());
    kovatest::writeFile(launcher / "KOVA_CPR", "echo no\n");
    SplashLauncher& splash = makeLauncher();
    EXPECT_EQ(splash.onTimer(view), Tick::End);
    EXPECT_EQ(log.lines.back(), "CreateProcess failed: \"KOVA_CPR\"");
    ASSERT_EQ(asker.asked.size(), 1u);
    EXPECT_EQ(asker.asked[0].text, L"Can not open: \"KOVA_CPR\"");
    EXPECT_EQ(asker.asked[0].caption, L"failed");
    EXPECT_EQ(asker.asked[0].style, platform::MB_ICONERROR);
    EXPECT_EQ(view.timerStops, 1);
    EXPECT_FALSE(splash.child());
}

TEST_F(SplashLauncherTest, closeMessageEndsAtOnceAndOthersAreIgnored)
{
    writeMainProgram(launcher);
    SplashLauncher& splash = makeLauncher();
    EXPECT_EQ(splash.onCloseMessage({0, 0}), Tick::Continue);
    EXPECT_EQ(splash.onCloseMessage({0x614C328, 0}), Tick::Continue);
    EXPECT_FALSE(log.contains("SPLASH_MESSAGE_ID_CLOSE, EndDialog"));

    // Before the first tick: the main program is never started.
    EXPECT_EQ(splash.onCloseMessage({SplashMessage::CLOSE, 12345}), Tick::End);
    EXPECT_EQ(log.lines.back(), "SPLASH_MESSAGE_ID_CLOSE, EndDialog");
    EXPECT_EQ(splash.onTimer(view), Tick::End);
    EXPECT_FALSE(splash.child());
    EXPECT_TRUE(starter.launches.empty());
    EXPECT_FALSE(log.contains("WM_TIMER"));
}

// A launcher whose listener folder someone else took cannot hear the
// station: it must not stay over it for the station's whole life.
TEST_F(SplashLauncherTest, aLauncherThatCannotHearTheCloseMessageGoesAfterItsBound)
{
    writeMainProgram(launcher);
    platform::ManualClock clock;
    platform::ScopedClock clockInForce(clock);
    for (const bool hears : {true, false}) {
        log.lines.clear();
        SplashLauncher& splash = makeLauncher();
        splash.setHearsCloseMessage(hears);
        EXPECT_EQ(splash.onTimer(view), Tick::Continue);
        ASSERT_TRUE(splash.child());
        clock.advance(SplashLauncher::DEAF_BOUND - 1);
        EXPECT_EQ(splash.onTimer(view), Tick::Continue) << hears;
        clock.advance(1);
        EXPECT_EQ(splash.onTimer(view), hears ? Tick::Continue : Tick::End) << hears;
        // One that hears waits for the message (or the child's end) as long as it takes.
        clock.advance(3600 * 1000);
        EXPECT_EQ(splash.onTimer(view), hears ? Tick::Continue : Tick::End) << hears;
        EXPECT_EQ(log.contains("End dialog, no close message can arrive"), !hears);
        ::kill(*splash.child(), SIGKILL);
        starter.waitForExit(*splash.child());
    }
}

TEST_F(SplashLauncherTest, closeMessageWhileATickWaitsEndsWhenItIsDone)
{
    writeMainProgram(launcher);
    // An update to install, so the tick hides the splash: the close message
    // is taken while the window goes, and a tick from the timer comes too.
    platform::RegistryStore::setMachineWritable(true);
    registry.setString(platform::RegistryRoot::Machine, splash::UpdateInstaller::AGENT_KEY, "Folder",
                       (root.path() / "agent").string());
    platform::RegistryStore::setMachineWritable(false);
    fs::create_directories(root.path() / "agent/Downloads/Pallovex Vantorelle");
    writeScript(root.path() / "agent/Downloads/Pallovex Vantorelle/u.exe", "exit 0\n");
    writeScript(launcher / "Decryptor.exe", "cp -- \"$1\" \"./$2\"\nexit 1\n");

    SplashLauncher& splash = makeLauncher();
    class ReenteringView final : public splash::SplashView {
    public:
        explicit ReenteringView(SplashLauncher& launcher) : launcher_(launcher) {}
        void hideSplash() override
        {
            nested = launcher_.onTimer(*this);
            closed = launcher_.onCloseMessage({SplashMessage::CLOSE, 0});
        }
        void stopTimer() override {}
        SplashLauncher& launcher_;
        Tick nested = Tick::End;
        Tick closed = Tick::End;
    } reentering(splash);

    EXPECT_EQ(splash.onTimer(reentering), Tick::End);
    EXPECT_EQ(reentering.nested, Tick::Continue);
    EXPECT_EQ(reentering.closed, Tick::Continue);
    EXPECT_EQ(std::count(log.lines.begin(), log.lines.end(), "WM_TIMER"), 1);
    // As a message taken after the tick would: the main program was started.
    EXPECT_TRUE(splash.child());
    EXPECT_TRUE(splash.ended());
}

TEST_F(SplashLauncherTest, restartAfterUpdatesEndsWithoutTheMainProgram)
{
    writeMainProgram(launcher);
    platform::RegistryStore::setMachineWritable(true);
    registry.setString(platform::RegistryRoot::Machine, splash::UpdateInstaller::AGENT_KEY, "Folder",
                       (root.path() / "agent").string());
    platform::RegistryStore::setMachineWritable(false);
    const fs::path downloads = root.path() / "agent/Downloads/Pallovex Vantorelle";
    fs::create_directories(downloads);
    writeScript(downloads / "a.exe", "exit 2\n");
    writeScript(downloads / "b.exe", "exit 0\n");
    writeScript(launcher / "Decryptor.exe", "cp -- \"$1\" \"./$2\"\nexit 1\n");

    SplashLauncher& splash = makeLauncher();
    EXPECT_EQ(splash.onTimer(view), Tick::End);
    EXPECT_EQ(view.hides, 1);
    ASSERT_EQ(asker.asked.size(), 1u);
    EXPECT_EQ(asker.asked[0].text, L"Please close all applications and restart the computer.");
    EXPECT_EQ(asker.asked[0].caption, L"Tessund Application");
    EXPECT_EQ(asker.asked[0].style, platform::MB_OK);
    EXPECT_FALSE(splash.child());
    EXPECT_FALSE(fs::exists(trace / "where"));
}

TEST_F(SplashLauncherTest, picturesComeFromTheIniBesideTheLauncher)
{
    // The ini of the option is read in the launcher's folder, not here.
    kovatest::writeFile(launcher / "my.ini", "[splash]\npicture=missing.bmp\nlogo=\n");
    kovatest::writeFile(work / "my.ini", "[splash]\npicture=other.bmp\n");
    SplashLauncher& splash = makeLauncher({"splashini:my.ini", "-x"});
    const SplashLauncher::Pictures pictures = splash.initDialog();
    EXPECT_FALSE(pictures.logo);
    const std::string ini = (launcher / "my.ini").string();
    EXPECT_TRUE(log.containsRun({"WM_INITDIALOG", "Open ini file:", ini, "Loading custom logo failed", "Open ini file:",
                                 ini, "Loading custom picture", "missing.bmp", "Loading custom picture failed"}))
        << ::testing::PrintToString(log.lines);
}

TEST_F(SplashLauncherTest, iniPathNeedsTheLaunchersFolder)
{
    struct Case {
        fs::path folder;
        std::optional<fs::path> ini;
        const char* line;
    };
    const Case cases[] = {
        {"/opt/station", fs::path("/opt/station/splash.ini"), nullptr},
        {"", std::nullopt, "GetModuleFileName failed"},
        {"relative", std::nullopt, "Can not find absolute path to splash.ini"},
        {"/" + std::string(5000, 'd'), std::nullopt, "Can not find absolute path to splash.ini"},
    };
    for (const Case& c : cases) {
        log.lines.clear();
        SplashLauncher splash({}, c.folder, starter, log, installer);
        splash.begin();
        EXPECT_EQ(splash.iniPath(), c.ini);
        if (c.line) {
            EXPECT_EQ(log.lines.back(), c.line);
        }
    }
}

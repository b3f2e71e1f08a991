// The real launcher program, copied into a station folder of its own beside a
// stand-in main program.

#include "platform/SplashMessage.h"
#include "splash/SplashLauncher.h"

#include "SplashTestKit.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>

#include <algorithm>

#include <unistd.h>

namespace fs = std::filesystem;
using platform::SplashMessage;
using splashtest::shellQuoted;

namespace {

// The real launcher copied into `station` beside a stand-in main program
// that writes its arguments to `trace`/args and lives until `trace`/go
// appears. `temp` holds the launcher's runtime folder (where launchers
// listen), or with `runtime` false its home, and its registry.
void startLauncher(QProcess& splash, const fs::path& station, const fs::path& trace, const fs::path& temp,
                   const fs::path& work, const QStringList& arguments, bool runtime = true)
{
    for (const fs::path& folder : {station, work, trace})
        fs::create_directories(folder);
    fs::copy_file(KOVA_SPLASH_PROGRAM, station / "splash");
    const std::string traced = shellQuoted(trace.string());
    splashtest::writeScript(station / "KOVA_CPR",
                            "for a in \"$@\"; do printf '[%s]\\n' \"$a\"; done > " + traced + "/args.part\n"
                            "mv " + traced + "/args.part " + traced + "/args\n"
                            "i=0\n"
                            "while [ ! -e " + traced + "/go ] && [ $i -lt 1000 ]; do sleep 0.02; i=$((i + 1)); done\n"
                            "echo alive > " + traced + "/outlived\n");
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    // The listener's socket goes into the user's runtime folder, else into
    // the home; here both are the test's.
    fs::create_directories(temp / "runtime");
    fs::permissions(temp / "runtime", fs::perms::owner_all);
    environment.insert("TMPDIR", QString::fromStdString(temp.string()));
    environment.insert("HOME", QString::fromStdString((temp / "home").string()));
    if (runtime)
        environment.insert("XDG_RUNTIME_DIR", QString::fromStdString((temp / "runtime").string()));
    else
        environment.remove("XDG_RUNTIME_DIR");
    environment.insert("KOVA_REGISTRY_DIR", QString::fromStdString((temp / "registry").string()));
    splash.setProcessEnvironment(environment);
    splash.setWorkingDirectory(QString::fromStdString(work.string()));
    splash.start(QString::fromStdString((station / "splash").string()), arguments);
}

// The launcher's debug lines.
std::vector<std::string> splashLines(QProcess& splash)
{
    std::vector<std::string> lines;
    for (const QByteArray& line : splash.readAllStandardError().split('\n'))
        if (line.startsWith("Splash: "))
            lines.push_back(line.toStdString());
    return lines;
}

bool contains(const std::vector<std::string>& lines, const std::string& line)
{
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// Where the launchers of the test listen.
std::string listenersIn(const fs::path& temp)
{
    return (temp / "runtime" / SplashMessage::listenerFolderName()).string();
}

} // namespace

TEST(SplashProgram, startsTheStationWhichOutlivesIt)
{
    kovatest::TempDir root;
    const fs::path trace = root.path() / "trace";
    QProcess splash;
    // Qt's own options reach the main program too.
    const QStringList arguments{"-platform", "offscreen", "two words", "splashini:none.ini"};
    startLauncher(splash, root.path() / "station", trace, root.path(), root.path() / "work", arguments);
    ASSERT_TRUE(splash.waitForStarted(10000));

    ASSERT_TRUE(splashtest::waitFor([&] { return fs::exists(trace / "args"); }));
    EXPECT_EQ(splashtest::readLines(trace / "args"),
              (std::vector<std::string>{"[-platform]", "[offscreen]", "[two words]", "[splashini:none.ini]"}));

    EXPECT_EQ(SplashMessage::broadcastIn(listenersIn(root.path()), {SplashMessage::CLOSE, 0}), 1);
    ASSERT_TRUE(splash.waitForFinished(10000));
    EXPECT_EQ(splash.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(splash.exitCode(), 0);

    const std::vector<std::string> lines = splashLines(splash);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front(), "Splash: \"Start\"");
    EXPECT_EQ(lines[1], "Splash: \"KOVA_CPR -platform offscreen two words splashini:none.ini\"");
    EXPECT_TRUE(contains(lines, "Splash: \"SPLASH_MESSAGE_ID_CLOSE, EndDialog\""));
    EXPECT_EQ(lines.back(), "Splash: \"Exit\"");

    // The main program goes on after the launcher has gone.
    EXPECT_FALSE(fs::exists(trace / "outlived"));
    kovatest::writeFile(trace / "go", "");
    EXPECT_TRUE(splashtest::waitFor([&] { return fs::exists(trace / "outlived"); }));
}

TEST(SplashProgram, twoLaunchersStartedTogetherBothCloseOnTheStationsMessage)
{
    kovatest::TempDir root;
    QProcess first;
    QProcess second;
    const fs::path firstTrace = root.path() / "first-trace";
    const fs::path secondTrace = root.path() / "second-trace";
    startLauncher(first, root.path() / "first", firstTrace, root.path(), root.path() / "work", {"demo"});
    startLauncher(second, root.path() / "second", secondTrace, root.path(), root.path() / "work", {"demo"});
    ASSERT_TRUE(first.waitForStarted(10000));
    ASSERT_TRUE(second.waitForStarted(10000));
    // Both stations are up: each launcher listens since before it started its own.
    ASSERT_TRUE(splashtest::waitFor([&] { return fs::exists(firstTrace / "args") && fs::exists(secondTrace / "args"); }));

    // The station that is ready first says so, as to every top-level window.
    EXPECT_EQ(SplashMessage::broadcastIn(listenersIn(root.path()), {SplashMessage::CLOSE, 0}), 2);
    for (QProcess* splash : {&first, &second}) {
        ASSERT_TRUE(splash->waitForFinished(10000)) << "a launcher stayed over its station";
        const std::vector<std::string> lines = splashLines(*splash);
        EXPECT_TRUE(contains(lines, "Splash: \"SPLASH_MESSAGE_ID_CLOSE, EndDialog\""));
        for (const std::string& line : lines)
            EXPECT_EQ(line.find("No close message"), std::string::npos) << line;
    }
    for (const fs::path& trace : {firstTrace, secondTrace})
        kovatest::writeFile(trace / "go", "");
}

// Another took the listener folder's name in the home before the launcher:
// it cannot listen, and still goes soon after starting the station, which
// outlives it.
TEST(SplashProgram, aLauncherThatCannotListenGoesAfterItsBound)
{
    kovatest::TempDir root;
    const fs::path trace = root.path() / "trace";
    const fs::path cache = root.path() / "home/.cache/kovacpr";
    fs::create_directories(cache);
    fs::create_directories(root.path() / "elsewhere");
    fs::create_directory_symlink(root.path() / "elsewhere", cache / SplashMessage::listenerFolderName());
    QProcess splash;
    startLauncher(splash, root.path() / "station", trace, root.path(), root.path() / "work", {"demo"}, false);
    ASSERT_TRUE(splash.waitForStarted(10000));
    ASSERT_TRUE(splashtest::waitFor([&] { return fs::exists(trace / "args"); }));

    // Nothing is sent: the bound alone ends it, with some room for a loaded machine.
    ASSERT_TRUE(splash.waitForFinished(static_cast<int>(splash::SplashLauncher::DEAF_BOUND) + 10000))
        << "the launcher stayed over its station";
    EXPECT_EQ(splash.exitCode(), 0);
    const std::vector<std::string> lines = splashLines(splash);
    const auto refused = std::find_if(lines.begin(), lines.end(), [](const std::string& line) {
        return line.find("No close message: ") != std::string::npos && line.find("symbolic link") != std::string::npos;
    });
    EXPECT_NE(refused, lines.end()) << ::testing::PrintToString(lines);
    EXPECT_TRUE(contains(lines, "Splash: \"End dialog, no close message can arrive\""));
    EXPECT_EQ(lines.back(), "Splash: \"Exit\"");
    EXPECT_TRUE(fs::is_empty(root.path() / "elsewhere"));

    EXPECT_FALSE(fs::exists(trace / "outlived"));
    kovatest::writeFile(trace / "go", "");
    EXPECT_TRUE(splashtest::waitFor([&] { return fs::exists(trace / "outlived"); }));
}

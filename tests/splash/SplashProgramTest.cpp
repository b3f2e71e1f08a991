// The real launcher program, copied into a station folder of its own beside a
// stand-in main program.

#include "platform/SplashMessage.h"

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
// appears; the launcher's temporary folder (where launchers listen) is `temp`.
void startLauncher(QProcess& splash, const fs::path& station, const fs::path& trace, const fs::path& temp,
                   const fs::path& work, const QStringList& arguments)
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
    // The listener's socket goes into Qt's temporary folder, here the test's.
    environment.insert("TMPDIR", QString::fromStdString(temp.string()));
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

    const std::string listeners = (root.path() / SplashMessage::listenerFolderName()).string();
    EXPECT_EQ(SplashMessage::broadcastIn(listeners, {SplashMessage::CLOSE, 0}), 1);
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
    const std::string listeners = (root.path() / SplashMessage::listenerFolderName()).string();
    EXPECT_EQ(SplashMessage::broadcastIn(listeners, {SplashMessage::CLOSE, 0}), 2);
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

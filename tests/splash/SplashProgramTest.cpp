// The real launcher program, copied into a station folder of its own beside a
// stand-in main program.

#include "platform/SplashMessage.h"

#include "SplashTestKit.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>

#include <unistd.h>

namespace fs = std::filesystem;
using platform::SplashMessage;
using splashtest::shellQuoted;

TEST(SplashProgram, startsTheStationWhichOutlivesIt)
{
    kovatest::TempDir root;
    const fs::path station = root.path() / "station";
    const fs::path work = root.path() / "work";
    const fs::path trace = root.path() / "trace";
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

    QProcess splash;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    // The listener's socket goes into Qt's temporary folder, here ours.
    environment.insert("TMPDIR", QString::fromStdString(root.path().string()));
    environment.insert("KOVA_REGISTRY_DIR", QString::fromStdString((root.path() / "registry").string()));
    splash.setProcessEnvironment(environment);
    splash.setWorkingDirectory(QString::fromStdString(work.string()));
    // Qt's own options reach the main program too.
    const QStringList arguments{"-platform", "offscreen", "two words", "splashini:none.ini"};
    splash.start(QString::fromStdString((station / "splash").string()), arguments);
    ASSERT_TRUE(splash.waitForStarted(10000));

    ASSERT_TRUE(splashtest::waitFor([&] { return fs::exists(trace / "args"); }));
    EXPECT_EQ(splashtest::readLines(trace / "args"),
              (std::vector<std::string>{"[-platform]", "[offscreen]", "[two words]", "[splashini:none.ini]"}));

    const std::string socket = (root.path() / SplashMessage::serverName()).string();
    EXPECT_TRUE(SplashMessage::sendTo(socket, {SplashMessage::CLOSE, 0}));
    ASSERT_TRUE(splash.waitForFinished(10000));
    EXPECT_EQ(splash.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(splash.exitCode(), 0);

    std::vector<std::string> lines;
    for (const QByteArray& line : splash.readAllStandardError().split('\n'))
        if (line.startsWith("Splash: "))
            lines.push_back(line.toStdString());
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front(), "Splash: \"Start\"");
    EXPECT_EQ(lines[1], "Splash: \"KOVA_CPR -platform offscreen two words splashini:none.ini\"");
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Splash: \"SPLASH_MESSAGE_ID_CLOSE, EndDialog\""), lines.end());
    EXPECT_EQ(lines.back(), "Splash: \"Exit\"");

    // The main program goes on after the launcher has gone.
    EXPECT_FALSE(fs::exists(trace / "outlived"));
    kovatest::writeFile(trace / "go", "");
    EXPECT_TRUE(splashtest::waitFor([&] { return fs::exists(trace / "outlived"); }));
}

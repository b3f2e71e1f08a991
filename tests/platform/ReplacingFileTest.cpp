// Replacing a file whole through a temporary of its own, and clearing away
// the temporaries of writers that died before their rename.

#include "platform/ReplacingFile.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <set>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using platform::ReplacingFile;

std::set<std::string> namesIn(const std::filesystem::path& folder)
{
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

TEST(ReplacingFile, writersAtOnceEachHaveATemporaryOfTheirOwn)
{
    kovatest::TempDir dir;
    const std::string target = dir.file("configuration.cprcfg");
    ReplacingFile first(target);
    ReplacingFile second(target);
    ASSERT_TRUE(first.open());
    ASSERT_TRUE(second.open());
    EXPECT_NE(first.temporaryPath(), second.temporaryPath());
    EXPECT_EQ(first.temporaryPath().rfind(target + ".tmp", 0), 0u);
    ASSERT_TRUE(first.write("first", 5) && second.write("second", 6));
    ASSERT_TRUE(first.finish() && second.finish());
    EXPECT_TRUE(second.commit());
    EXPECT_TRUE(first.commit());
    EXPECT_EQ(kovatest::readFile(target), "first");
    EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"configuration.cprcfg"});

    // One that never commits leaves nothing behind either.
    {
        ReplacingFile abandoned(target);
        ASSERT_TRUE(abandoned.open());
        ASSERT_TRUE(abandoned.write("lost", 4));
    }
    EXPECT_EQ(kovatest::readFile(target), "first");
    EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"configuration.cprcfg"});
}

TEST(ReplacingFile, onlyTheTemporariesOfDeadWritersAreSweptAway)
{
    kovatest::TempDir dir;
    const std::string target = dir.file("user.reg");
    kovatest::writeFile(target, "kept");

    // A writer killed between its write and its rename.
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t writer = ::fork();
    ASSERT_GE(writer, 0);
    if (writer == 0) {
        ReplacingFile file(target);
        const bool opened = file.open() && file.write("half", 4);
        const char answer = opened ? 'y' : 'n';
        (void)!::write(ready[1], &answer, 1);
        ::pause();
        ::_exit(0);
    }
    char answer = 0;
    ASSERT_EQ(::read(ready[0], &answer, 1), 1);
    ::close(ready[0]);
    ::close(ready[1]);
    ASSERT_EQ(answer, 'y');

    // Names of earlier versions of the station, and names that are not ours.
    for (const char* name : {"user.reg.tmp", "user.reg.tmp4242"})
        kovatest::writeFile(dir.path() / name, "stale");
    const std::set<std::string> foreign = {"user.reg.tmp.bak", "user.reg.damaged", "machine.reg.tmp4242", "user.lock"};
    for (const std::string& name : foreign)
        kovatest::writeFile(dir.path() / name, "not ours");
    std::filesystem::create_directory(dir.path() / "user.reg.tmpdir");

    ReplacingFile live(target);
    ASSERT_TRUE(live.open());
    ASSERT_TRUE(live.write("new", 3));

    const std::set<std::string> before = namesIn(dir.path());
    EXPECT_EQ(ReplacingFile::removeStale(target), 2);
    EXPECT_EQ(before.size() - namesIn(dir.path()).size(), 2u) << "the killed writer is still alive";

    ::kill(writer, SIGKILL);
    int status = 0;
    ::waitpid(writer, &status, 0);
    EXPECT_EQ(ReplacingFile::removeStale(target), 1);

    std::set<std::string> expected = foreign;
    expected.insert({"user.reg", "user.reg.tmpdir", std::filesystem::path(live.temporaryPath()).filename().string()});
    EXPECT_EQ(namesIn(dir.path()), expected);
    ASSERT_TRUE(live.finish());
    EXPECT_TRUE(live.commit()) << "a sweep never takes a live writer's file";
    EXPECT_EQ(kovatest::readFile(target), "new");
}

} // namespace

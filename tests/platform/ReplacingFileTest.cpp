// Replacing a file whole through a temporary of its own, and clearing away
// the temporaries of writers that died before their rename; no sweep ever
// meets a living writer's temporary unlocked, or takes it from the writer.

#include "platform/ReplacingFile.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <set>
#include <sys/file.h>
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

// The seam set for one test only.
class ScopedSeam {
public:
    explicit ScopedSeam(ReplacingFile::TestSeam seam) { ReplacingFile::setTestSeam(std::move(seam)); }
    ~ScopedSeam() { ReplacingFile::setTestSeam({}); }
};

TEST(ReplacingFile, aTemporaryIsHeldBeforeAnySweepCanSeeIt)
{
    kovatest::TempDir dir;
    const int probe = ::open(dir.path().c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (probe < 0)
        GTEST_SKIP() << "this file system cannot make a file without a name";
    ::close(probe);
    const std::string target = dir.file("kept.dat");
    int seen = 0;
    int unheld = 0;
    // What a sweep finds between the creation and the lock.
    const ScopedSeam seam({[&] {
        for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
            ++seen;
            const int fd = ::open(entry.path().c_str(), O_RDONLY | O_CLOEXEC);
            if (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0)
                ++unheld;
            ::close(fd);
        }
    }});
    ReplacingFile file(target);
    ASSERT_TRUE(file.open());
    EXPECT_EQ(seen, 0);
    EXPECT_EQ(unheld, 0);
    EXPECT_EQ(file.temporaryPath().rfind(target + ".tmp", 0), 0u);
    EXPECT_TRUE(ReplacingFile::isTemporaryOf(std::filesystem::path(file.temporaryPath()).filename().string(),
                                             "kept.dat"));
    EXPECT_EQ(ReplacingFile::removeStale(target), 0) << "held from the start";
    ASSERT_TRUE(file.write("new", 3) && file.finish() && file.commit());
    EXPECT_EQ(kovatest::readFile(target), "new");
    EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"kept.dat"});
}

TEST(ReplacingFile, aTemporaryTakenBeforeItsLockIsMadeAgain)
{
    kovatest::TempDir dir;
    const std::string target = dir.file("kept.dat");
    const std::filesystem::path elsewhere = dir.path() / "lost-and-found";
    std::filesystem::create_directory(elsewhere);
    // A sweep of a station that does not wait: the first temporary is moved
    // away, and the second removed, before their writer locked them.
    int sweeps = 0;
    const ScopedSeam seam({[&] {
                               for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
                                   if (!entry.is_regular_file())
                                       continue;
                                   if (sweeps == 0)
                                       std::filesystem::rename(entry.path(), elsewhere / entry.path().filename());
                                   else if (sweeps == 1)
                                       std::filesystem::remove(entry.path());
                               }
                               ++sweeps;
                           },
                           true});
    ReplacingFile file(target);
    ASSERT_TRUE(file.open());
    EXPECT_EQ(sweeps, 3);
    ASSERT_TRUE(file.write("new", 3) && file.finish());
    EXPECT_TRUE(file.commit());
    EXPECT_EQ(kovatest::readFile(target), "new");
}

} // namespace

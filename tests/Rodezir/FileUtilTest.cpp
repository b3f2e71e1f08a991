#include "Rodezir/FileUtil.h"
#include "Rodezir/LogStream.h"
#include "TempDir.h"
#include "platform/ManualClock.h"
#include "platform/ScopedClock.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdint>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <vector>
#include <sys/file.h>
#include <sys/inotify.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using namespace FileUtil;

int countOf(const std::string& text, const std::string& part)
{
    int n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

// Another opener holding the file, as a second program would.
class HeldFile {
public:
    explicit HeldFile(const std::string& path) : fd_(::open(path.c_str(), O_RDWR | O_CREAT, 0644))
    {
        locked_ = fd_ >= 0 && ::flock(fd_, LOCK_EX | LOCK_NB) == 0;
    }
    ~HeldFile() { ::close(fd_); }
    bool locked() const { return locked_; }

private:
    int fd_;
    bool locked_ = false;
};

class CountingIndicator : public BusyIndicator {
public:
    void begin() override { ++begins; }
    void end() override { ++ends; }
    int begins = 0;
    int ends = 0;
};

class FileUtilTest : public ::testing::Test {
protected:
    kovatest::TempDir dir;
    kovatest::ScopedCwd cwd{dir.path()};
    platform::ManualClock clock;
    platform::ScopedClock useClock{clock};
    std::string path = dir.file("session.sdb");

    void TearDown() override
    {
        setBusyIndicator(nullptr);
        LogStream::destroy();
    }
    std::string log()
    {
        LogStream::destroy();
        return kovatest::readFile(dir.path() / "errors.txt");
    }
    bool write(const std::string& bytes) { return writeFile(path, bytes.data(), bytes.size(), true); }
};

TEST_F(FileUtilTest, writingAHeldFileRetriesTenTimesThenGivesUp)
{
    kovatest::writeFile(path, "old contents");
    HeldFile other(path);
    ASSERT_TRUE(other.locked());
    CountingIndicator indicator;
    setBusyIndicator(&indicator);

    EXPECT_FALSE(write("new"));
    EXPECT_EQ(clock.sleeps(), 9);
    EXPECT_EQ(clock.sleptTotal(), 1800u);
    EXPECT_EQ(indicator.begins, 1);
    EXPECT_EQ(indicator.ends, 1);
    EXPECT_EQ(kovatest::readFile(path), "old contents");
    const std::string text = log();
    EXPECT_EQ(countOf(text, "Could not access file '" + path + "' error: "), 10);
    EXPECT_NE(text.find("Could not open file '" + path + "' for saving\n"), std::string::npos);
}

TEST_F(FileUtilTest, aShorterWriteLeavesExactlyTheNewBytesAndTheFileMode)
{
    kovatest::writeFile(path, "a much longer old content");
    ::chmod(path.c_str(), 0600);
    ASSERT_TRUE(write("short"));
    EXPECT_EQ(kovatest::readFile(path), "short");
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1) << "no temporary file stays behind";

    ASSERT_TRUE(writeFile(dir.file("fresh.sdb"), "x", 1, false));
    EXPECT_EQ(kovatest::readFile(dir.path() / "fresh.sdb"), "x");
    EXPECT_EQ(clock.sleeps(), 0);
}

TEST_F(FileUtilTest, aFailedWriteKeepsTheOldFile)
{
    // Names so long that no temporary beside them can be named.
    const std::string precious = dir.file(std::string(250, 'p'));
    kovatest::writeFile(precious, "precious");
    EXPECT_FALSE(writeFile(precious, "replacement", 11, true));
    EXPECT_EQ(kovatest::readFile(precious), "precious");
    const std::string text = log();
    EXPECT_NE(text.find("Could not create a temporary file beside '" + precious + "' error: "), std::string::npos);
    EXPECT_NE(text.find("Could not open file '" + precious + "' for saving\n"), std::string::npos);

    // A new file that could not be written is not left behind empty.
    const std::string fresh = dir.file(std::string(250, 'f'));
    EXPECT_FALSE(writeFile(fresh, "x", 1, false));
    EXPECT_FALSE(std::filesystem::exists(fresh));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2) << "the old file and the log";
}

TEST_F(FileUtilTest, aNewFileIsNamedOnlyByTheRenameOfTheWholeFile)
{
    const int watch = ::inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
    ASSERT_GE(watch, 0);
    ASSERT_GE(::inotify_add_watch(watch, dir.path().c_str(), IN_ALL_EVENTS), 0);
    const std::string data(100000, 'n');
    ASSERT_TRUE(writeFile(path, data.data(), data.size(), true));

    std::vector<std::uint32_t> onTarget;
    alignas(inotify_event) char events[65536];
    for (ssize_t got; (got = ::read(watch, events, sizeof events)) > 0;) {
        for (char* at = events; at < events + got;) {
            const auto* event = reinterpret_cast<const inotify_event*>(at);
            if (event->len > 0 && std::string(event->name) == std::filesystem::path(path).filename().string())
                onTarget.push_back(event->mask);
            at += sizeof(inotify_event) + event->len;
        }
    }
    ::close(watch);
    // Nothing happens under the name before the rename brings the file.
    ASSERT_FALSE(onTarget.empty());
    EXPECT_EQ(onTarget.front(), static_cast<std::uint32_t>(IN_MOVED_TO));
    EXPECT_EQ(kovatest::readFile(path), data);
}

TEST_F(FileUtilTest, aShortWriteKeepsTheOldFile)
{
    kovatest::writeFile(path, "precious");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // The disk "fills up" after 4096 bytes (room enough for the log).
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const std::string data(10000, 'n');
        ::_exit(writeFile(path, data.data(), data.size(), true) ? 1 : 0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the write answered true";
    EXPECT_EQ(kovatest::readFile(path), "precious");
    EXPECT_NE(log().find("Could not write all of the data into file '" + path + "'\n"), std::string::npos);
}

TEST_F(FileUtilTest, readingFillsTheBufferOnlyWhenEveryByteArrived)
{
    kovatest::writeFile(path, std::string("\x01\x00\x02", 3));
    unsigned char spare[1];
    mem_buffer buffer(spare, 0);
    std::unique_ptr<unsigned char[]> block;
    ASSERT_TRUE(readFile(path, buffer, block));
    EXPECT_EQ(buffer.begin(), block.get());
    EXPECT_EQ(buffer.position(), block.get());
    EXPECT_EQ(buffer.end(), block.get() + 3);
    EXPECT_EQ(block[2], 2);

    kovatest::writeFile(dir.path() / "empty.sdb", "");
    ASSERT_TRUE(readFile(dir.file("empty.sdb"), buffer, block));
    EXPECT_EQ(buffer.begin(), buffer.end());
    EXPECT_EQ(buffer.position(), buffer.end());

    // A handle that cannot be read from: the bytes never arrive.
    const int writeOnly = ::open(path.c_str(), O_WRONLY);
    mem_buffer untouched(spare, 1);
    std::unique_ptr<unsigned char[]> none;
    EXPECT_FALSE(readFromHandle(untouched, none, writeOnly));
    EXPECT_EQ(untouched.begin(), spare);
    EXPECT_EQ(none, nullptr);
    std::size_t size = 99;
    EXPECT_NE(readAllFromHandle(size, writeOnly, false), nullptr) << "the plain reader hands over what it got";
    EXPECT_EQ(size, 0u);
    ::close(writeOnly);
    EXPECT_EQ(countOf(log(), "Could not read all of file from handle\n"), 2);
}

TEST_F(FileUtilTest, readingAMissingOrHeldFileMakesOneAttempt)
{
    unsigned char spare[1];
    mem_buffer buffer(spare, 1);
    std::unique_ptr<unsigned char[]> block;
    const std::string missing = dir.file("missing.sdb");
    EXPECT_FALSE(readFile(missing, buffer, block));
    std::size_t size = 5;
    EXPECT_EQ(readWholeFile(missing, size, true), nullptr);
    EXPECT_EQ(size, 0u);

    kovatest::writeFile(path, "held");
    HeldFile other(path);
    EXPECT_FALSE(readFile(path, buffer, block));
    EXPECT_EQ(clock.sleeps(), 0);
    EXPECT_EQ(buffer.begin(), spare);

    const std::string text = log();
    EXPECT_EQ(text.find("Could not access file"), std::string::npos) << "the open itself is quiet";
    EXPECT_EQ(countOf(text, "Could not open file '" + missing + "'\n"), 1) << "the quiet read logs nothing";
    EXPECT_EQ(countOf(text, "Could not open file '" + path + "'\n"), 1);
}

TEST_F(FileUtilTest, handlesOpenExclusivelyAndWriteFromTheStart)
{
    EXPECT_EQ(openForWriting(path, 0, 200, false, false), INVALID_FILE_HANDLE) << "no attempt at all";
    EXPECT_FALSE(std::filesystem::exists(path));

    kovatest::writeFile(path, "xyz");
    const FileHandle handle = openForWriting(path, 3, 50, false, true);
    ASSERT_NE(handle, INVALID_FILE_HANDLE);
    EXPECT_EQ(openForReading(path, 2, 50, true), INVALID_FILE_HANDLE) << "no second opener shares it";
    EXPECT_EQ(clock.sleptTotal(), 50u);
    EXPECT_TRUE(writeToHandle(handle, "ab", 2));
    EXPECT_TRUE(closeFile(handle));
    EXPECT_EQ(kovatest::readFile(path), "abz") << "writing through a handle does not cut the file";
    EXPECT_FALSE(closeFile(handle));

    const FileHandle full = ::open("/dev/full", O_WRONLY);
    if (full >= 0) {
        EXPECT_FALSE(writeToHandle(full, "data", 4));
        ::close(full);
    }
    const std::string text = log();
    EXPECT_EQ(countOf(text, "Could not access file"), 0) << "a quiet open logs nothing";
    EXPECT_NE(text.find("Could not close file from handle \n"), std::string::npos);
    if (full >= 0) {
        EXPECT_NE(text.find("Could not write all of the data into file via handle\n"), std::string::npos);
    }
}

} // namespace

#include "platform/SplashMessage.h"
#include "platform/SplashMessageServer.h"

#include "ScopedEnvironment.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLocalSocket>

#include <optional>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

using platform::SplashMessage;
using platform::SplashMessageServer;

namespace {

QCoreApplication& application()
{
    static int argc = 1;
    static char name[] = "SplashMessageTests";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    return app;
}

// Lets the server's event handling run until `done` or five seconds passed.
template <class Done>
bool processUntil(Done done)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

// A socket file bound by a process that is gone: nobody accepts on it.
void bindAbandonedSocket(const std::string& path)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(fd);
    ASSERT_TRUE(std::filesystem::exists(path));
}

// The id of a process that has ended.
pid_t endedProcess()
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

class SplashMessageChannel : public ::testing::Test {
protected:
    void SetUp() override { application(); }

    std::string socketPath() const { return folder.file("splash-socket"); }

    kovatest::TempDir folder;
    std::vector<SplashMessage> received;
    SplashMessageServer server{[this](const SplashMessage& message) { received.push_back(message); }};
};

} // namespace

TEST(SplashMessage, travelsAsTwoLittleEndianWords)
{
    const SplashMessage close{SplashMessage::CLOSE, 0};
    const std::array<std::uint8_t, 8> closeBytes{0x29, 0xC3, 0x14, 0x06, 0, 0, 0, 0};
    EXPECT_EQ(SplashMessage::encode(close), closeBytes);
    const SplashMessage high{0xFFFFFFFFu, 0x80000001u};
    const std::array<std::uint8_t, 8> highBytes{0xFF, 0xFF, 0xFF, 0xFF, 0x01, 0x00, 0x00, 0x80};
    EXPECT_EQ(SplashMessage::encode(high), highBytes);
    EXPECT_EQ(SplashMessage::decode(highBytes), high);
}

TEST(SplashMessage, takesWholeMessagesAndKeepsTheRest)
{
    std::vector<std::uint8_t> buffer{1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0};
    const auto first = SplashMessage::takeMessages(buffer);
    ASSERT_EQ(first.size(), 1u);
    EXPECT_EQ(first[0], (SplashMessage{1, 2}));
    EXPECT_EQ(buffer.size(), 3u);
    EXPECT_TRUE(SplashMessage::takeMessages(buffer).empty());
    buffer.insert(buffer.end(), {0, 4, 0, 0, 0});
    const auto second = SplashMessage::takeMessages(buffer);
    ASSERT_EQ(second.size(), 1u);
    EXPECT_EQ(second[0], (SplashMessage{3, 4}));
    EXPECT_TRUE(buffer.empty());
}

TEST(SplashMessage, launchersListenInAFolderOfTheUserEachUnderItsProcessId)
{
    EXPECT_EQ(SplashMessage::listenerFolderName(), "MarvikSplashMessage-" + std::to_string(::getuid()));
    EXPECT_EQ(std::filesystem::path(SplashMessage::listenerFolder()).filename(), SplashMessage::listenerFolderName());
    for (const auto& [name, id] : std::vector<std::pair<std::string, long>>{
             {"4711", 4711}, {"1", 1}, {"", 0}, {"12a", 0}, {"-5", 0}, {"1234567890", 0}, {".lock", 0}})
        EXPECT_EQ(SplashMessage::listenerId(name), id) << name;
}

TEST_F(SplashMessageChannel, withoutListenerSendingAnswersFalse)
{
    EXPECT_FALSE(SplashMessage::sendTo(socketPath(), {SplashMessage::CLOSE, 0}));
}

TEST_F(SplashMessageChannel, listenerReceivesWhatIsSentInOrder)
{
    ASSERT_TRUE(server.listen(socketPath())) << server.errorText();
    // Nobody but the user may close the user's splash.
    struct stat status {};
    ASSERT_EQ(::stat(socketPath().c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 077, 0u);

    EXPECT_TRUE(SplashMessage::sendTo(socketPath(), {0, 7}));
    EXPECT_TRUE(SplashMessage::sendTo(socketPath(), {SplashMessage::CLOSE, 0}));
    ASSERT_TRUE(processUntil([&] { return received.size() == 2; }));
    EXPECT_EQ(received[0], (SplashMessage{0, 7}));
    EXPECT_EQ(received[1], (SplashMessage{SplashMessage::CLOSE, 0}));

    server.close();
    EXPECT_FALSE(SplashMessage::sendTo(socketPath(), {SplashMessage::CLOSE, 0}));
}

TEST_F(SplashMessageChannel, socketOfACrashedListenerIsTakenOver)
{
    bindAbandonedSocket(socketPath());
    ASSERT_TRUE(server.listen(socketPath())) << server.errorText();
    EXPECT_TRUE(SplashMessage::sendTo(socketPath(), {SplashMessage::CLOSE, 1}));
    ASSERT_TRUE(processUntil([&] { return received.size() == 1; }));
    EXPECT_EQ(received[0].lParam, 1u);
}

TEST_F(SplashMessageChannel, runningListenerKeepsItsName)
{
    ASSERT_TRUE(server.listen(socketPath()));
    std::vector<SplashMessage> second;
    SplashMessageServer latecomer([&](const SplashMessage& message) { second.push_back(message); });
    EXPECT_FALSE(latecomer.listen(socketPath()));
    EXPECT_FALSE(latecomer.errorText().empty());

    EXPECT_TRUE(SplashMessage::sendTo(socketPath(), {SplashMessage::CLOSE, 0}));
    ASSERT_TRUE(processUntil([&] { return received.size() == 1; }));
    EXPECT_TRUE(second.empty());
}

TEST_F(SplashMessageChannel, receiverMayCloseTheServerMidway)
{
    std::vector<SplashMessage> seen;
    SplashMessageServer* self = nullptr;
    SplashMessageServer closer([&](const SplashMessage& message) {
        seen.push_back(message);
        self->close();
    });
    self = &closer;
    ASSERT_TRUE(closer.listen(socketPath()));

    // Two messages in one write: the second is not handed over once closed.
    QLocalSocket socket;
    socket.connectToServer(QString::fromStdString(socketPath()));
    ASSERT_TRUE(socket.waitForConnected(1000));
    auto bytes = SplashMessage::encode({1, 0});
    const auto more = SplashMessage::encode({2, 0});
    QByteArray both(reinterpret_cast<const char*>(bytes.data()), 8);
    both.append(reinterpret_cast<const char*>(more.data()), 8);
    socket.write(both);
    ASSERT_TRUE(socket.waitForBytesWritten(1000));
    ASSERT_TRUE(processUntil([&] { return !seen.empty(); }));
    QCoreApplication::processEvents();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].wParam, 1u);
    EXPECT_FALSE(closer.isListening());
}

TEST_F(SplashMessageChannel, oneMessageSentToAllReachesEveryLauncherOfTheUser)
{
    const std::string listeners = folder.file("listeners");
    // A launcher that was killed left its socket behind.
    const std::string killed = listeners + "/" + std::to_string(endedProcess());
    ASSERT_EQ(::mkdir(listeners.c_str(), 0700), 0);
    bindAbandonedSocket(killed);

    ASSERT_TRUE(server.listenInFolder(listeners)) << server.errorText();
    EXPECT_TRUE(std::filesystem::exists(listeners + "/" + std::to_string(::getpid())));
    EXPECT_FALSE(std::filesystem::exists(killed)) << "the socket of a launcher that is gone is swept";
    // A second launcher, started while the first still shows its picture.
    std::vector<SplashMessage> second;
    SplashMessageServer other([&](const SplashMessage& message) { second.push_back(message); });
    ASSERT_TRUE(other.listenInFolder(listeners, ::getppid())) << other.errorText();
    // One that went after the sweep, and a file that is no launcher's.
    bindAbandonedSocket(listeners + "/" + std::to_string(endedProcess()));
    kovatest::writeFile(std::filesystem::path(listeners) / "notes", "");

    EXPECT_EQ(SplashMessage::broadcastIn(listeners, {SplashMessage::CLOSE, 0}), 2);
    ASSERT_TRUE(processUntil([&] { return received.size() == 1 && second.size() == 1; }));
    EXPECT_EQ(received[0], (SplashMessage{SplashMessage::CLOSE, 0}));
    EXPECT_EQ(second[0], (SplashMessage{SplashMessage::CLOSE, 0}));

    other.close();
    EXPECT_EQ(SplashMessage::broadcastIn(listeners, {SplashMessage::CLOSE, 0}), 1);
}

TEST_F(SplashMessageChannel, theListenerFolderIsTheUsersAlone)
{
    struct stat status {};
    // Made private where missing.
    const std::string made = folder.file("made");
    ASSERT_TRUE(server.listenInFolder(made)) << server.errorText();
    ASSERT_EQ(::lstat(made.c_str(), &status), 0);
    EXPECT_TRUE(S_ISDIR(status.st_mode));
    EXPECT_EQ(status.st_mode & 0777, 0700u);

    // A folder of the user open to others is closed to them first.
    const std::string open = folder.file("open");
    ASSERT_EQ(::mkdir(open.c_str(), 0700), 0);
    ASSERT_EQ(::chmod(open.c_str(), 0777), 0);
    EXPECT_EQ(SplashMessage::broadcastIn(open, {SplashMessage::CLOSE, 0}), 0) << "nothing is sent into it";
    ASSERT_TRUE(server.listenInFolder(open)) << server.errorText();
    ASSERT_EQ(::lstat(open.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0700u);

    // The socket an earlier launcher left under the folder's name gives way.
    const std::string leftover = folder.file("leftover");
    bindAbandonedSocket(leftover);
    ASSERT_TRUE(server.listenInFolder(leftover)) << server.errorText();
    EXPECT_TRUE(std::filesystem::is_directory(leftover));

    // Another user's folder under the name is neither listened in nor sent into.
    const std::string foreign = folder.file("foreign");
    ASSERT_EQ(::mkdir(foreign.c_str(), 0700), 0);
    if (::chown(foreign.c_str(), 65534, 65534) != 0)
        GTEST_SKIP() << "this user cannot give a folder away";
    EXPECT_FALSE(server.listenInFolder(foreign));
    EXPECT_NE(server.errorText().find("another user"), std::string::npos) << server.errorText();
    EXPECT_EQ(SplashMessage::broadcastIn(foreign, {SplashMessage::CLOSE, 0}), 0);
}

// Where the launchers listen is a place no other user can make first: the
// session's runtime folder when it is truly the user's, else the cache
// folder in the home; never the temporary folder every user writes into.
class ListenerPlace : public SplashMessageChannel {
protected:
    void SetUp() override
    {
        SplashMessageChannel::SetUp();
        ASSERT_EQ(::mkdir(runtime.c_str(), 0700), 0);
        ASSERT_EQ(::mkdir(home.c_str(), 0700), 0);
    }
    std::string homeCache() const { return home + "/.cache/kovacpr"; }

    const std::string runtime = folder.file("runtime");
    const std::string home = folder.file("home");
    kovatest::ScopedEnvironment homeInForce{"HOME", home};
    kovatest::ScopedEnvironment temporary{"TMPDIR", folder.path().string()};
};

TEST_F(ListenerPlace, theRuntimeFolderWhenItIsTheUsersElseTheHome)
{
    // Open to others, and a link to a private folder (with and without a
    // trailing slash): none is the user's alone.
    const std::string open = folder.file("open");
    ASSERT_EQ(::mkdir(open.c_str(), 0700), 0);
    ASSERT_EQ(::chmod(open.c_str(), 0777), 0);
    const std::string link = folder.file("link");
    ASSERT_EQ(::symlink(runtime.c_str(), link.c_str()), 0);
    const std::vector<std::pair<std::optional<std::string>, std::string>> cases{
        {runtime, runtime},
        {runtime + "/", runtime},
        {open, homeCache()},
        {link, homeCache()},
        {link + "/", homeCache()},
        {"runtime", homeCache()},
        {"", homeCache()},
        {std::nullopt, homeCache()},
        {folder.file("missing"), homeCache()},
    };
    for (const auto& [variable, parent] : cases) {
        kovatest::ScopedEnvironment runtimeInForce("XDG_RUNTIME_DIR", variable);
        EXPECT_EQ(SplashMessage::listenerParent(), parent) << variable.value_or("(unset)");
        EXPECT_EQ(SplashMessage::listenerFolder(), parent + "/" + SplashMessage::listenerFolderName());
    }
}

TEST_F(ListenerPlace, theLauncherListensAndTheStationSendsInTheSamePlace)
{
    {
        kovatest::ScopedEnvironment runtimeInForce("XDG_RUNTIME_DIR", runtime);
        ASSERT_TRUE(server.listenForUser()) << server.errorText();
        EXPECT_TRUE(std::filesystem::exists(runtime + "/" + SplashMessage::listenerFolderName() + "/"
                                            + std::to_string(::getpid())));
        EXPECT_TRUE(SplashMessage::send(SplashMessage::CLOSE, 0));
        ASSERT_TRUE(processUntil([&] { return received.size() == 1; }));
        server.close();
    }
    // Without a runtime folder: the cache folder in the home, made private
    // where it is missing.
    kovatest::ScopedEnvironment noRuntime("XDG_RUNTIME_DIR", std::nullopt);
    ASSERT_TRUE(server.listenForUser()) << server.errorText();
    for (const std::string& made : {home + "/.cache", homeCache(), SplashMessage::listenerFolder()}) {
        struct stat status {};
        ASSERT_EQ(::lstat(made.c_str(), &status), 0) << made;
        EXPECT_EQ(status.st_mode & 0777, 0700u) << made;
    }
    EXPECT_TRUE(SplashMessage::send(SplashMessage::CLOSE, 1));
    ASSERT_TRUE(processUntil([&] { return received.size() == 2; }));
    EXPECT_EQ(received[1], (SplashMessage{SplashMessage::CLOSE, 1}));
    EXPECT_FALSE(std::filesystem::exists(folder.path() / SplashMessage::listenerFolderName()))
        << "nothing in the temporary folder";
}

TEST_F(ListenerPlace, aListenerFolderThatIsALinkIsNeitherListenedInNorSentInto)
{
    kovatest::ScopedEnvironment noRuntime("XDG_RUNTIME_DIR", std::nullopt);
    std::filesystem::create_directories(homeCache());
    const std::string elsewhere = folder.file("elsewhere");
    ASSERT_EQ(::mkdir(elsewhere.c_str(), 0700), 0);
    ASSERT_EQ(::symlink(elsewhere.c_str(), SplashMessage::listenerFolder().c_str()), 0);

    EXPECT_FALSE(server.listenForUser());
    EXPECT_NE(server.errorText().find("symbolic link"), std::string::npos) << server.errorText();
    EXPECT_TRUE(std::filesystem::is_empty(elsewhere));
    EXPECT_TRUE(std::filesystem::is_symlink(SplashMessage::listenerFolder())) << "the link is left as it is";

    // A listener someone put behind the link hears nothing from the station.
    std::vector<SplashMessage> planted;
    SplashMessageServer stranger([&](const SplashMessage& message) { planted.push_back(message); });
    ASSERT_TRUE(stranger.listen(elsewhere + "/1")) << stranger.errorText();
    EXPECT_FALSE(SplashMessage::send(SplashMessage::CLOSE, 0));
    QCoreApplication::processEvents();
    EXPECT_TRUE(planted.empty());
}

#include "platform/SplashMessage.h"
#include "platform/SplashMessageServer.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLocalSocket>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
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

TEST(SplashMessage, isNamedForTheUser)
{
    EXPECT_EQ(SplashMessage::serverName(), "MarvikSplashMessage-" + std::to_string(::getuid()));
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
    // A socket file bound by a process that is gone: nobody accepts on it.
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", socketPath().c_str());
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(fd);
    ASSERT_TRUE(std::filesystem::exists(socketPath()));

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

#include "platform/SplashMessage.h"

#include <QLocalSocket>
#include <QString>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// The user's home: $HOME when it names one, else the password database's.
std::string homeFolder()
{
    if (const char* home = std::getenv("HOME"); home && home[0] == '/')
        return home;
    std::vector<char> buffer(16384);
    passwd entry {};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found || !found->pw_dir
        || found->pw_dir[0] != '/')
        return {};
    return found->pw_dir;
}

} // namespace

std::string SplashMessage::listenerFolderName()
{
    return "MarvikSplashMessage-" + std::to_string(::getuid());
}

std::string SplashMessage::listenerParent()
{
    // The session's runtime folder is the user's alone, but only when it is
    // what it claims to be.
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && runtime[0] == '/') {
        // A trailing slash would make the check look through a symbolic link.
        std::string folder = runtime;
        while (folder.size() > 1 && folder.back() == '/')
            folder.pop_back();
        if (isPrivateFolder(folder))
            return folder;
    }
    const std::string home = homeFolder();
    if (home.empty())
        return {};
    return (std::filesystem::path(home) / ".cache" / "kovacpr").string();
}

std::string SplashMessage::listenerFolder()
{
    const std::string parent = listenerParent();
    return parent.empty() ? std::string() : (std::filesystem::path(parent) / listenerFolderName()).string();
}

bool SplashMessage::isPrivateFolder(const std::string& folder)
{
    struct stat status {};
    return ::lstat(folder.c_str(), &status) == 0 && S_ISDIR(status.st_mode) && status.st_uid == ::getuid()
           && (status.st_mode & 077) == 0;
}

long SplashMessage::listenerId(const std::string& socketName)
{
    // A process id, in digits, and nothing else.
    if (socketName.empty() || socketName.size() > 9
        || !std::all_of(socketName.begin(), socketName.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return 0;
    return std::stol(socketName);
}

std::array<std::uint8_t, SplashMessage::SIZE> SplashMessage::encode(const SplashMessage& message)
{
    std::array<std::uint8_t, SIZE> bytes{};
    for (int i = 0; i < 4; ++i) {
        bytes[i] = static_cast<std::uint8_t>(message.wParam >> (8 * i));
        bytes[4 + i] = static_cast<std::uint8_t>(message.lParam >> (8 * i));
    }
    return bytes;
}

SplashMessage SplashMessage::decode(const std::array<std::uint8_t, SIZE>& bytes)
{
    SplashMessage message;
    for (int i = 0; i < 4; ++i) {
        message.wParam |= static_cast<std::uint32_t>(bytes[i]) << (8 * i);
        message.lParam |= static_cast<std::uint32_t>(bytes[4 + i]) << (8 * i);
    }
    return message;
}

std::vector<SplashMessage> SplashMessage::takeMessages(std::vector<std::uint8_t>& buffer)
{
    std::vector<SplashMessage> messages;
    std::size_t offset = 0;
    while (buffer.size() - offset >= SIZE) {
        std::array<std::uint8_t, SIZE> bytes{};
        std::copy_n(buffer.begin() + static_cast<std::ptrdiff_t>(offset), SIZE, bytes.begin());
        messages.push_back(decode(bytes));
        offset += SIZE;
    }
    buffer.erase(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(offset));
    return messages;
}

bool SplashMessage::send(std::uint32_t wParam, std::uint32_t lParam)
{
    return broadcastIn(listenerFolder(), SplashMessage{wParam, lParam}) > 0;
}

int SplashMessage::broadcastIn(const std::string& folder, const SplashMessage& message)
{
    // Another user's folder under our name would take our messages, or hand us sockets of its choice.
    if (!isPrivateFolder(folder))
        return 0;
    // Stepped with an error code: a folder that cannot be read to its end
    // ends the walk, never the program.
    std::error_code error;
    int reached = 0;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        if (listenerId(it->path().filename().string()) == 0)
            continue;
        // The socket of a launcher that is gone refuses at once.
        if (sendTo(it->path().string(), message))
            ++reached;
    }
    return reached;
}

bool SplashMessage::sendTo(const std::string& serverName, const SplashMessage& message, int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(QString::fromStdString(serverName), QIODevice::WriteOnly);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    const auto bytes = encode(message);
    if (socket.write(reinterpret_cast<const char*>(bytes.data()), SIZE) != static_cast<qint64>(SIZE))
        return false;
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(timeoutMs))
            return false;
    }
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(timeoutMs);
    return true;
}

} // namespace platform

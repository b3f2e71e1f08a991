#include "platform/SplashMessage.h"

#include <QLocalSocket>
#include <QString>

#include <algorithm>

#include <unistd.h>

namespace platform {

std::string SplashMessage::serverName()
{
    return "MarvikSplashMessage-" + std::to_string(::getuid());
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
    return sendTo(serverName(), SplashMessage{wParam, lParam});
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

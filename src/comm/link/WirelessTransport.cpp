#include "comm/link/WirelessTransport.h"

#include "comm/link/LinkState.h"
#include "comm/link/SerialPort.h"
#include "platform/TcpClient.h"

#include <array>

namespace {

constexpr std::uint32_t WIRELESS_STEP_MS = 200;
constexpr int WIRELESS_RECEIVE_TIMEOUT_MS = 10;

} // namespace

WirelessTransport::WirelessTransport(LinkState& state, std::uint32_t ipAddress)
    : state(state)
    , ipAddress(ipAddress)
{
}

WirelessTransport::~WirelessTransport() = default;

int WirelessTransport::open()
{
    auto client = std::make_unique<platform::TcpClient>();
    if (!client->connect(ipAddress, SerialPort::WIRELESS_TCP_PORT))
        return SerialPort::OPEN_NO_ANSWER;
    client->setReceiveTimeout(WIRELESS_RECEIVE_TIMEOUT_MS);
    client->setNoDelay(true);
    socket = std::move(client);
    state.connected = true;
    const int result = identify();
    if (result != SerialPort::OPEN_SUCCESS)
        socket->shutdownAndClose();
    return result;
}

LinkSteps WirelessTransport::identifySteps()
{
    if (!socket || !socket->isOpen())
        co_return SerialPort::OPEN_NO_ANSWER;
    socket->send(FAREWELL_FRAME.data(), FAREWELL_FRAME.size());
    co_await LinkSteps::wait(WIRELESS_STEP_MS);
    socket->send(&QUESTION, 1);
    co_await LinkSteps::wait(WIRELESS_STEP_MS);

    std::array<std::uint8_t, SerialPort::RECEIVE_BUFFER_SIZE> reply{};
    const long received = socket->receive(reply.data(), reply.size());
    if (received <= 0)
        co_return SerialPort::OPEN_NO_ANSWER;
    const int checked = SerialPort::checkWirelessReply(reply.data(), static_cast<std::size_t>(received));
    if (checked != SerialPort::OPEN_SUCCESS)
        co_return checked;
    state.takeKind(reply[0]);
    const auto answer = SerialPort::challengeAnswer(reply[1]);
    socket->send(answer.data(), answer.size());
    state.linkType = SerialPort::LINK_WIRELESS;
    socket->setNonBlocking();
    // The idle rule counts from the moment the manikin was identified.
    idleWatch.restart();
    co_return SerialPort::OPEN_SUCCESS;
}

bool WirelessTransport::close()
{
    state.connected = false;
    if (!socket)
        return true;
    const bool closed = socket->shutdownAndClose();
    socket.reset();
    return closed;
}

bool WirelessTransport::isAlive()
{
    return state.linkType == SerialPort::LINK_WIRELESS;
}

int WirelessTransport::readPending()
{
    // A socket already given up after silence reads as nothing.
    if (!socket || !socket->isOpen())
        return 0;
    int total = 0;
    std::array<std::uint8_t, SerialPort::RECEIVE_BUFFER_SIZE> buffer{};
    for (;;) {
        const long waiting = socket->bytesAvailable();
        if (waiting > 0) {
            const long n = socket->receive(buffer.data(), buffer.size());
            if (n < 0)
                break;
            state.readData.insert(state.readData.end(), buffer.begin(), buffer.begin() + n);
            idleWatch.restart();
            total += static_cast<int>(n);
            continue;
        }
        if (waiting < 0)
            break;
        if (total == 0 && idleWatch.elapsed() > SerialPort::IDLE_LIMIT_MS) {
            socket->shutdownAndClose();
            idleWatch.restart();
            break;
        }
        return total;
    }
    state.linkType = SerialPort::LINK_LOST;
    state.readError = true;
    return -1;
}

bool WirelessTransport::send(const std::vector<std::uint8_t>& bytes)
{
    return socket && socket->send(bytes.data(), bytes.size()) == static_cast<long>(bytes.size());
}

#include "comm/link/ComTransport.h"

#include "comm/link/LinkEnvironment.h"
#include "comm/link/LinkState.h"
#include "comm/link/SerialPort.h"
#include "comm/reader/Stopwatch.h"
#include "platform/Clock.h"
#include "platform/PortMap.h"
#include "platform/SerialDevice.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>

namespace {

constexpr int ASCII_BAUD_RATE = 9600;
constexpr int FRAMED_BAUD_RATE = 19200;
constexpr std::uint32_t OPEN_SETTLE_MS = 400;
constexpr std::uint32_t ASCII_RETRY_MS = 100;
constexpr std::uint32_t ASCII_REPLY_MS = 275;
constexpr std::uint32_t FRAMED_WAKE_MS = 200;
constexpr std::uint32_t FRAMED_REPLY_MS = 80;
constexpr std::uint32_t WRITE_STEP_MS = 10;
constexpr int WRITE_STEPS = 15;
constexpr int ASCII_TRIES = 4;

const std::vector<std::uint8_t> FAREWELL(LinkTransport::FAREWELL_FRAME.begin(), LinkTransport::FAREWELL_FRAME.end());
const std::vector<std::uint8_t> QUESTION_BYTES = {LinkTransport::QUESTION};

platform::Clock& stationClock()
{
    return platform::Clock::instance();
}

std::uint32_t withCommDelay(std::uint32_t milliseconds)
{
    return milliseconds + static_cast<std::uint32_t>(std::max(0, LinkEnvironment::communicationDelay()));
}

bool isReplyDigit(std::uint8_t byte)
{
    return byte >= '1' && byte <= '9';
}

} // namespace

ComTransport::ComTransport(LinkState& state, int portNumber)
    : state(state)
    , portNumber(portNumber)
{
}

ComTransport::~ComTransport() = default;

// ---- opening ----------------------------------------------------------------

int ComTransport::open()
{
    const std::string path = platform::PortMap::devicePath(portNumber);
    if (path.empty())
        return SerialPort::OPEN_PORT_NOT_AVAILABLE;
    auto opened = std::make_unique<platform::SerialDevice>();
    switch (opened->open(path)) {
    case platform::SerialDevice::OpenResult::NotFound:
        return SerialPort::OPEN_PORT_NOT_AVAILABLE;
    case platform::SerialDevice::OpenResult::Failed:
        return SerialPort::OPEN_FAILED;
    case platform::SerialDevice::OpenResult::Opened:
        break;
    }
    device = std::move(opened);
    int result = portSettings(ASCII_BAUD_RATE, false, false);
    if (result == SerialPort::OPEN_SUCCESS)
        result = portSettings(ASCII_BAUD_RATE, true, true);
    if (result != SerialPort::OPEN_SUCCESS)
        return result;
    if (!device->makeReadsImmediate())
        return SerialPort::OPEN_TIMEOUTS_FAILED;
    if (readBuffer.empty())
        readBuffer.resize(SerialPort::READ_BUFFER_SIZE);
    stationClock().sleep(withCommDelay(OPEN_SETTLE_MS));
    bool cts = false;
    if (!device->modemStatus(cts))
        return SerialPort::OPEN_STATE_FAILED;
    return identify();
}

int ComTransport::portSettings(int baudRate, bool dtrOn, bool rtsOn)
{
    if (!device)
        return SerialPort::OPEN_STATE_FAILED;
    switch (device->configure(baudRate, dtrOn, rtsOn)) {
    case platform::SerialDevice::SettingsResult::Ok:
        return SerialPort::OPEN_SUCCESS;
    case platform::SerialDevice::SettingsResult::ReadFailed:
        return SerialPort::OPEN_STATE_FAILED;
    case platform::SerialDevice::SettingsResult::WriteFailed:
        break;
    }
    return SerialPort::OPEN_SETTINGS_REFUSED;
}

LinkSteps ComTransport::identifySteps()
{
    const int result = co_await asciiHandshake();
    if (result == SerialPort::OPEN_SUCCESS)
        co_return result;
    co_return co_await framedHandshake();
}

LinkSteps ComTransport::asciiHandshake()
{
    const int result = portSettings(ASCII_BAUD_RATE, true, true);
    if (result != SerialPort::OPEN_SUCCESS)
        co_return result;
    bool cts = false;
    if (!device->modemStatus(cts))
        co_return SerialPort::OPEN_STATE_FAILED;
    if (!cts)
        co_return SerialPort::OPEN_NO_ANSWER;
    state.connected = true;
    auto& readData = state.readData;
    readData.clear();

    for (int attempt = 0; attempt < ASCII_TRIES && readData.size() < 5; ++attempt) {
        if (attempt > 0) {
            if (portSettings(ASCII_BAUD_RATE, false, false) == SerialPort::OPEN_SUCCESS)
                portSettings(ASCII_BAUD_RATE, true, true);
            co_await LinkSteps::wait(withCommDelay(ASCII_RETRY_MS));
        }
        // Whatever is queued before the question is no answer to it: records
        // a streaming manikin sent earlier, or the late reply to an earlier
        // question, which would otherwise be counted with this one's.
        readPending();
        readData.clear();
        if (!write(QUESTION_BYTES))
            co_return SerialPort::OPEN_WRONG_ANSWER;
        if (co_await readUntil(5, ASCII_REPLY_MS) < 0)
            co_return SerialPort::OPEN_WRONG_ANSWER;
        while (!readData.empty() && !isReplyDigit(readData.front()))
            readData.pop_front();
    }

    int kind = SerialPort::LINK_CLOSED;
    std::vector<std::uint8_t> answer;
    if (SerialPort::answerAsciiReply(readData, kind, answer) != SerialPort::OPEN_SUCCESS)
        co_return SerialPort::OPEN_WRONG_ANSWER;
    readData.clear();
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    if (!write(answer))
        co_return SerialPort::OPEN_WRONG_ANSWER;
    state.linkType = kind;
    co_return SerialPort::OPEN_SUCCESS;
}

LinkSteps ComTransport::framedHandshake()
{
    const int result = portSettings(FRAMED_BAUD_RATE, true, true);
    if (result != SerialPort::OPEN_SUCCESS)
        co_return result;
    bool cts = false;
    if (!device->modemStatus(cts))
        co_return SerialPort::OPEN_STATE_FAILED;
    state.connected = true;

    auto& readData = state.readData;
    if (!write(FAREWELL))
        co_return SerialPort::OPEN_NO_ANSWER;
    co_await LinkSteps::wait(FRAMED_WAKE_MS);
    while (readPending() > 0) {
    }
    readData.clear();

    if (!write(QUESTION_BYTES))
        co_return SerialPort::OPEN_NO_ANSWER;
    if (co_await readUntil(4, FRAMED_REPLY_MS) < 0 || readData.size() < 4)
        co_return SerialPort::OPEN_NO_ANSWER;
    const std::uint8_t reply[4] = {readData[0], readData[1], readData[2], readData[3]};
    if (SerialPort::checkFramedReply(reply, sizeof reply) != SerialPort::OPEN_SUCCESS)
        co_return SerialPort::OPEN_WRONG_ANSWER;
    state.takeKind(reply[0]);
    if (!write(SerialPort::challengeAnswer(readData[1])))
        co_return SerialPort::OPEN_WRONG_ANSWER;

    // The manikin acknowledges the answer; what it says is not examined.
    readData.clear();
    if (co_await readUntil(4, FRAMED_REPLY_MS) < 0)
        co_return SerialPort::OPEN_NO_ANSWER;
    state.linkType = SerialPort::LINK_FRAMED_COM;
    co_return SerialPort::OPEN_SUCCESS;
}

LinkSteps ComTransport::readUntil(std::size_t count, std::uint32_t milliseconds)
{
    Stopwatch wait;
    while (state.readData.size() < count) {
        if (readPending() < 0)
            co_return -1;
        if (state.readData.size() >= count || wait.elapsed() >= milliseconds)
            break;
        co_await LinkSteps::wait(1);
    }
    co_return 0;
}

// ---- closing ----------------------------------------------------------------

bool ComTransport::close()
{
    if (!device)
        return true;
    if (!state.connected) {
        // Nothing was ever identified on it: no one to take leave of.
        const bool closed = device->close();
        device.reset();
        return closed;
    }
    if (!write(FAREWELL))
        return false;
    // Every way out gives the device back; only the result tells how it went.
    const bool lowered = device->setModemControl(false, false);
    const bool closed = device->close();
    device.reset();
    state.connected = false;
    return lowered && closed;
}

// ---- reading and writing ------------------------------------------------------

int ComTransport::readPending()
{
    if (!device)
        return 0;
    if (readBuffer.empty())
        readBuffer.resize(SerialPort::READ_BUFFER_SIZE);
    int total = 0;
    for (;;) {
        const long n = device->read(readBuffer.data(), readBuffer.size());
        if (n < 0) {
            state.readError = true;
            return -1;
        }
        if (n == 0)
            return total;
        state.readData.insert(state.readData.end(), readBuffer.begin(), readBuffer.begin() + n);
        total += static_cast<int>(n);
    }
}

bool ComTransport::writeSerial(const std::uint8_t* bytes, std::size_t length)
{
    if (!state.connected || !device)
        return false;
    std::size_t written = 0;
    for (int step = 0;; ++step) {
        const long n = device->write(bytes + written, length - written);
        if (n < 0)
            return false;
        written += static_cast<std::size_t>(n);
        if (written == length)
            return true;
        if (step == WRITE_STEPS)
            return false;
        stationClock().sleep(WRITE_STEP_MS);
    }
}

// ---- liveness ---------------------------------------------------------------

bool ComTransport::isAlive()
{
    if (state.linkType == SerialPort::LINK_LOST)
        return false;
    if (state.readError)
        return recoverAfterReadError();
    bool cts = false;
    if (!device || !device->modemStatus(cts))
        return false;
    return state.linkType == SerialPort::LINK_FRAMED_COM || cts;
}

bool ComTransport::recoverAfterReadError()
{
    // Drop and raise the modem lines, as a device that lost power would see
    // it, and ask the device who it is again.
    if (!device || !device->setModemControl(false, false)) {
        state.connected = false;
        return false;
    }
    stationClock().sleep(50);
    if (!device->setModemControl(true, true)) {
        state.connected = false;
        return false;
    }
    state.readError = false;
    return identify() == SerialPort::OPEN_SUCCESS;
}

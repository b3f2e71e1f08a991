#include "comm/SerialPort.h"

#include "Rodezir/LogStream.h"
#include "comm/CommUtil.h"
#include "comm/LinkEnvironment.h"
#include "platform/Clock.h"
#include "platform/PortMap.h"
#include "platform/SerialDevice.h"
#include "platform/TcpClient.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace {

// Command 32775 without payload: sent to wake a framed manikin before its
// handshake and to take leave of it when the port closes.
const std::vector<std::uint8_t> FAREWELL_FRAME = {0x7E, 0x07, 0x80, 0x00};
const std::vector<std::uint8_t> QUESTION = {'?'};

constexpr int ASCII_BAUD_RATE = 9600;
constexpr int FRAMED_BAUD_RATE = 19200;
constexpr std::uint32_t OPEN_SETTLE_MS = 400;
constexpr std::uint32_t ASCII_RETRY_MS = 100;
constexpr std::uint32_t ASCII_REPLY_MS = 275;
constexpr std::uint32_t FRAMED_WAKE_MS = 200;
constexpr std::uint32_t FRAMED_REPLY_MS = 80;
constexpr std::uint32_t WIRELESS_STEP_MS = 200;
constexpr std::uint32_t STREAM_REQUEST_MS = 50;
constexpr std::uint32_t WRITE_STEP_MS = 10;
constexpr int WRITE_STEPS = 15;
constexpr int WIRELESS_RECEIVE_TIMEOUT_MS = 10;
constexpr int ASCII_TRIES = 4;

enum CommandNumber {
    COMMAND_REQUEST = 13,
    COMMAND_BATTERY_LEVEL = 21,
    COMMAND_ECG_RHYTHMS = 22,
    COMMAND_DEFIBRILLATION = 23,
    COMMAND_24 = 24,
    COMMAND_ECG_ARTEFACTS = 27,
    COMMAND_PULSE = 28,
    COMMAND_32 = 32,
};

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

bool isFramedKind(std::uint8_t kind)
{
    return kind == 1 || kind == 3 || kind == 4;
}

} // namespace

SerialPort::SerialPort()
{
    idleWatch.restart();
}

SerialPort::~SerialPort()
{
    close();
}

void SerialPort::reset()
{
    handle.reset();
    socket.reset();
    readBuffer.clear();
    readBuffer.shrink_to_fit();
    portNumber = NO_PORT;
    connected = false;
    lastOpenResult = OPEN_SUCCESS;
    receiveBufferSize = RECEIVE_BUFFER_SIZE;
    defibrillationEffect = 1;
    command24Flag = false;
    ipAddress = 0;
    readError = false;
}

int SerialPort::storePortNumber(int port)
{
    if (port != NO_PORT)
        portNumber = port;
    return portNumber == NO_PORT ? OPEN_PORT_NOT_AVAILABLE : OPEN_SUCCESS;
}

bool SerialPort::isRecordedDataPort() const
{
    return LinkEnvironment::isRecordedDataPortNumber(portNumber);
}

void SerialPort::selectRecordedData(int port)
{
    int set = port % 3;
    KOVA_ASSERT(set >= 0);
    if (set < 0)
        set = 0;
    const LinkEnvironment* environment = LinkEnvironment::instance();
    recordedData = environment != nullptr ? environment->collectedDataSet(set) : nullptr;
}

void SerialPort::setCalibrationOffsets(int compression, int ventilation)
{
    calibrationOffsets = {compression, ventilation};
}

char SerialPort::getManikinNameChar(int index) const
{
    const bool inside = index >= 0 && index < static_cast<int>(MANIKIN_NAME_SIZE);
    KOVA_ASSERT(inside);
    return inside ? manikinName[static_cast<std::size_t>(index)] : '\0';
}

void SerialPort::setInfo(const char* record)
{
    if (record == nullptr)
        return;
    std::memcpy(manikinName.data(), record, MANIKIN_NAME_SIZE);
    manikinName[MANIKIN_NAME_SIZE - 1] = '\0';
}

// ---- opening a COM port ---------------------------------------------------

int SerialPort::open(int port)
{
    if (storePortNumber(port) != OPEN_SUCCESS)
        return lastOpenResult = OPEN_PORT_NOT_AVAILABLE;
    if (isRecordedDataPort()) {
        connected = true;
        selectRecordedData(portNumber);
        return lastOpenResult = OPEN_SUCCESS;
    }
    if (connected)
        return lastOpenResult = OPEN_ALREADY_OPEN;
    linkType = LINK_CLOSED;
    const int result = openComDevice();
    if (result != OPEN_SUCCESS)
        releaseAfterFailedOpen();
    return lastOpenResult = result;
}

int SerialPort::openComDevice()
{
    const std::string path = platform::PortMap::devicePath(portNumber);
    if (path.empty())
        return OPEN_PORT_NOT_AVAILABLE;
    auto device = std::make_unique<platform::SerialDevice>();
    switch (device->open(path)) {
    case platform::SerialDevice::OpenResult::NotFound:
        return OPEN_PORT_NOT_AVAILABLE;
    case platform::SerialDevice::OpenResult::Failed:
        return OPEN_FAILED;
    case platform::SerialDevice::OpenResult::Opened:
        break;
    }
    handle = std::move(device);
    int result = portSettings(ASCII_BAUD_RATE, false, false);
    if (result == OPEN_SUCCESS)
        result = portSettings(ASCII_BAUD_RATE, true, true);
    if (result != OPEN_SUCCESS)
        return result;
    if (!handle->makeReadsImmediate())
        return OPEN_TIMEOUTS_FAILED;
    if (readBuffer.empty())
        readBuffer.resize(READ_BUFFER_SIZE);
    stationClock().sleep(withCommDelay(OPEN_SETTLE_MS));
    bool cts = false;
    if (!handle->modemStatus(cts))
        return OPEN_STATE_FAILED;
    result = asciiHandshake();
    if (result != OPEN_SUCCESS)
        result = framedHandshake();
    return result;
}

void SerialPort::releaseAfterFailedOpen()
{
    // A port that could not be identified is given back at once: it must not
    // stay open (or count as connected) under a link that does not work.
    handle.reset();
    socket.reset();
    connected = false;
    linkType = LINK_CLOSED;
    readData.clear();
}

int SerialPort::portSettings(int baudRate, bool dtrOn, bool rtsOn)
{
    if (!handle)
        return OPEN_STATE_FAILED;
    switch (handle->configure(baudRate, dtrOn, rtsOn)) {
    case platform::SerialDevice::SettingsResult::Ok:
        return OPEN_SUCCESS;
    case platform::SerialDevice::SettingsResult::ReadFailed:
        return OPEN_STATE_FAILED;
    case platform::SerialDevice::SettingsResult::WriteFailed:
        break;
    }
    return OPEN_SETTINGS_REFUSED;
}

int SerialPort::identify()
{
    if (isWirelessPortNumber(portNumber))
        return wirelessHandshake();
    const int result = asciiHandshake();
    return result == OPEN_SUCCESS ? result : framedHandshake();
}

int SerialPort::asciiHandshake()
{
    int result = portSettings(ASCII_BAUD_RATE, true, true);
    if (result != OPEN_SUCCESS)
        return result;
    bool cts = false;
    if (!handle->modemStatus(cts))
        return OPEN_STATE_FAILED;
    if (!cts)
        return OPEN_NO_ANSWER;
    connected = true;
    readData.clear();

    for (int attempt = 0; attempt < ASCII_TRIES && readData.size() < 5; ++attempt) {
        if (attempt > 0) {
            readPending();
            readData.clear();
            if (portSettings(ASCII_BAUD_RATE, false, false) == OPEN_SUCCESS)
                portSettings(ASCII_BAUD_RATE, true, true);
            stationClock().sleep(withCommDelay(ASCII_RETRY_MS));
        }
        if (!writeSerial(QUESTION))
            return OPEN_WRONG_ANSWER;
        if (readUntil(5, ASCII_REPLY_MS) < 0)
            return OPEN_WRONG_ANSWER;
        while (!readData.empty() && !isReplyDigit(readData.front()))
            readData.pop_front();
    }

    int kind = LINK_CLOSED;
    std::vector<std::uint8_t> answer;
    if (answerAsciiReply(readData, kind, answer) != OPEN_SUCCESS)
        return OPEN_WRONG_ANSWER;
    readData.clear();
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    if (!writeSerial(answer))
        return OPEN_WRONG_ANSWER;
    linkType = kind;
    return OPEN_SUCCESS;
}

int SerialPort::framedHandshake()
{
    const int result = portSettings(FRAMED_BAUD_RATE, true, true);
    if (result != OPEN_SUCCESS)
        return result;
    bool cts = false;
    if (!handle->modemStatus(cts))
        return OPEN_STATE_FAILED;
    connected = true;

    if (!writeSerial(FAREWELL_FRAME))
        return OPEN_NO_ANSWER;
    stationClock().sleep(FRAMED_WAKE_MS);
    while (readPending() > 0) {
    }
    readData.clear();

    if (!writeSerial(QUESTION))
        return OPEN_NO_ANSWER;
    if (readUntil(4, FRAMED_REPLY_MS) < 0 || readData.size() < 4)
        return OPEN_NO_ANSWER;
    const std::uint8_t reply[4] = {readData[0], readData[1], readData[2], readData[3]};
    if (checkFramedReply(reply, sizeof reply) != OPEN_SUCCESS)
        return OPEN_WRONG_ANSWER;
    const std::uint8_t kind = reply[0];
    takeKind(kind);
    if (!writeSerial(challengeAnswer(readData[1])))
        return OPEN_WRONG_ANSWER;

    // The manikin acknowledges the answer; what it says is not examined.
    readData.clear();
    if (readUntil(4, FRAMED_REPLY_MS) < 0)
        return OPEN_NO_ANSWER;
    linkType = LINK_FRAMED_COM;
    return OPEN_SUCCESS;
}

void SerialPort::takeKind(std::uint8_t kind)
{
    kindIs3or4 = kind == 3 || kind == 4;
    kindIs3 = kind == 3;
    // The newer manikins calibrate themselves: their counts start at zero.
    if (kindIs3or4)
        calibrationOffsets = {0, 0};
}

std::vector<std::uint8_t> SerialPort::challengeAnswer(std::uint8_t n)
{
    // Any split of n into two parts proves that we are a station.
    const int r = n == 0 ? 0 : std::rand() % (n + 1);
    return {static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(n - r)};
}

int SerialPort::answerAsciiReply(const std::deque<std::uint8_t>& reply, int& kind, std::vector<std::uint8_t>& answer)
{
    if (reply.size() != 5)
        return OPEN_WRONG_ANSWER;
    const std::uint8_t digit = reply[0];
    const std::uint8_t letter = reply[1];
    const std::uint8_t challenge = reply[2];
    const std::uint8_t end = reply[3];
    if ((end != 0x0D && end != 0x0A) || !isReplyDigit(digit) || letter < 'a' || letter > 'k')
        return OPEN_WRONG_ANSWER;
    kind = digit == '2' && letter == 'c' ? LINK_CONTROLLER : LINK_UNFRAMED;
    const std::uint8_t e = digit == '1' ? static_cast<std::uint8_t>(letter + 0x31) : letter;
    const auto echo = static_cast<std::uint8_t>(e - 0x20);
    answer = kind == LINK_UNFRAMED ? std::vector<std::uint8_t>{0x20, static_cast<std::uint8_t>(0xFF - challenge), echo}
                                   : std::vector<std::uint8_t>{0x20, echo};
    return OPEN_SUCCESS;
}

int SerialPort::checkFramedReply(const std::uint8_t* reply, std::size_t length)
{
    if (length < 4)
        return OPEN_NO_ANSWER;
    if (reply[2] != 0x0D || reply[3] != 0x0A || !isFramedKind(reply[0]))
        return OPEN_WRONG_ANSWER;
    return OPEN_SUCCESS;
}

int SerialPort::checkWirelessReply(const std::uint8_t* reply, std::size_t length)
{
    if (length == 0)
        return OPEN_NO_ANSWER;
    if (!isFramedKind(reply[0]))
        return OPEN_WRONG_KIND;
    // A reply too short to hold CR LF does not end with them either.
    if (length < 4 || reply[2] != 0x0D || reply[3] != 0x0A)
        return OPEN_NO_CRLF;
    return OPEN_SUCCESS;
}

int SerialPort::readUntil(std::size_t count, std::uint32_t milliseconds)
{
    Stopwatch wait;
    while (readData.size() < count) {
        if (readPending() < 0)
            return -1;
        if (readData.size() >= count || wait.elapsed() >= milliseconds)
            break;
        stationClock().sleep(1);
    }
    return 0;
}

// ---- opening a wireless manikin -------------------------------------------

int SerialPort::openWireless(int port)
{
    if (storePortNumber(port) != OPEN_SUCCESS)
        return lastOpenResult = OPEN_PORT_NOT_AVAILABLE;
    if (connected)
        return lastOpenResult = OPEN_ALREADY_OPEN;
    linkType = LINK_CLOSED;
    auto client = std::make_unique<platform::TcpClient>();
    if (!client->connect(ipAddress, WIRELESS_TCP_PORT))
        return lastOpenResult = OPEN_NO_ANSWER;
    client->setReceiveTimeout(WIRELESS_RECEIVE_TIMEOUT_MS);
    client->setNoDelay(true);
    socket = std::move(client);
    connected = true;
    const int result = wirelessHandshake();
    if (result != OPEN_SUCCESS) {
        socket->shutdownAndClose();
        releaseAfterFailedOpen();
    }
    return lastOpenResult = result;
}

int SerialPort::wirelessHandshake()
{
    if (!socket || !socket->isOpen())
        return OPEN_NO_ANSWER;
    socket->send(FAREWELL_FRAME.data(), FAREWELL_FRAME.size());
    stationClock().sleep(WIRELESS_STEP_MS);
    socket->send(QUESTION.data(), QUESTION.size());
    stationClock().sleep(WIRELESS_STEP_MS);

    std::array<std::uint8_t, RECEIVE_BUFFER_SIZE> reply{};
    const long received = socket->receive(reply.data(), static_cast<std::size_t>(receiveBufferSize));
    if (received <= 0)
        return OPEN_NO_ANSWER;
    const int checked = checkWirelessReply(reply.data(), static_cast<std::size_t>(received));
    if (checked != OPEN_SUCCESS)
        return checked;
    takeKind(reply[0]);
    const auto answer = challengeAnswer(reply[1]);
    socket->send(answer.data(), answer.size());
    linkType = LINK_WIRELESS;
    socket->setNonBlocking();
    // The idle rule counts from the moment the manikin was identified.
    idleWatch.restart();
    return OPEN_SUCCESS;
}

// ---- closing ----------------------------------------------------------------

bool SerialPort::close()
{
    linkType = LINK_CLOSED;
    if (isWirelessPortNumber(portNumber))
        return closeWireless();
    return closeCom();
}

bool SerialPort::closeWireless()
{
    connected = false;
    if (!socket)
        return true;
    const bool closed = socket->shutdownAndClose();
    socket.reset();
    return closed;
}

bool SerialPort::closeCom()
{
    if (!handle)
        return true;
    if (!connected) {
        // Nothing was ever identified on it: no one to take leave of.
        const bool closed = handle->close();
        handle.reset();
        return closed;
    }
    if (!writeSerial(FAREWELL_FRAME))
        return false;
    // Every way out gives the device back; only the result tells how it went.
    const bool lowered = handle->setModemControl(false, false);
    const bool closed = handle->close();
    handle.reset();
    connected = false;
    return lowered && closed;
}

// ---- reading ----------------------------------------------------------------

int SerialPort::readPending()
{
    if (!connected || isRecordedDataPort())
        return 0;
    const int added = isWirelessPortNumber(portNumber) ? readTcpPending() : readComPending();
    if (added < 0)
        readError = true;
    return added;
}

int SerialPort::readComPending()
{
    if (!handle)
        return 0;
    if (readBuffer.empty())
        readBuffer.resize(READ_BUFFER_SIZE);
    int total = 0;
    for (;;) {
        const long n = handle->read(readBuffer.data(), readBuffer.size());
        if (n < 0)
            return -1;
        if (n == 0)
            return total;
        readData.insert(readData.end(), readBuffer.begin(), readBuffer.begin() + n);
        total += static_cast<int>(n);
    }
}

int SerialPort::readTcpPending()
{
    // A socket already given up after silence reads as nothing.
    if (!socket || !socket->isOpen())
        return 0;
    int total = 0;
    std::array<std::uint8_t, RECEIVE_BUFFER_SIZE> buffer{};
    for (;;) {
        const long waiting = socket->bytesAvailable();
        if (waiting > 0) {
            const long n = socket->receive(buffer.data(), static_cast<std::size_t>(receiveBufferSize));
            if (n < 0) {
                linkType = LINK_LOST;
                return -1;
            }
            readData.insert(readData.end(), buffer.begin(), buffer.begin() + n);
            idleWatch.restart();
            total += static_cast<int>(n);
            continue;
        }
        if (waiting < 0) {
            linkType = LINK_LOST;
            return -1;
        }
        if (total == 0 && idleWatch.elapsed() > IDLE_LIMIT_MS) {
            linkType = LINK_LOST;
            socket->shutdownAndClose();
            idleWatch.restart();
            return -1;
        }
        return total;
    }
}

int SerialPort::flushInput()
{
    const int added = readPending();
    if (added >= 0)
        readData.clear();
    return added;
}

std::uint8_t SerialPort::peekByte(std::size_t index)
{
    readPending();
    KOVA_ASSERT(readData.size() > index);
    return index < readData.size() ? readData[index] : 0;
}

// ---- writing ----------------------------------------------------------------

bool SerialPort::writeSerial(const std::uint8_t* bytes, std::size_t length)
{
    KOVA_ASSERT(connected);
    if (!connected || !handle)
        return false;
    std::size_t written = 0;
    for (int step = 0;; ++step) {
        const long n = handle->write(bytes + written, length - written);
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

bool SerialPort::sendTcp(const std::vector<std::uint8_t>& bytes)
{
    const long sent = socket ? socket->send(bytes.data(), bytes.size()) : -1;
    if (sent != static_cast<long>(bytes.size())) {
        linkType = LINK_LOST;
        return false;
    }
    return true;
}

bool SerialPort::sendFrame(int command, const std::vector<std::uint8_t>& payload)
{
    const auto bytes = CommUtil::frame(command, payload);
    if (linkType == LINK_FRAMED_COM)
        return writeSerial(bytes);
    if (linkType == LINK_WIRELESS)
        return sendTcp(bytes);
    return false;
}

bool SerialPort::requestDataStreams()
{
    static constexpr std::uint8_t streams[] = {2, 1};
    for (const std::uint8_t stream : streams) {
        const auto bytes = CommUtil::frame(COMMAND_REQUEST, {stream, 0});
        const bool sent = isWirelessPortNumber(portNumber)
            ? socket && socket->send(bytes.data(), bytes.size()) == static_cast<long>(bytes.size())
            : writeSerial(bytes);
        if (!sent)
            return false;
        stationClock().sleep(STREAM_REQUEST_MS);
    }
    return true;
}

void SerialPort::requestBatteryLevel()
{
    sendFrame(COMMAND_REQUEST, {COMMAND_BATTERY_LEVEL, 0});
}

void SerialPort::setEcgRhythms(std::uint8_t currentRhythm, std::uint8_t nextRhythm)
{
    sendFrame(COMMAND_ECG_RHYTHMS, {currentRhythm, nextRhythm});
}

void SerialPort::setDefibrillationEffect(std::uint8_t effect)
{
    defibrillationEffect = effect;
    sendFrame(COMMAND_DEFIBRILLATION, {effect});
}

void SerialPort::sendCommand24(bool on)
{
    const std::uint8_t value = on ? 1 : 0;
    if (linkType == LINK_FRAMED_COM) {
        writeSerial(CommUtil::frame(COMMAND_24, {value}));
        command24Flag = on;
    } else if (linkType == LINK_WIRELESS && sendTcp(CommUtil::frame(COMMAND_24, {value}))) {
        command24Flag = on;
    }
}

void SerialPort::setEcgArtefacts(std::uint8_t artefactBits)
{
    sendFrame(COMMAND_ECG_ARTEFACTS, {artefactBits});
}

void SerialPort::setPulse(bool on)
{
    sendFrame(COMMAND_PULSE, {static_cast<std::uint8_t>(on ? 1 : 0)});
}

void SerialPort::sendCommand32()
{
    if (linkType == LINK_WIRELESS)
        sendTcp(CommUtil::frame(COMMAND_32, {1}));
}

// ---- liveness ---------------------------------------------------------------

bool SerialPort::isAlive()
{
    if (!connected)
        return false;
    if (isRecordedDataPort())
        return true;
    if (linkType == LINK_LOST)
        return false;
    if (linkType == LINK_WIRELESS)
        return true;
    if (readError)
        return recoverAfterReadError();
    bool cts = false;
    if (!handle || !handle->modemStatus(cts))
        return false;
    return linkType == LINK_FRAMED_COM || cts;
}

bool SerialPort::recoverAfterReadError()
{
    // Drop and raise the modem lines, as a device that lost power would see
    // it, and ask the device who it is again.
    if (!handle || !handle->setModemControl(false, false)) {
        connected = false;
        return false;
    }
    stationClock().sleep(50);
    if (!handle->setModemControl(true, true)) {
        connected = false;
        return false;
    }
    readError = false;
    int result = asciiHandshake();
    if (result != OPEN_SUCCESS)
        result = framedHandshake();
    return result == OPEN_SUCCESS;
}

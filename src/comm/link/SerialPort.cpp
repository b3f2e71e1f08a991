#include "comm/link/SerialPort.h"

#include "Rodezir/LogStream.h"
#include "comm/link/ComTransport.h"
#include "comm/link/CommUtil.h"
#include "comm/link/LinkEnvironment.h"
#include "comm/link/RecordedDataTransport.h"
#include "comm/link/WirelessTransport.h"

#include <cstdlib>
#include <cstring>

namespace {

constexpr std::uint32_t STREAM_REQUEST_MS = 50;

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

bool isReplyDigit(std::uint8_t byte)
{
    return byte >= '1' && byte <= '9';
}

bool isFramedKind(std::uint8_t kind)
{
    return kind == 1 || kind == 3 || kind == 4;
}

} // namespace

SerialPort::SerialPort() = default;

SerialPort::~SerialPort()
{
    close();
}

void SerialPort::reset()
{
    transport.reset();
    portNumber = NO_PORT;
    state.connected = false;
    lastOpenResult = OPEN_SUCCESS;
    defibrillationEffect = 1;
    command24Flag = false;
    pulseOn = false;
    ipAddress = 0;
    state.readError = false;
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
    transport = std::make_unique<RecordedDataTransport>(port);
}

void SerialPort::setCalibrationOffsets(int compression, int ventilation)
{
    state.calibrationOffsets = {compression, ventilation};
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

// ---- opening and identifying ----------------------------------------------------

int SerialPort::open(int port)
{
    if (storePortNumber(port) != OPEN_SUCCESS)
        return lastOpenResult = OPEN_PORT_NOT_AVAILABLE;
    if (isRecordedDataPort()) {
        state.connected = true;
        selectRecordedData(portNumber);
        return lastOpenResult = OPEN_SUCCESS;
    }
    return lastOpenResult = openWith(std::make_unique<ComTransport>(state, portNumber));
}

int SerialPort::openWireless(int port)
{
    if (storePortNumber(port) != OPEN_SUCCESS)
        return lastOpenResult = OPEN_PORT_NOT_AVAILABLE;
    return lastOpenResult = openWith(std::make_unique<WirelessTransport>(state, ipAddress));
}

int SerialPort::openWith(std::unique_ptr<LinkTransport> opened)
{
    if (state.connected)
        return OPEN_ALREADY_OPEN;
    state.linkType = LINK_CLOSED;
    transport = std::move(opened);
    const int result = transport->open();
    if (result != OPEN_SUCCESS) {
        // A device that could not be identified is given back at once: it must
        // not stay open (or count as connected) under a link that does not work.
        transport.reset();
        state.connected = false;
        state.linkType = LINK_CLOSED;
        readData.clear();
    }
    return result;
}

int SerialPort::identify()
{
    return identifySteps().runToEnd();
}

LinkSteps SerialPort::identifySteps()
{
    if (transport)
        return transport->identifySteps();
    return LinkSteps::finished(isWirelessPortNumber(portNumber) ? OPEN_NO_ANSWER : OPEN_STATE_FAILED);
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

// ---- closing ----------------------------------------------------------------

bool SerialPort::close()
{
    state.linkType = LINK_CLOSED;
    if (!transport) {
        if (isWirelessPortNumber(portNumber))
            state.connected = false;
        return true;
    }
    const bool closed = transport->close();
    if (!transport->isOpen())
        transport.reset();
    return closed;
}

bool SerialPort::release()
{
    const bool closed = close();
    // What close kept is dropped: the transport gives its device back when it goes.
    transport.reset();
    state.connected = false;
    return closed;
}

// ---- reading ----------------------------------------------------------------

int SerialPort::readPending()
{
    if (!state.connected || !transport)
        return 0;
    return transport->readPending();
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
    KOVA_ASSERT(state.connected);
    if (!state.connected || !transport)
        return false;
    return transport->writeSerial(bytes, length);
}

bool SerialPort::sendFrame(int command, const std::vector<std::uint8_t>& payload)
{
    const auto bytes = CommUtil::frame(command, payload);
    if (state.linkType == LINK_FRAMED_COM)
        return writeSerial(bytes);
    if (state.linkType != LINK_WIRELESS)
        return false;
    // A wireless manikin that takes a frame only in part is gone.
    if (!transport || !transport->send(bytes)) {
        state.linkType = LINK_LOST;
        return false;
    }
    return true;
}

bool SerialPort::requestDataStreams()
{
    return requestDataStreamsSteps().runToEnd() != 0;
}

LinkSteps SerialPort::requestDataStreamsSteps()
{
    static constexpr std::uint8_t streams[] = {2, 1};
    for (const std::uint8_t stream : streams) {
        const auto bytes = CommUtil::frame(COMMAND_REQUEST, {stream, 0});
        const bool sent = isWirelessPortNumber(portNumber) ? transport && transport->send(bytes) : writeSerial(bytes);
        if (!sent)
            co_return 0;
        co_await LinkSteps::wait(STREAM_REQUEST_MS);
    }
    co_return 1;
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
    // A COM manikin counts as told whatever the write gave; a wireless one
    // only when the whole frame went out.
    const bool framedCom = state.linkType == LINK_FRAMED_COM;
    if (sendFrame(COMMAND_24, {static_cast<std::uint8_t>(on ? 1 : 0)}) || framedCom)
        command24Flag = on;
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
    if (state.linkType == LINK_WIRELESS)
        sendFrame(COMMAND_32, {1});
}

// ---- liveness ---------------------------------------------------------------

bool SerialPort::isAlive()
{
    return state.connected && transport && transport->isAlive();
}

#include "comm/reader/FrameParser.h"

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

namespace {

constexpr std::size_t HEADER_SIZE = 4;

// Commands the manikin sends.
enum Command {
    COMPRESSION = 1,
    VENTILATION = 2,
    STOMACH_INFLATION = 5,
    HAND_POSITION = 9,
    BATTERY_LEVEL = 21,
    ECG = 25,
    ALL_CHANNELS = 26,
    SIGNAL_66 = 29,
};

constexpr int STOMACH = 0x0C;
constexpr int HAND = 0xCC;
constexpr int BOTH = 0x8C;

struct StatusRow {
    int before;
    int stomachOn, stomachOff, handOn, handOff;
};

// The two conditions combine into one status code. A report that a condition
// still holds keeps the other one: with both present, a repeated "stomach
// inflation" or "wrong hand position" leaves the combined code as it is.
constexpr std::array<StatusRow, 4> STATUS_TABLE{{
    {0, STOMACH, 0, HAND, 0},
    {STOMACH, STOMACH, 0, BOTH, 0},
    {HAND, BOTH, HAND, HAND, 0},
    {BOTH, BOTH, HAND, BOTH, STOMACH},
}};
constexpr StatusRow OTHER_STATUS{-1, STOMACH, 0, HAND, 0};

enum class FrameScan { Complete, Incomplete, Broken };

// Finds the extent of the COM frame at the front of the queue and unstuffs its
// payload. A lone start byte inside the payload means the frame was cut short
// and a new one begins there.
FrameScan scanComFrame(const std::deque<std::uint8_t>& bytes, std::vector<std::uint8_t>& payload,
                       std::size_t& frameSize)
{
    const std::size_t length = bytes[3];
    payload.clear();
    std::size_t pos = HEADER_SIZE;
    while (payload.size() < length) {
        if (pos >= bytes.size())
            return FrameScan::Incomplete;
        const std::uint8_t byte = bytes[pos];
        if (byte != FrameParser::START_BYTE) {
            payload.push_back(byte);
            ++pos;
            continue;
        }
        if (pos + 1 >= bytes.size())
            return FrameScan::Incomplete;
        if (bytes[pos + 1] != FrameParser::START_BYTE)
            return FrameScan::Broken;
        payload.push_back(FrameParser::START_BYTE);
        pos += 2;
    }
    frameSize = pos;
    return FrameScan::Complete;
}

// Drops bytes up to the next start byte. After a dropped byte a doubled start
// byte is a stuffed data byte of a frame we joined in the middle, not a start.
void skipToComStart(std::deque<std::uint8_t>& bytes)
{
    while (!bytes.empty() && bytes.front() != FrameParser::START_BYTE) {
        bytes.pop_front();
        if (bytes.size() >= 2 && bytes[0] == FrameParser::START_BYTE && bytes[1] == FrameParser::START_BYTE)
            bytes.erase(bytes.begin(), bytes.begin() + 2);
    }
}

void skipToStart(std::deque<std::uint8_t>& bytes)
{
    while (!bytes.empty() && bytes.front() != FrameParser::START_BYTE)
        bytes.pop_front();
}

// A battery report answers a question of the station: the manikin sent no
// sample with it.
bool carriesSample(int command)
{
    return command != BATTERY_LEVEL;
}

int commandOf(const std::deque<std::uint8_t>& bytes)
{
    return bytes[1] + 256 * bytes[2];
}

} // namespace

bool FrameParser::isRecordStatus(std::uint8_t byte)
{
    static constexpr std::array<std::uint8_t, 7> valid{0x0C, 0x1C, 0x4C, 0x8C, 0x9C, 0xCC, 0xDC};
    return std::find(valid.begin(), valid.end(), byte) != valid.end();
}

int FrameParser::statusAfter(int command, bool on, int before)
{
    const auto found = std::find_if(STATUS_TABLE.begin(), STATUS_TABLE.end(),
                                    [before](const StatusRow& row) { return row.before == before; });
    const StatusRow& row = found != STATUS_TABLE.end() ? *found : OTHER_STATUS;
    if (command == STOMACH_INFLATION)
        return on ? row.stomachOn : row.stomachOff;
    return on ? row.handOn : row.handOff;
}

int FrameParser::ecgValue(std::uint8_t byte, bool wireless)
{
    if (!wireless)
        return byte;
    return byte > 30 ? byte - 30 : 0;
}

std::optional<int> FrameParser::takeBatteryLevel()
{
    return std::exchange(batteryLevel_, std::nullopt);
}

bool FrameParser::hasValues() const
{
    return currentSample_.compression != -1 && currentSample_.ventilation != -1;
}

bool FrameParser::handle(int command, std::span<const std::uint8_t> payload, bool wireless)
{
    // A frame too short for its command is read as one we do not know.
    static constexpr std::array<std::pair<int, std::size_t>, 8> needed{{
        {COMPRESSION, 1}, {VENTILATION, 1}, {STOMACH_INFLATION, 1}, {HAND_POSITION, 1},
        {BATTERY_LEVEL, 1}, {ECG, 1}, {ALL_CHANNELS, 3}, {SIGNAL_66, 0},
    }};
    const auto known = std::find_if(needed.begin(), needed.end(),
                                    [command](const auto& entry) { return entry.first == command; });
    if (known == needed.end() || payload.size() < known->second)
        return false;

    switch (command) {
    case COMPRESSION:
        currentSample_.compression = payload[0];
        break;
    case VENTILATION:
        currentSample_.ventilation = payload[0];
        break;
    case STOMACH_INFLATION:
    case HAND_POSITION:
        currentSample_.error = statusAfter(command, payload[0] != 0, currentSample_.error);
        break;
    case BATTERY_LEVEL:
        batteryLevel_ = payload[0];
        break;
    case ECG:
        currentSample_.ecg = ecgValue(payload[0], wireless);
        break;
    case ALL_CHANNELS:
        currentSample_.ventilation = payload[0];
        currentSample_.compression = payload[1];
        currentSample_.ecg = ecgValue(payload[2], wireless);
        break;
    case SIGNAL_66:
        if (kindIs3_)
            currentSample_.error = STATUS_ERROR66;
        break;
    }
    return true;
}

void FrameParser::queueCurrent()
{
    sampleQueue_.push_back(currentSample_);
    ++receivedCount_;
    // The command-29 status belongs to one sample only.
    if (currentSample_.error == STATUS_ERROR66)
        currentSample_.error = 0;
}

void FrameParser::forgetValues()
{
    currentSample_ = NO_VALUES;
    passPending_ = true;
    batteryLevel_.reset();
}

void FrameParser::queueSample(const ManikinSample& sample)
{
    sampleQueue_.push_back(sample);
    ++receivedCount_;
}

bool FrameParser::finishPass(bool handled)
{
    if (!hasValues())
        return false;
    passPending_ = false;
    return handled;
}

bool FrameParser::comPass(std::deque<std::uint8_t>& bytes, bool final)
{
    if (!passPending_ && !final)
        return false;
    bool handled = false;
    std::vector<std::uint8_t> payload;
    while (bytes.size() >= HEADER_SIZE) {
        skipToComStart(bytes);
        if (bytes.size() < HEADER_SIZE)
            break;
        std::size_t frameSize = 0;
        const FrameScan scan = scanComFrame(bytes, payload, frameSize);
        if (scan == FrameScan::Incomplete)
            break; // the rest of the frame comes with a later read
        if (scan == FrameScan::Broken) {
            bytes.pop_front();
            continue;
        }
        const int command = commandOf(bytes);
        bytes.erase(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(frameSize));
        if (!handle(command, payload, false))
            continue;
        handled = true;
        if (final)
            break;
        if (carriesSample(command))
            queueCurrent();
    }
    // A measurement pass ends with one sample of the values its frame
    // brought. An ordinary pass queues only what the manikin sent: a tick
    // without a frame gives no sample, or a silent manikin would be recorded
    // as holding its last values.
    if (final)
        queueCurrent();
    return finishPass(handled);
}

bool FrameParser::wirelessPass(std::deque<std::uint8_t>& bytes, bool final)
{
    if (!passPending_ && !final)
        return false;
    bool handled = false;
    while (bytes.size() >= HEADER_SIZE) {
        skipToStart(bytes);
        if (bytes.size() < HEADER_SIZE)
            break;
        const std::size_t frameSize = HEADER_SIZE + bytes[3];
        if (bytes.size() < frameSize)
            break;
        const int command = commandOf(bytes);
        const std::vector<std::uint8_t> framePayload(bytes.begin() + HEADER_SIZE,
                                                     bytes.begin() + static_cast<std::ptrdiff_t>(frameSize));
        // The whole frame goes, so a 0x7E in its payload never starts a frame.
        bytes.erase(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(frameSize));
        if (!handle(command, framePayload, true))
            continue;
        handled = true;
        if (final)
            break;
        if (carriesSample(command))
            queueCurrent();
    }
    return finishPass(handled);
}

FrameParser::RecordStep FrameParser::takeRecord(std::deque<std::uint8_t>& bytes)
{
    if (bytes.size() < HEADER_SIZE)
        return RecordStep::TooFew;
    // The record ends with CR; checking it before taking anything keeps a
    // record that follows a stray status-like byte.
    if (!isRecordStatus(bytes[0]) || bytes[3] != RECORD_END)
        return RecordStep::OutOfStep;
    ManikinSample sample;
    sample.error = bytes[0];
    sample.ventilation = bytes[1];
    sample.compression = bytes[2];
    sample.ecg = 0; // the unframed format carries no ECG
    bytes.erase(bytes.begin(), bytes.begin() + HEADER_SIZE);
    sampleQueue_.push_back(sample);
    ++receivedCount_;
    return RecordStep::Taken;
}

FrameParser::SyncStep FrameParser::syncStep(std::deque<std::uint8_t>& bytes)
{
    if (bytes.size() < HEADER_SIZE)
        return SyncStep::TooFew;
    if (isRecordStatus(bytes[0]) && bytes[3] == RECORD_END)
        return SyncStep::Synced;
    bytes.pop_front();
    return SyncStep::Dropped;
}

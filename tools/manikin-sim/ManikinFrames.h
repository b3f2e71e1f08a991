#pragma once
// The bytes a manikin sends: frames (0x7E, command low, command high, length,
// payload; on a COM link every payload 0x7E doubled) and the 4-byte records
// of the older manikins (status, ventilation, compression, CR).

#include "manikin-sim/PerformanceGenerator.h"

#include <cstdint>
#include <vector>

namespace manikinsim {

enum ManikinCommand : int {
    CMD_COMPRESSION = 1,
    CMD_VENTILATION = 2,
    CMD_STOMACH_INFLATION = 5,
    CMD_WRONG_HAND_POSITION = 9,
    CMD_REQUEST = 13,
    CMD_BATTERY_LEVEL = 21,
    CMD_ECG_RHYTHMS = 22,
    CMD_DEFIBRILLATION = 23,
    CMD_24 = 24,
    CMD_ECG = 25,
    CMD_SAMPLE = 26,
    CMD_ECG_ARTEFACTS = 27,
    CMD_PULSE = 28,
    CMD_29 = 29,
    CMD_32 = 32,
    CMD_OPEN_CLOSE = 32775,
};

// Status bytes of the unframed records.
inline constexpr std::uint8_t RECORD_STATUS_NORMAL = 0x4C;
inline constexpr std::uint8_t RECORD_STATUS_STOMACH = 0x0C;
inline constexpr std::uint8_t RECORD_STATUS_WRONG_HAND = 0xCC;
inline constexpr std::uint8_t RECORD_STATUS_BOTH = 0x8C;

// Status bytes of the recorded demonstration data.
inline constexpr std::uint8_t RECORDED_STATUS_NORMAL = 92;

std::vector<std::uint8_t> encodeFrame(int command, const std::vector<std::uint8_t>& payload, bool stuffed);

// One 4-byte record of an unframed manikin.
std::vector<std::uint8_t> encodeRecord(const PerformanceSample& sample);

// The status byte of a sample: the record codes above for an unframed
// manikin; the recorded data use the same codes with 92 as normal.
std::uint8_t recordStatus(const PerformanceSample& sample);
std::uint8_t recordedStatus(const PerformanceSample& sample);

// Turns samples into frames, one frame per sample: a status frame (5 or 9)
// when a status flag changed, else a sample frame (26). A wireless manikin
// sends its ECG 30 higher and does not double 0x7E.
class FrameEncoder {
public:
    explicit FrameEncoder(bool wireless)
        : wireless_(wireless)
    {
    }
    std::vector<std::uint8_t> encode(const PerformanceSample& sample);

private:
    bool wireless_;
    bool stomach_ = false;
    bool wrongHand_ = false;
};

// A frame received from the station.
struct ReceivedFrame {
    int command = 0;
    std::vector<std::uint8_t> payload;
    bool operator==(const ReceivedFrame&) const = default;
};

} // namespace manikinsim

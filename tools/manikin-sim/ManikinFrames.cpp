#include "manikin-sim/ManikinFrames.h"

#include <algorithm>

namespace manikinsim {

std::vector<std::uint8_t> encodeFrame(int command, const std::vector<std::uint8_t>& payload, bool stuffed)
{
    const std::size_t length = std::min<std::size_t>(payload.size(), 255);
    std::vector<std::uint8_t> bytes;
    bytes.reserve(4 + 2 * length);
    bytes.push_back(0x7E);
    bytes.push_back(static_cast<std::uint8_t>(command & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>((command >> 8) & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(length));
    for (std::size_t i = 0; i < length; ++i) {
        bytes.push_back(payload[i]);
        if (stuffed && payload[i] == 0x7E)
            bytes.push_back(0x7E);
    }
    return bytes;
}

std::uint8_t recordStatus(const PerformanceSample& sample)
{
    if (sample.stomachInflation && sample.wrongHandPosition)
        return RECORD_STATUS_BOTH;
    if (sample.stomachInflation)
        return RECORD_STATUS_STOMACH;
    if (sample.wrongHandPosition)
        return RECORD_STATUS_WRONG_HAND;
    return RECORD_STATUS_NORMAL;
}

std::uint8_t recordedStatus(const PerformanceSample& sample)
{
    const std::uint8_t status = recordStatus(sample);
    return status == RECORD_STATUS_NORMAL ? RECORDED_STATUS_NORMAL : status;
}

std::vector<std::uint8_t> encodeRecord(const PerformanceSample& sample)
{
    return {recordStatus(sample), static_cast<std::uint8_t>(sample.ventilation),
            static_cast<std::uint8_t>(sample.compression), 0x0D};
}

std::vector<std::uint8_t> FrameEncoder::encode(const PerformanceSample& sample)
{
    const bool stuffed = !wireless_;
    if (sample.stomachInflation != stomach_) {
        stomach_ = sample.stomachInflation;
        return encodeFrame(CMD_STOMACH_INFLATION, {static_cast<std::uint8_t>(stomach_ ? 1 : 0)}, stuffed);
    }
    if (sample.wrongHandPosition != wrongHand_) {
        wrongHand_ = sample.wrongHandPosition;
        return encodeFrame(CMD_WRONG_HAND_POSITION, {static_cast<std::uint8_t>(wrongHand_ ? 1 : 0)}, stuffed);
    }
    const int ecg = wireless_ ? std::min(255, sample.ecg + 30) : sample.ecg;
    return encodeFrame(CMD_SAMPLE,
                       {static_cast<std::uint8_t>(sample.ventilation), static_cast<std::uint8_t>(sample.compression),
                        static_cast<std::uint8_t>(ecg)},
                       stuffed);
}

} // namespace manikinsim

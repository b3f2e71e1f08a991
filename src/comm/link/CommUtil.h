#pragma once
// Byte helpers of the frame protocol: command numbers travel low byte first.

#include <cstdint>
#include <vector>

class CommUtil {
public:
    static constexpr std::uint8_t FRAME_START = 0x7E;

    // number % 256 and number / 256; a number above 65535 is reported to the
    // error log and split all the same.
    static std::uint8_t lowByte(int number);
    static std::uint8_t highByte(int number);

    // One frame: 0x7E, command low and high byte, payload length, payload.
    // A payload longer than 255 bytes is reported and cut to 255.
    static std::vector<std::uint8_t> frame(int command, const std::vector<std::uint8_t>& payload = {});
};

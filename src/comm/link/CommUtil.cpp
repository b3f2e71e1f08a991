#include "comm/link/CommUtil.h"

#include "Rodezir/LogStream.h"

std::uint8_t CommUtil::lowByte(int number)
{
    KOVA_ASSERT(number <= 65535);
    return static_cast<std::uint8_t>(number % 256);
}

std::uint8_t CommUtil::highByte(int number)
{
    KOVA_ASSERT(number <= 65535);
    return static_cast<std::uint8_t>(number / 256);
}

std::vector<std::uint8_t> CommUtil::frame(int command, const std::vector<std::uint8_t>& payload)
{
    KOVA_ASSERT(payload.size() <= 255);
    const std::size_t length = payload.size() <= 255 ? payload.size() : 255;
    std::vector<std::uint8_t> bytes;
    bytes.reserve(4 + length);
    bytes.push_back(FRAME_START);
    bytes.push_back(lowByte(command));
    bytes.push_back(highByte(command));
    bytes.push_back(static_cast<std::uint8_t>(length));
    for (std::size_t i = 0; i < length; ++i)
        bytes.push_back(payload[i]);
    return bytes;
}

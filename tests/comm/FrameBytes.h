#pragma once
// Builds the bytes a manikin sends: frames (with 0x7E doubled on COM links)
// and unframed records.

#include <cstdint>
#include <initializer_list>
#include <vector>

namespace framebytes {

using Bytes = std::vector<std::uint8_t>;

inline Bytes frame(int command, std::initializer_list<std::uint8_t> payload, bool stuffed)
{
    Bytes bytes{0x7E, static_cast<std::uint8_t>(command & 0xFF), static_cast<std::uint8_t>(command >> 8),
                static_cast<std::uint8_t>(payload.size())};
    for (std::uint8_t byte : payload) {
        bytes.push_back(byte);
        if (stuffed && byte == 0x7E)
            bytes.push_back(0x7E);
    }
    return bytes;
}

inline Bytes com(int command, std::initializer_list<std::uint8_t> payload)
{
    return frame(command, payload, true);
}

inline Bytes wireless(int command, std::initializer_list<std::uint8_t> payload)
{
    return frame(command, payload, false);
}

inline Bytes record(std::uint8_t status, std::uint8_t ventilation, std::uint8_t compression)
{
    return {status, ventilation, compression, 0x0D};
}

inline Bytes join(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

} // namespace framebytes

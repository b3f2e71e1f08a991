#pragma once
// An address in the hand-held controller's memory: a bank and a 16-bit
// offset inside it, kept as the three bytes the packet link sends.

#include <cstdint>

struct CPBAdr {
    std::uint8_t bank = 0;
    std::uint8_t high = 0;
    std::uint8_t low = 0;

    constexpr CPBAdr() = default;
    constexpr CPBAdr(std::uint8_t bankByte, std::uint8_t highByte, std::uint8_t lowByte)
        : bank(bankByte)
        , high(highByte)
        , low(lowByte)
    {
    }

    // The offset within the bank.
    constexpr int getAdr() const { return high * 256 + low; }

    // n bytes further on in the same bank; the offset wraps at 65536.
    constexpr CPBAdr operator+(int n) const
    {
        const int offset = ((getAdr() + n) % 65536 + 65536) % 65536;
        return {bank, static_cast<std::uint8_t>(offset / 256), static_cast<std::uint8_t>(offset % 256)};
    }

    constexpr bool operator==(const CPBAdr&) const = default;
};

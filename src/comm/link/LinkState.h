#pragma once
// What a manikin link knows of the device on its other end, shared by the
// SerialPort and the transport that carries it: whether the link is open,
// what answered, the manikin's kind and rest offsets, and every byte received.

#include <array>
#include <cstdint>
#include <deque>

struct LinkState {
    explicit LinkState(std::deque<std::uint8_t>& received) : readData(received) {}
    LinkState(const LinkState&) = delete;
    LinkState& operator=(const LinkState&) = delete;

    // Takes the kind byte of a framed or wireless handshake reply.
    void takeKind(std::uint8_t kind)
    {
        kindIs3or4 = kind == 3 || kind == 4;
        kindIs3 = kind == 3;
        // The newer manikins calibrate themselves: their counts start at zero.
        if (kindIs3or4)
            calibrationOffsets = {0, 0};
    }

    std::deque<std::uint8_t>& readData;
    std::array<int, 2> calibrationOffsets{};
    int linkType = 0;
    bool connected = false;
    bool kindIs3or4 = false;
    bool kindIs3 = false;
    // The last read failed; a COM link tries to recover at the next liveness check.
    bool readError = false;
};

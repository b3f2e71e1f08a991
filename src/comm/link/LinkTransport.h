#pragma once
// One way of reaching a manikin under a SerialPort: a COM port, a TCP
// connection to a wireless manikin, or the replay of recorded data. A
// transport opens and identifies the device and moves bytes; what it learns
// goes into the link's shared state.

#include "comm/link/LinkSteps.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

class CollectedDataSet;

class LinkTransport {
public:
    // Command 32775 without payload: wakes a framed manikin before its
    // handshake and takes leave of it when a COM port closes.
    static constexpr std::array<std::uint8_t, 4> FAREWELL_FRAME = {0x7E, 0x07, 0x80, 0x00};
    // The byte that asks a device who it is.
    static constexpr std::uint8_t QUESTION = '?';

    virtual ~LinkTransport() = default;

    // Opens the device and identifies it; a result code of SerialPort.
    virtual int open() = 0;
    // Identifies the device once more on the open link, step by step.
    virtual LinkSteps identifySteps() = 0;
    // As identifySteps, run to its end at once.
    int identify() { return identifySteps().runToEnd(); }
    // Gives the device back; false when that failed.
    virtual bool close() = 0;
    // Still holds its device: a close refused half-way keeps it, and a replay
    // has nothing to give back.
    virtual bool isOpen() const = 0;
    virtual bool isAlive() = 0;
    // Appends what has arrived to the link's readData: the bytes added, or -1
    // after a failed read (which the shared state remembers).
    virtual int readPending() = 0;

    // Writes bytes whole to a serial device; a link without one writes nothing.
    virtual bool writeSerial(const std::uint8_t* bytes, std::size_t length) { return false; }
    // Sends bytes in one call over a connection; false on a short send or an error.
    virtual bool send(const std::vector<std::uint8_t>& bytes) { return false; }
    // The data set a demonstration link replays.
    virtual const CollectedDataSet* recordedData() const { return nullptr; }
};

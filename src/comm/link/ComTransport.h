#pragma once
// A manikin link over a COM port: opens the serial device, identifies what
// answers by the ASCII handshake at 9600 baud or the framed one at 19200,
// reads and writes without blocking, and takes leave of the device at close.

#include "comm/link/LinkTransport.h"

#include <memory>
#include <vector>

struct LinkState;

namespace platform {
class SerialDevice;
} // namespace platform

class ComTransport final : public LinkTransport {
public:
    ComTransport(LinkState& state, int portNumber);
    ~ComTransport() override;

    int open() override;
    LinkSteps identifySteps() override;
    bool close() override;
    bool isOpen() const override { return device != nullptr; }
    bool isAlive() override;
    int readPending() override;
    bool writeSerial(const std::uint8_t* bytes, std::size_t length) override;

private:
    int portSettings(int baudRate, bool dtrOn, bool rtsOn);
    LinkSteps asciiHandshake();
    LinkSteps framedHandshake();
    // Reads until `count` bytes are queued or the time is up; -1 after a failed read.
    LinkSteps readUntil(std::size_t count, std::uint32_t milliseconds);
    bool write(const std::vector<std::uint8_t>& bytes) { return writeSerial(bytes.data(), bytes.size()); }
    bool recoverAfterReadError();

    LinkState& state;
    const int portNumber;
    std::unique_ptr<platform::SerialDevice> device;
    std::vector<std::uint8_t> readBuffer;
};

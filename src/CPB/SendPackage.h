#pragma once
// One request to the hand-held controller: a write of data bytes to an
// address, or a read of a number of bytes from one, framed with the sync
// byte and a checksum and written to the controller's port.

#include "CPB/CPBAdr.h"

#include <cstdint>
#include <vector>

class SerialPort;

class SendPackage {
public:
    static constexpr std::uint8_t SYNC = 0x55;
    static constexpr std::uint8_t WRITE = 1;
    static constexpr std::uint8_t READ = 2;

    // A write carries data (the length is its size); a read carries none and
    // asks for `length` bytes. The data and the port must outlive the package.
    SendPackage(std::uint8_t command, CPBAdr address, const std::vector<std::uint8_t>* data, SerialPort& port,
                int length = -1);

    // The request's bytes: sync, command, bank, high, low, length, for a
    // write a zero byte and the data, then the sum of all before modulo 256.
    std::vector<std::uint8_t> build() const;
    // Writes the request to the port; the result of that write.
    bool send();

    // The sum of the bytes modulo 256, the checksum of every package.
    static std::uint8_t checksum(const std::uint8_t* bytes, std::size_t count);

private:
    std::uint8_t command_;
    CPBAdr address_;
    const std::vector<std::uint8_t>* data_;
    SerialPort& port_;
    int length_;
};

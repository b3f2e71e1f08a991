// Feeds arbitrary received bytes to the controller package reader and the
// data-reply check. The first four bytes choose the read being answered
// (bank, high, low, length); the rest is what the port received.

#include "CPB/GetPackage.h"
#include "CPB/SendPackage.h"
#include "comm/link/SerialPort.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

std::uint8_t sum(const std::vector<std::uint8_t>& bytes, std::size_t count)
{
    return SendPackage::checksum(bytes.data(), count);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 4)
        return 0;
    const CPBAdr expected(data[0], data[1], data[2]);
    const int length = data[3] % 20;
    const std::uint8_t* received = data + 4;
    const std::size_t count = size - 4;

    // Read package after package until the reader finds nothing whole.
    SerialPort reader;
    reader.readData.assign(received, received + count);
    for (std::size_t round = 0; round <= count; ++round) {
        const std::size_t before = reader.readData.size();
        std::vector<std::uint8_t> package;
        const int result = GetPackage::read(reader, package);
        if (reader.readData.size() > before)
            __builtin_trap();
        if (result == GetPackage::COMPLETE || (result == GetPackage::OTHER_KIND && !package.empty())) {
            if (package.size() < 3 || package[0] != SendPackage::SYNC || package.back() != sum(package, package.size() - 1))
                __builtin_trap();
            if (package[1] == GetPackage::DATA && package.size() != package[5] + 7u)
                __builtin_trap();
        } else if (!package.empty()) {
            __builtin_trap();
        }
        if (result != GetPackage::COMPLETE && result != GetPackage::OTHER_KIND && result != GetPackage::CHECKSUM_ERROR)
            break;
        if (reader.readData.size() == before)
            break;
    }

    // The reply check answers a read of `length` bytes at `expected`.
    SerialPort checker;
    checker.readData.assign(received, received + count);
    std::vector<std::uint8_t> out = {0xEE};
    const int result = GetPackage::checkDataReply(expected, length, out, checker);
    if (result < 0 || result > 7 || result == 6)
        __builtin_trap();
    if (result == GetPackage::COMPLETE) {
        if (out.size() != static_cast<std::size_t>(length) + 1 || out.back() != 0xEE)
            __builtin_trap();
    } else if (out != std::vector<std::uint8_t>{0xEE}) {
        __builtin_trap();
    }
    const int acknowledged = waitForAck(checker);
    if (acknowledged != GetPackage::COMPLETE && acknowledged != GetPackage::INCOMPLETE)
        __builtin_trap();
    return 0;
}
